#pragma once

// How reliable a road's travel time is over many days: for each five-minute departure time, the
// mean and the 95th percentile of the days' instantaneous travel times against the free-flow
// travel time, as the indices freeway performance reports publish.

#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "views/day_set.h"
#include "views/request_checks.h"

namespace quorvane {

// The value at `fraction` (0 .. 1) of `values` (reordered) as spreadsheets compute it: sorted,
// the position (n - 1) * fraction, linearly between the values either side of it. NaN for none.
double percentile(std::span<double> values, double fraction);

// The days' travel times of one departure interval; mean and p95 NaN where no day has a value.
struct ReliabilityInterval {
    int days = 0;
    double meanMinutes = 0.0;
    double p95Minutes = 0.0;
};

struct RoadReliability {
    std::string road;
    double lengthKm = 0.0;
    double freeFlowMinutes = 0.0;  // the road at the free-flow speed
    int intervalSeconds = 0;
    std::vector<ReliabilityInterval> intervals;  // one per five-minute departure interval

    // mean / free-flow, p95 / free-flow, (p95 - mean) / mean; NaN where there is no value (the
    // buffer index also where the mean is 0).
    double travelTimeIndex(int k) const;
    double planningTimeIndex(int k) const;
    double bufferIndex(int k) const;
    int startSeconds(int k) const { return k * intervalSeconds; }
};

// The road `road`'s reliability over the days built that place it; the free-flow travel time
// from its length on the first of them and `freeFlowKmh`. Refused as roadPlacement refuses a
// road no day places; throws Error 5 when no day built has the road in its road list.
std::variant<RoadReliability, Refusal> roadReliability(std::span<const DayResult> days,
                                                       std::string_view road, double freeFlowKmh);

// One line per departure interval, LF line ends: time hh:mm:ss, minutes with two decimals, the
// indices with three, empty fields (and 0 days) where no day has a value.
inline constexpr std::string_view kReliabilityHeader =
    "time,days,mean_min,p95_min,free_flow_min,tti,pti,buffer_index";
std::string reliabilityText(const RoadReliability& reliability);

}  // namespace quorvane
