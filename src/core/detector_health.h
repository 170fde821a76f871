#pragma once

// Detector health: which detectors of a day can be trusted, graded from each detector's
// 30-second values as the archive gives them, before the station combination drops anything.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "base/station_tables.h"
#include "core/calibration.h"

namespace quorvane {

// The diagnostic window W: slots 600 .. 2639 (05:00:00 to 21:59:30), when a working mainline
// detector sees traffic.
inline constexpr int kHealthFirstSlot = 600;
inline constexpr int kHealthSlots = 2040;

// The grading thresholds. The shares are percent of the slots of W, and a count passes a
// share "above" it only when strictly above (compared in whole numbers, so 59 % of 2040 slots
// is 1203.6 and 1204 slots are above it).
inline constexpr int kMinSamplesPercent = 60;                   // below: "insufficient data"
inline constexpr int kCardOffZeroOccupancyPercent = 59;         // above: "card off"
inline constexpr float kHighOccupancy = 70.0f;                  // a sample above it is high
inline constexpr int kHighValuesPercent = 20;                   // above: "high values"
inline constexpr int kZeroVolumePositiveOccupancyPercent = 2;   // above: "intermittent"
inline constexpr int kZeroOccupancyPositiveVolumePercent = 50;  // above: "intermittent"
inline constexpr int kConstantMinutes = 240;                    // at least: "constant"

// The first status that applies, in this order.
enum class HealthStatus : uint8_t {
    NoData,
    InsufficientData,
    CardOff,
    HighValues,
    Intermittent,
    Constant,
    Good,
};
inline constexpr std::array kHealthStatuses{
    HealthStatus::NoData,     HealthStatus::InsufficientData, HealthStatus::CardOff,
    HealthStatus::HighValues, HealthStatus::Intermittent,     HealthStatus::Constant,
    HealthStatus::Good,
};

// "no data", "insufficient data", "card off", "high values", "intermittent", "constant", "good".
std::string_view statusText(HealthStatus status);

// A detector's counts over W. A sample is a slot whose volume is at most 40 and whose
// occupancy lies in 0 .. 100 % (the builder's plausibility limits).
struct DetectorCounts {
    int samples = 0;
    int implausible = 0;  // the other slots of W
    int zeroOccupancy = 0;
    int highOccupancy = 0;                // occupancy above kHighOccupancy
    int zeroVolumePositiveOccupancy = 0;  // volume 0, occupancy above 0
    int zeroOccupancyPositiveVolume = 0;  // occupancy 0, volume above 0
    // The longest run of consecutive samples with one occupancy above 0; minutes = slots / 2.
    int longestConstantSlots = 0;

    friend bool operator==(const DetectorCounts&, const DetectorCounts&) = default;
};

// Counts one detector's day as read from its members (before implausible values are dropped).
DetectorCounts countDetector(std::span<const uint8_t, kSlotsPerDay> volume,
                             std::span<const float, kSlotsPerDay> occupancy);

// The status of a detector: "no data" when the archive lacks its volume or its occupancy
// member (its counts are then all 0), else by its counts.
HealthStatus healthStatus(bool membersPresent, const DetectorCounts& counts);

// One detector of one station, as the station list names them.
struct DetectorGrade {
    int stationRow = 0;  // the station's position in the station list
    int16_t station = 0;
    int16_t detector = 0;
    HealthStatus status = HealthStatus::NoData;
    DetectorCounts counts;
    // The free-flow fit of a good detector (empty for the others): its g-factor at any V.
    FreeFlowFit fit;

    friend bool operator==(const DetectorGrade&, const DetectorGrade&) = default;
};

// The grades of a day's build: every detector of every station, in station order and then in
// the order of the station's detector list (a detector listed in two stations is graded in
// each).
struct DetectorHealth {
    std::vector<DetectorGrade> detectors;

    friend bool operator==(const DetectorHealth&, const DetectorHealth&) = default;
};

}  // namespace quorvane
