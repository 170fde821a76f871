#pragma once

#include <cstdint>

namespace quorvane::sampleday {

// A small seeded generator (xoshiro256**, seeded through splitmix64) with uniform and normal
// helpers written out here, so that the same seed gives the same day with every standard
// library: the std distributions may differ between library versions.
class Prng {
  public:
    explicit Prng(uint64_t seed) {
        for (uint64_t& word : state_) {
            seed += 0x9e3779b97f4a7c15ULL;
            word = mix(seed);
        }
    }

    // Two seeds joined into one, for streams of their own (per road, per detector).
    static uint64_t derive(uint64_t seed, uint64_t stream) { return mix(seed ^ mix(stream + 1)); }

    uint64_t next() {
        const uint64_t result = rotl(state_[1] * 5, 7) * 9;
        const uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = rotl(state_[3], 45);
        return result;
    }

    // Uniform in [0, 1).
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    double uniform(double low, double high) { return low + (high - low) * uniform(); }
    // Uniform whole number in [low, high].
    int uniformInt(int low, int high) {
        return low + static_cast<int>(uniform() * static_cast<double>(high - low + 1));
    }
    // Approximately standard normal: the sum of four uniforms, centred and scaled to unit
    // variance. Plain arithmetic only, so no math library can change a value.
    double normal() {
        const double sum = uniform() + uniform() + uniform() + uniform();
        return (sum - 2.0) * 1.7320508075688772;
    }

  private:
    static uint64_t rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    static uint64_t mix(uint64_t z) {
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

    uint64_t state_[4];
};

}  // namespace quorvane::sampleday
