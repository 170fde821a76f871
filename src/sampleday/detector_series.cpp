#include "sampleday/detector_series.h"

#include <algorithm>
#include <cmath>

#include "sampleday/random.h"

namespace quorvane::sampleday {

namespace {

int roundToInt(double value) {
    return static_cast<int>(std::floor(value + 0.5));
}

void putRaw(std::string& occupancy, int slot, int raw) {
    const auto word = static_cast<uint16_t>(static_cast<int16_t>(raw));
    occupancy[2 * slot] = static_cast<char>(word >> 8);
    occupancy[2 * slot + 1] = static_cast<char>(word & 0xff);
}

}  // namespace

DetectorMembers detectorMembers(const SampleStation& station, const SampleDetector& detector,
                                const CellSeries& cell,
                                std::span<const ImplausibleValue> implausible, uint64_t seed) {
    Prng rng(Prng::derive(seed, static_cast<uint64_t>(detector.number)));
    const double effectiveLengthM = rng.uniform(5.0, 6.0);  // vehicle plus loop
    const double rawPerPercent = detector.flaw == DetectorFlaw::C30 ? 18.0 : 10.0;
    DetectorMembers members;
    members.volume.assign(kSlots, '\0');
    members.occupancy.assign(2 * kSlots, '\0');
    for (int slot = 0; slot < kSlots; ++slot) {
        const double mean = cell.vehicles[slot] * station.flowFactor * detector.laneFactor;
        const int count =
            std::clamp(roundToInt(mean + std::sqrt(mean) * rng.normal()), 0, kMaxNaturalVolume);
        const double speedMs = cell.speedKmh[slot] / 3.6;
        const double percentPerVehicle = effectiveLengthM / (speedMs * 30.0) * 100.0;
        const double occupancy = std::clamp(count * percentPerVehicle * (1.0 + 0.06 * rng.normal()),
                                            0.0, kMaxNaturalOccupancy);
        members.volume[slot] = static_cast<char>(count);
        putRaw(members.occupancy, slot, roundToInt(occupancy * rawPerPercent));
    }
    for (const ImplausibleValue& value : implausible) {
        if (value.detector != detector.number) {
            continue;
        }
        if (value.volume) {
            members.volume[value.slot] = static_cast<char>(value.raw);
        } else {
            putRaw(members.occupancy, value.slot, roundToInt(value.raw * rawPerPercent / 10.0));
        }
    }
    return members;
}

}  // namespace quorvane::sampleday
