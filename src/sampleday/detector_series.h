#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "sampleday/layout.h"
#include "sampleday/traffic_model.h"

namespace quorvane::sampleday {

inline constexpr int kMaxNaturalVolume = 35;  // noise never makes a value implausible
inline constexpr double kMaxNaturalOccupancy = 95.0;

// The two members of one detector: "v30" (one vehicle count per slot) and the occupancy member
// (big-endian 16-bit raw values: tenths of a percent, or percent * 18 for a "c30" member).
struct DetectorMembers {
    std::string volume;     // 2880 bytes
    std::string occupancy;  // 5760 bytes
};

// Counts with Poisson-like noise around the lane's share of the cell's flow; occupancy from the
// count and the cell's speed (time each vehicle spends over the loop), with noise of its own.
// `implausible` values of this detector are written over the noise.
DetectorMembers detectorMembers(const SampleStation& station, const SampleDetector& detector,
                                const CellSeries& cell,
                                std::span<const ImplausibleValue> implausible, uint64_t seed);

}  // namespace quorvane::sampleday
