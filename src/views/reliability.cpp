#include "views/reliability.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "views/csv_fields.h"
#include "views/roads_of_days.h"

namespace quorvane {

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
constexpr double kPlanningFraction = 0.95;

std::string field(double value, int places) {
    return std::isnan(value) ? std::string() : fixedDecimals(value, places);
}

}  // namespace

double percentile(std::span<double> values, double fraction) {
    if (values.empty()) {
        return kNone;
    }
    std::sort(values.begin(), values.end());
    const double position = static_cast<double>(values.size() - 1) * fraction;
    const auto below = static_cast<std::size_t>(std::floor(position));
    const std::size_t above = std::min(below + 1, values.size() - 1);
    return values[below] +
           (position - static_cast<double>(below)) * (values[above] - values[below]);
}

double RoadReliability::travelTimeIndex(int k) const {
    return intervals[static_cast<std::size_t>(k)].meanMinutes / freeFlowMinutes;
}

double RoadReliability::planningTimeIndex(int k) const {
    return intervals[static_cast<std::size_t>(k)].p95Minutes / freeFlowMinutes;
}

double RoadReliability::bufferIndex(int k) const {
    const ReliabilityInterval& interval = intervals[static_cast<std::size_t>(k)];
    if (!(interval.meanMinutes != 0.0)) {  // also NaN: no value
        return kNone;
    }
    return (interval.p95Minutes - interval.meanMinutes) / interval.meanMinutes;
}

std::variant<RoadReliability, Refusal> roadReliability(std::span<const DayResult> days,
                                                       std::string_view road, double freeFlowKmh) {
    if (auto refusal = roadPlacement(days, road)) {
        return std::move(*refusal);
    }
    std::vector<const RoadTravelTimes*> measured;
    for (const DayResult& day : days) {
        if (day.summary) {
            if (const RoadTravelTimes* times = travelTimesOf(*day.summary, road)) {
                measured.push_back(times);
            }
        }
    }
    RoadReliability reliability;
    reliability.road = std::string(road);
    reliability.lengthKm = measured.front()->lengthKm;
    reliability.freeFlowMinutes = reliability.lengthKm / freeFlowKmh * 60.0;
    reliability.intervalSeconds = kIntervalChoices[kDaySetIntervalIndex].intervalSeconds;
    const std::size_t count = measured.front()->minutes.size();
    reliability.intervals.resize(count);
    std::vector<double> values;
    for (std::size_t k = 0; k < count; ++k) {
        values.clear();
        for (const RoadTravelTimes* times : measured) {
            if (!std::isnan(times->minutes[k])) {
                values.push_back(times->minutes[k]);
            }
        }
        ReliabilityInterval& interval = reliability.intervals[k];
        interval.days = static_cast<int>(values.size());
        interval.meanMinutes = values.empty() ? kNone
                                              : std::accumulate(values.begin(), values.end(), 0.0) /
                                                    static_cast<double>(values.size());
        interval.p95Minutes = percentile(values, kPlanningFraction);
    }
    return reliability;
}

std::string reliabilityText(const RoadReliability& reliability) {
    std::string text(kReliabilityHeader);
    text += '\n';
    const std::string freeFlow = fixedDecimals(reliability.freeFlowMinutes, 2);
    for (int k = 0; k < static_cast<int>(reliability.intervals.size()); ++k) {
        const ReliabilityInterval& interval = reliability.intervals[static_cast<std::size_t>(k)];
        text += formatHms(reliability.startSeconds(k));
        text += ',' + std::to_string(interval.days);
        text += ',' + field(interval.meanMinutes, 2);
        text += ',' + field(interval.p95Minutes, 2);
        text += ',' + freeFlow;
        text += ',' + field(reliability.travelTimeIndex(k), 3);
        text += ',' + field(reliability.planningTimeIndex(k), 3);
        text += ',' + field(reliability.bufferIndex(k), 3);
        text += '\n';
    }
    return text;
}

}  // namespace quorvane
