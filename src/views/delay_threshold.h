#pragma once

// The threshold speed T below which the road measures and the bottlenecks count delay: what a
// request that only carries it (a set of days) needs of the road measures.

#include "core/calibration.h"

namespace quorvane {

// The threshold speed T of the delay: 60 mph by default, 30 .. 130 km/h accepted.
inline constexpr double kDefaultThresholdKmh = 60.0 * kKmPerMile;
inline constexpr double kLowestThresholdKmh = 30.0;
inline constexpr double kHighestThresholdKmh = 130.0;
bool acceptedThresholdKmh(double kmh);
// Throws Error 5 naming a threshold outside 30 .. 130 km/h.
void checkThresholdKmh(double kmh);

}  // namespace quorvane
