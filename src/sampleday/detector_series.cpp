#include "sampleday/detector_series.h"

#include <algorithm>
#include <cmath>
#include <utility>

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

int getRaw(const std::string& occupancy, int slot) {
    const auto high = static_cast<uint8_t>(occupancy[2 * slot]);
    const auto low = static_cast<uint8_t>(occupancy[2 * slot + 1]);
    return static_cast<int16_t>(static_cast<uint16_t>(high << 8 | low));
}

constexpr uint64_t kFaultStream = 0x4641554c54ULL;
constexpr int kSlotsPerHour = 120;

// Writes a faulty detector's readings over its natural ones; its random numbers come from a
// stream of its own, so the natural values stay those of a working detector.
void writeFault(DetectorFlaw flaw, DetectorMembers& members, double rawPerPercent, uint64_t seed) {
    Prng rng(Prng::derive(seed, kFaultStream));
    auto hours = [](int from, int to) {
        return std::pair{from * kSlotsPerHour, to * kSlotsPerHour};
    };
    switch (flaw) {
        case DetectorFlaw::CardOff:
            for (int slot = hours(9, 24).first; slot < kSlots; ++slot) {
                members.volume[slot] = '\0';
                putRaw(members.occupancy, slot, 0);
            }
            break;
        case DetectorFlaw::StuckOccupancy: {
            const auto [from, to] = hours(10, 15);
            const int stuck = std::max(getRaw(members.occupancy, from), 1);
            for (int slot = from; slot < to; ++slot) {
                putRaw(members.occupancy, slot, stuck);
            }
            break;
        }
        case DetectorFlaw::Chattering:
            for (int slot = 0; slot < kSlots; ++slot) {
                if (rng.uniform() < 0.1) {
                    members.volume[slot] = '\0';
                    putRaw(members.occupancy, slot,
                           roundToInt(rng.uniform(2.0, 15.0) * rawPerPercent));
                }
            }
            break;
        case DetectorFlaw::HighOccupancy:
            for (int slot = hours(7, 15).first; slot < hours(7, 15).second; ++slot) {
                putRaw(members.occupancy, slot,
                       roundToInt(rng.uniform(72.0, 92.0) * rawPerPercent));
            }
            break;
        case DetectorFlaw::GarbledOccupancy:
            for (int slot = hours(6, 18).first; slot < hours(6, 18).second; ++slot) {
                putRaw(members.occupancy, slot, -1);
            }
            break;
        default:
            break;
    }
}

}  // namespace

DetectorMembers detectorMembers(const SampleStation& station, const SampleDetector& detector,
                                const CellSeries& cell,
                                std::span<const ImplausibleValue> implausible, uint64_t seed) {
    Prng rng(Prng::derive(seed, static_cast<uint64_t>(detector.number)));
    // Vehicle plus loop, around the lane's mean; a sensitive loop reads as if they were longer.
    const double effectiveLengthM = (detector.lengthM + rng.uniform(-0.4, 0.4)) *
                                    (detector.flaw == DetectorFlaw::SensitiveLoop ? 1.6 : 1.0);
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
    writeFault(detector.flaw, members, rawPerPercent,
               Prng::derive(seed, static_cast<uint64_t>(detector.number)));
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
