#pragma once

// Which bottlenecks come back day after day: every activation of every day built, grouped by
// road, pair of stations and shift, ranked by the days the group was active and its delay.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "views/bottlenecks.h"
#include "views/day_set.h"

namespace quorvane {

// One road's pair of stations in one shift over the days. Per active day, its duration is the
// sum of the durations of that day's activations in the group, its extent the largest of their
// maximum extents and its delay the sum of theirs; the means are over the active days.
struct RankedBottleneck {
    std::string road;
    int16_t upstreamStation = 0;
    int16_t downstreamStation = 0;
    Shift shift = Shift::Night;
    int daysActive = 0;  // days with at least one activation in the group
    int days = 0;        // days built that place the road (its bottlenecks were looked for)
    double meanDurationMinutes = 0.0;
    double meanMaxExtentKm = 0.0;
    double meanDelayHours = 0.0;
    double totalDelayHours = 0.0;
};

// The groups of every road of the days built (or of the road `road` only), most days active
// first, then the most total delay; ties in the order of the roads (as the days list them),
// then along the road, then by shift.
std::vector<RankedBottleneck> rankBottlenecks(std::span<const DayResult> days,
                                              std::optional<std::string_view> road = {});

// One line per group, LF line ends: the road name quoted as CSV quotes it where it holds a comma
// or a quote, the mean duration with one decimal, the extent with three, delays with two.
inline constexpr std::string_view kRankingHeader =
    "road,upstream_station,downstream_station,shift,days_active,days,mean_duration_min,"
    "mean_max_extent_km,mean_delay_vh,total_delay_vh";
std::string rankingText(std::span<const RankedBottleneck> ranking);

// "4 bottlenecks on 2 roads".
std::string rankingSummary(std::span<const RankedBottleneck> ranking);

}  // namespace quorvane
