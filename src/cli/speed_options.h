#pragma once

#include <ostream>

#include "cli/arguments.h"
#include "views/speed.h"

namespace quorvane {
struct Day;
}

namespace quorvane::cli {

// --vehicle-length METRES: the fixed-length estimate with this effective vehicle length,
// 2 .. 30 m (without it the calibrated estimate).
inline constexpr OptionSpec kVehicleLengthOption{"--vehicle-length", true};
// --free-flow-speed SPEED: the calibration's free-flow speed V in the unit of --unit.
inline constexpr OptionSpec kFreeFlowSpeedOption{"--free-flow-speed", true};
// --threshold KMH: the delay's threshold speed.
inline constexpr OptionSpec kThresholdOption{"--threshold", true};
// --unit km/h|mph: the speed graphs' unit.
inline constexpr OptionSpec kSpeedUnitOption{"--unit", true};

// The unit of --unit (default km/h); the fixed-length estimate with --vehicle-length in metres,
// else the calibrated one; V from --free-flow-speed in the unit, else the unit's default (105
// km/h, 65 mph). A UsageError for another unit, a bad length or a V outside 60 .. 140 km/h.
SpeedSettings speedSettings(const Arguments& arguments);

// The threshold of --threshold, 30 to 130 km/h, or 60 mph (96.56 km/h); a UsageError otherwise.
double thresholdKmh(const Arguments& arguments);

// A loaded day has no detector values for the calibrated estimate asked for: says so on `err`.
void noteSpeedFallback(const Day& day, const SpeedSettings& settings, std::ostream& err);

}  // namespace quorvane::cli
