#include "core/detector_health.h"

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "core/station_builder.h"

namespace quorvane {

namespace {

// A count strictly above `percent` of the slots of W, in whole numbers.
constexpr bool above(int count, int percent) {
    return 100 * count > percent * kHealthSlots;
}

}  // namespace

std::string_view statusText(HealthStatus status) {
    switch (status) {
        case HealthStatus::NoData:
            return "no data";
        case HealthStatus::InsufficientData:
            return "insufficient data";
        case HealthStatus::CardOff:
            return "card off";
        case HealthStatus::HighValues:
            return "high values";
        case HealthStatus::Intermittent:
            return "intermittent";
        case HealthStatus::Constant:
            return "constant";
        case HealthStatus::Good:
            break;
    }
    return "good";
}

namespace {

// Sixteen slots at a time, in the compilers' portable vector types (GCC and Clang): grading
// runs on every detector of every build, and the plain loop is not vectorised. A comparison
// yields -1 (true) or 0 in each lane; the volumes compare as bytes, the occupancies as four
// vectors of four floats whose results are narrowed to one byte per slot.
using Floats = float __attribute__((vector_size(16)));
using Ints = int32_t __attribute__((vector_size(16)));
using Bytes = uint8_t __attribute__((vector_size(16)));
using Flags = int8_t __attribute__((vector_size(16)));
constexpr int kLanes = 16;
constexpr int kVectorSlots = kHealthSlots / kLanes * kLanes;  // the rest slot by slot
// A lane's tally grows by at most one per step: it must not pass an int8_t.
static_assert(kVectorSlots / kLanes <= 127);

Floats loadFloats(const float* from) {
    Floats lanes;
    std::memcpy(&lanes, from, sizeof lanes);
    return lanes;
}

Bytes loadBytes(const uint8_t* from) {
    Bytes lanes;
    std::memcpy(&lanes, from, sizeof lanes);
    return lanes;
}

// `compare` at the offsets 0, 4, 8 and 12 of 16 slots (four floats each), one flag byte per slot
// in slot order. On x86 the narrowing is two packs; GCC's generic narrowing goes lane by lane.
template <class Compare>
Flags compareFloats(Compare compare) {
    const Ints m0 = compare(0), m1 = compare(4), m2 = compare(8), m3 = compare(12);
#ifdef __SSE2__
    return reinterpret_cast<Flags>(_mm_packs_epi16(
        _mm_packs_epi32(reinterpret_cast<__m128i>(m0), reinterpret_cast<__m128i>(m1)),
        _mm_packs_epi32(reinterpret_cast<__m128i>(m2), reinterpret_cast<__m128i>(m3))));
#else
    Flags flags;
    for (int i = 0; i < 4; ++i) {
        flags[i] = static_cast<int8_t>(m0[i]);
        flags[4 + i] = static_cast<int8_t>(m1[i]);
        flags[8 + i] = static_cast<int8_t>(m2[i]);
        flags[12 + i] = static_cast<int8_t>(m3[i]);
    }
    return flags;
#endif
}

int laneSum(Flags lanes) {
    int sum = 0;
    for (int i = 0; i < kLanes; ++i) {
        sum -= lanes[i];  // lanes of -1 per true
    }
    return sum;
}

// Running counts of W; a repeat is a sample above 0 equal to the slot before it, which is then
// a sample too (an equal value lies within the limits). A NaN compares false everywhere: it is
// no sample.
struct Tally {
    int samples = 0, zero = 0, high = 0, zeroVolume = 0, zeroOccupancy = 0, positive = 0;
};

void tallySlot(const uint8_t* volume, const float* occupancy, int k, Tally& tally,
               uint8_t& repeat) {
    const int v = volume[k];
    const float o = occupancy[k];
    const bool sample = v <= kMaxPlausibleVolume && o >= 0.0f && o <= kMaxPlausibleOccupancy;
    const bool isZero = sample && o == 0.0f;
    const bool isPositive = sample && o > 0.0f;
    tally.samples += sample;
    tally.zero += isZero;
    tally.high += sample && o > kHighOccupancy;
    tally.zeroVolume += isPositive && v == 0;
    tally.zeroOccupancy += isZero && v > 0;
    tally.positive += isPositive;
    repeat = isPositive && o == occupancy[k - 1] && volume[k - 1] <= kMaxPlausibleVolume;
}

// The counts of W but for the constant run's length, and in `repeats` whether each slot of W
// is a repeat.
void tallyWindow(const uint8_t* volume, const float* occupancy,
                 std::span<uint8_t, kHealthSlots> repeats, DetectorCounts& counts) {
    Flags samples{}, zero{}, high{}, zeroVolume{}, zeroOccupancy{}, positive{};
    for (int i = 0; i < kVectorSlots; i += kLanes) {
        const int k = kHealthFirstSlot + i;
        const float* o = occupancy + k;
        const Bytes v = loadBytes(volume + k);
        const Flags volumeZero = reinterpret_cast<Flags>(v == 0);
        const Flags sample =
            reinterpret_cast<Flags>(v <= kMaxPlausibleVolume) & compareFloats([o](int at) {
                const Floats x = loadFloats(o + at);
                return (x >= 0.0f) & (x <= kMaxPlausibleOccupancy);
            });
        const Flags occupancyZero =
            compareFloats([o](int at) { return loadFloats(o + at) == 0.0f; });
        const Flags isZero = sample & occupancyZero;
        const Flags isPositive = sample & ~occupancyZero;  // a sample is at least 0
        samples += sample;
        zero += isZero;
        high += sample & compareFloats([o](int at) { return loadFloats(o + at) > kHighOccupancy; });
        zeroVolume += isPositive & volumeZero;
        zeroOccupancy += isZero & ~volumeZero;
        positive += isPositive;
        const Flags repeat =
            isPositive & reinterpret_cast<Flags>(loadBytes(volume + k - 1) <= kMaxPlausibleVolume) &
            compareFloats([o](int at) { return loadFloats(o + at) == loadFloats(o + at - 1); });
        const Flags flags = repeat & 1;
        std::memcpy(repeats.data() + i, &flags, sizeof flags);
    }
    Tally tally{laneSum(samples),    laneSum(zero),          laneSum(high),
                laneSum(zeroVolume), laneSum(zeroOccupancy), laneSum(positive)};
    for (int i = kVectorSlots; i < kHealthSlots; ++i) {
        tallySlot(volume, occupancy, kHealthFirstSlot + i, tally, repeats[i]);
    }
    counts.samples = tally.samples;
    counts.implausible = kHealthSlots - tally.samples;
    counts.zeroOccupancy = tally.zero;
    counts.highOccupancy = tally.high;
    counts.zeroVolumePositiveOccupancy = tally.zeroVolume;
    counts.zeroOccupancyPositiveVolume = tally.zeroOccupancy;
    counts.longestConstantSlots = tally.positive > 0 ? 1 : 0;
}

// The longest stretch of set flags after the first (a run in W starts at W's first slot,
// whatever came before). Repeats are rare in a working detector: memchr skips to each.
int longestRepeatStretch(std::span<const uint8_t, kHealthSlots> repeats) {
    int longest = 0;
    const uint8_t* at = repeats.data() + 1;
    const uint8_t* const end = repeats.data() + repeats.size();
    while (at < end) {
        const void* found = std::memchr(at, 1, static_cast<std::size_t>(end - at));
        if (found == nullptr) {
            break;
        }
        const auto* first = static_cast<const uint8_t*>(found);
        at = first;
        while (at < end && *at != 0) {
            ++at;
        }
        longest = std::max(longest, static_cast<int>(at - first));
    }
    return longest;
}

}  // namespace

DetectorCounts countDetector(std::span<const uint8_t, kSlotsPerDay> volume,
                             std::span<const float, kSlotsPerDay> occupancy) {
    static_assert(kHealthFirstSlot > 0, "a slot of W compares with the slot before it");
    DetectorCounts counts;
    std::array<uint8_t, kHealthSlots> repeats;
    tallyWindow(volume.data(), occupancy.data(), repeats, counts);
    if (counts.longestConstantSlots > 0) {
        counts.longestConstantSlots += longestRepeatStretch(repeats);
    }
    return counts;
}

HealthStatus healthStatus(bool membersPresent, const DetectorCounts& counts) {
    if (!membersPresent) {
        return HealthStatus::NoData;
    }
    if (100 * counts.samples < kMinSamplesPercent * kHealthSlots) {
        return HealthStatus::InsufficientData;
    }
    if (above(counts.zeroOccupancy, kCardOffZeroOccupancyPercent)) {
        return HealthStatus::CardOff;
    }
    if (above(counts.highOccupancy, kHighValuesPercent)) {
        return HealthStatus::HighValues;
    }
    if (above(counts.zeroVolumePositiveOccupancy, kZeroVolumePositiveOccupancyPercent) ||
        above(counts.zeroOccupancyPositiveVolume, kZeroOccupancyPositiveVolumePercent)) {
        return HealthStatus::Intermittent;
    }
    if (counts.longestConstantSlots >= 2 * kConstantMinutes) {
        return HealthStatus::Constant;
    }
    return HealthStatus::Good;
}

}  // namespace quorvane
