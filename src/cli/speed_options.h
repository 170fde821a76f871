#pragma once

#include "cli/arguments.h"
#include "views/speed.h"

namespace quorvane::cli {

// --vehicle-length METRES: the effective vehicle length of the speed estimate, 2 .. 30 m.
inline constexpr OptionSpec kVehicleLengthOption{"--vehicle-length", true};
// --unit km/h|mph: the speed graphs' unit.
inline constexpr OptionSpec kSpeedUnitOption{"--unit", true};

// The metres of --vehicle-length, or the default 6.7; a UsageError for anything but a decimal
// number from 2 to 30.
double vehicleLengthMetres(const Arguments& arguments);

// The unit of --unit (default km/h) and the vehicle length: --vehicle-length in metres, else the
// unit's default (6.7 m, 22 ft). A UsageError for another unit or a bad length.
SpeedSettings speedSettings(const Arguments& arguments);

}  // namespace quorvane::cli
