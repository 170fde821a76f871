#pragma once

// The pictures of many days: a road's typical speed, and the day in force against it, prepared
// for the chart layer as every road picture is.

#include <span>
#include <string_view>
#include <variant>

#include "views/day_set.h"
#include "views/request_checks.h"
#include "views/road_picture.h"

namespace quorvane {

// The difference grid's scale: from this much slower than typical (red) through equal (white)
// to as much faster (blue), in km/h or mph.
inline constexpr double kDifferenceRangeKmh = 40.0;
inline constexpr double kDifferenceRangeMph = 25.0;

// The typical speed of the road `road` (its stations as the first day built that has it lists
// them) at five minutes over the whole day, in `unit`; a gap where no day has an estimate.
// Refused when no day built has the road.
std::variant<RoadPicture, Refusal> typicalSpeedPicture(std::span<const DayResult> days,
                                                       std::string_view road, SpeedUnit unit);

// The day in force against the typical day on the same road: its five-minute speed by the
// estimate `speed` asks for, minus the typical speed, in the settings' unit; a gap where either
// has none (a station the day lacks, matched by number). Refused as typicalSpeedPicture.
std::variant<RoadPicture, Refusal> speedDifferencePicture(const Day& day,
                                                          std::span<const DayResult> days,
                                                          std::string_view road,
                                                          const SpeedSettings& speed);

}  // namespace quorvane
