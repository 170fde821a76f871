#pragma once

#include <string_view>

#include "views/speed.h"

namespace quorvane {

struct MainControls;

inline constexpr std::string_view kSpeedToolTip =
    "Speed estimated from each interval's volume and occupancy with the effective vehicle "
    "length (2 .. 30 m); estimates above 160 km/h (100 mph) are shown as 160 (100).\n"
    "With \"Worst case\" occupancy the estimate is the speed of the slowest lane (an "
    "underestimate of the mean).";

// The road tab's speed controls: the speed buttons, the unit list ("km/h", "mph") and the
// vehicle length box, which shows the length in the unit's length unit (metres, feet).
void makeSpeedControls(MainControls& c);

// The unit chosen now and the vehicle length in its length unit.
SpeedSettings readSpeedSettings(const MainControls& c);

// A change of cmbSpeedUnit: the vehicle length box takes the new unit's length unit and range
// and shows the same length in it, to a tenth (6.7 m is 22.0 ft and back).
void changeSpeedUnit(MainControls& c);

}  // namespace quorvane
