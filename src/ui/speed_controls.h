#pragma once

#include <string_view>

#include "views/speed.h"

namespace quorvane {

struct Day;
struct MainControls;

inline constexpr std::string_view kSpeedToolTip =
    "Speed estimated from each interval's volume and occupancy: by default with each detector's "
    "own g-factor, fitted to the day's free-flow periods at the free-flow speed and smoothed in "
    "time (good detectors only); or with one effective vehicle length (2 .. 30 m) for every "
    "detector. Estimates above 160 km/h (100 mph) are shown as 160 (100).\n"
    "With \"Worst case\" occupancy the fixed-length estimate is the speed of the slowest lane "
    "(an underestimate of the mean).";

// The entries of cmbGFactor, in SpeedEstimate's order.
inline constexpr std::string_view kCalibratedEntry = "calibrated per detector";
inline constexpr std::string_view kFixedLengthEntry = "fixed length";

// The road tab's speed controls: the speed buttons, the unit list ("km/h", "mph"), the g-factor
// choice, the free-flow speed (in the unit) and the vehicle length box (in the unit's length
// unit: metres, feet), and the note saying which estimate is in force.
void makeSpeedControls(MainControls& c);

// The unit, estimate, vehicle length and free-flow speed chosen now.
SpeedSettings readSpeedSettings(const MainControls& c);

// "Road Measures" and the delay's threshold speed beside it (in the unit: 60 mph, 96.6 km/h by
// default; 30 .. 130 km/h).
void makeMeasureControls(MainControls& c);
// The threshold in km/h; the default shown to a tenth stands for exactly 60 mph, so that the
// window and the batch command count the same delay.
double readThresholdKmh(const MainControls& c);

// A change of cmbSpeedUnit: the vehicle length box takes the new unit's length unit and range
// and shows the same length in it, to a tenth (6.7 m is 22.0 ft and back); the free-flow speed
// box likewise, its default becoming the new unit's default (105 km/h, 65 mph), and the threshold
// box (60 mph, 96.6 km/h).
void changeSpeedUnit(MainControls& c);

// lblSpeedEstimate says which estimate the speed views of `day` use (empty without a day); the
// vehicle length counts only for the fixed length, the free-flow speed only for the calibration.
void showSpeedEstimate(MainControls& c, const Day* day);

}  // namespace quorvane
