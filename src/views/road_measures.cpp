#include "views/road_measures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "base/error.h"
#include "core/day.h"
#include "views/interval_table.h"

namespace quorvane {

namespace {

constexpr double kSecondsPerHour = 3600.0;
constexpr int kSecondsPerDay = 86400;

bool hasEstimate(double speed) {
    return speed > 0.0;  // false for NaN
}

// The speed a vehicle crosses a station's length at in one interval, NaN when unknown.
double crossingSpeed(double volume, const SpeedCell& cell, double freeFlowSpeed) {
    if (hasEstimate(cell.speed)) {
        return cell.speed;
    }
    if (std::isnan(cell.speed) && volume == 0.0 && cell.lanes > 0.0f) {
        return freeFlowSpeed;
    }
    return kNoValue;
}

void checkRows(const IntervalTable& table, const RoadGeometry& geometry) {
    for (const int row : geometry.rows) {
        if (row < 0 || row >= table.stationCount) {
            throw Error(errc::kSubscriptOutOfRange,
                        "Subscript out of range: station row " + std::to_string(row) +
                            " of the road " + geometry.name + " is outside the interval table's " +
                            std::to_string(table.stationCount) + " stations");
        }
    }
}

std::string oneDecimal(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.1f", value);
    return buffer;
}

void checkSettings(const SpeedSettings& speed, double thresholdKmh) {
    checkThresholdKmh(thresholdKmh);
    if (!acceptedFreeFlowSpeed(speed)) {
        throw Error(errc::kInvalidArgument, "Invalid procedure call or argument: free-flow speed " +
                                                oneDecimal(speed.freeFlowKmh()) +
                                                " km/h is outside 60 .. 140 km/h");
    }
}

// The seconds a vehicle takes to cross each station's length in each interval (NaN: unknown),
// interval by interval ([k * stations + i]): a trip reads one interval's stations together.
struct Crossings {
    std::vector<double> seconds;
    std::size_t stations = 0;
    int count = 0;
    double at(int k, std::size_t i) const {
        return seconds[static_cast<std::size_t>(k) * stations + i];
    }
};

// Departing at the start of interval k: each station's length crossed at the speed of the
// interval the vehicle is in when it reaches the station.
double experiencedMinutes(const Crossings& crossings, int intervalSeconds, int k) {
    const double departure = static_cast<double>(k) * intervalSeconds;
    double clock = departure;
    // The interval the vehicle is in, followed by comparing with its end (whole seconds, exact)
    // rather than dividing at every station.
    int reached = k;
    double reachedEnd = departure + intervalSeconds;
    for (std::size_t i = 0; i < crossings.stations; ++i) {
        while (clock >= reachedEnd) {
            ++reached;
            reachedEnd += intervalSeconds;
        }
        if (reached >= crossings.count) {
            return kNoValue;
        }
        const double seconds = crossings.at(reached, i);
        if (std::isnan(seconds)) {
            return kNoValue;
        }
        clock += seconds;
    }
    if (clock > kSecondsPerDay) {
        return kNoValue;
    }
    return (clock - departure) / 60.0;
}

}  // namespace

bool acceptedThresholdKmh(double kmh) {
    return kmh >= kLowestThresholdKmh && kmh <= kHighestThresholdKmh;
}

void checkThresholdKmh(double kmh) {
    if (!acceptedThresholdKmh(kmh)) {
        throw Error(errc::kInvalidArgument, "Invalid procedure call or argument: threshold speed " +
                                                oneDecimal(kmh) +
                                                " km/h is outside 30 .. 130 km/h");
    }
}

double stationDelayHours(double volume, double length, double speed, double threshold) {
    if (!hasEstimate(speed)) {
        return 0.0;
    }
    return std::max(0.0, volume * length * (1.0 / speed - 1.0 / threshold));
}

double TrafficSums::speed() const {
    return vht > 0.0 ? measuredVkt / vht : kNoValue;
}

double TrafficSums::unmeasuredShare() const {
    return vkt > 0.0 ? (vkt - measuredVkt) / vkt : kNoValue;
}

TrafficSums& TrafficSums::operator+=(const TrafficSums& other) {
    vkt += other.vkt;
    measuredVkt += other.measuredVkt;
    vht += other.vht;
    delay += other.delay;
    return *this;
}

double RoadMeasures::lengthInUnit() const {
    return geometry.lengthKm() / unitInfo(unit).kmPerUnit;
}

double RoadMeasures::freeFlowMinutes() const {
    return lengthInUnit() / freeFlowSpeed * 60.0;
}

RoadMeasures computeRoadMeasures(const Day& day, const IntervalTable& table,
                                 const RoadGeometry& geometry, const SpeedSettings& speed,
                                 double thresholdKmh) {
    checkSettings(speed, thresholdKmh);
    checkRows(table, geometry);
    return roadMeasuresFromSpeeds(table, geometry,
                                  computeSpeeds(day, geometry.rows, table.intervalIndex, speed),
                                  speed, thresholdKmh);
}

RoadMeasures roadMeasuresFromSpeeds(const IntervalTable& table, const RoadGeometry& geometry,
                                    const SpeedTable& speeds, const SpeedSettings& speed,
                                    double thresholdKmh) {
    checkSettings(speed, thresholdKmh);
    checkRows(table, geometry);
    if (speeds.rows != geometry.rows || speeds.unit != speed.unit ||
        speeds.intervalIndex != table.intervalIndex) {
        throw Error(errc::kInternalError,
                    "Internal error: the speeds do not match the road's stations and interval");
    }
    const SpeedUnitInfo& unit = unitInfo(speed.unit);

    RoadMeasures measures;
    measures.geometry = geometry;
    measures.unit = speed.unit;
    measures.estimate = speeds.estimate;
    measures.intervalIndex = table.intervalIndex;
    measures.intervalSeconds = table.choice().intervalSeconds;
    measures.threshold = thresholdKmh / unit.kmPerUnit;
    measures.freeFlowSpeed = speed.freeFlowSpeed;
    const int count = table.intervalCount;
    measures.intervals.resize(static_cast<std::size_t>(count));

    std::vector<double> lengths;
    for (const double km : geometry.lengthsKm) {
        lengths.push_back(km / unit.kmPerUnit);
    }
    Crossings crossings;
    crossings.stations = lengths.size();
    crossings.count = count;
    crossings.seconds.resize(lengths.size() * static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        const double length = lengths[i];
        const int row = geometry.rows[i];
        for (int k = 0; k < count; ++k) {
            // A negative volume (a foreign station file) is no traffic.
            const double volume = std::max(0.0, static_cast<double>(table.at(row, k).vol));
            const SpeedCell& cell = speeds.at(i, k);
            const double v = cell.speed;
            TrafficSums& sums = measures.intervals[static_cast<std::size_t>(k)].sums;
            sums.vkt += volume * length;
            if (hasEstimate(v)) {
                sums.measuredVkt += volume * length;
                sums.vht += volume * length / v;
                sums.delay += stationDelayHours(volume, length, v, measures.threshold);
            }
            crossings.seconds[static_cast<std::size_t>(k) * lengths.size() + i] =
                length / crossingSpeed(volume, cell, measures.freeFlowSpeed) * kSecondsPerHour;
        }
    }
    for (int k = 0; k < count; ++k) {
        IntervalMeasures& interval = measures.intervals[static_cast<std::size_t>(k)];
        double seconds = 0.0;
        for (std::size_t i = 0; i < lengths.size(); ++i) {
            seconds += crossings.at(k, i);  // NaN stays NaN: unknown
        }
        interval.travelMinutes = seconds / 60.0;
        interval.experiencedMinutes = experiencedMinutes(crossings, measures.intervalSeconds, k);
    }
    return measures;
}

PeriodTotals totalsOver(const RoadMeasures& measures, int first, int last) {
    PeriodTotals totals;
    totals.startSeconds = measures.startSeconds(first);
    totals.endSeconds = measures.startSeconds(last + 1);
    for (int k = first; k <= last; ++k) {
        totals.sums += measures.intervals[static_cast<std::size_t>(k)].sums;
    }
    return totals;
}

std::vector<PeriodTotals> hourlyTotals(const RoadMeasures& measures, int first, int last) {
    std::vector<PeriodTotals> hours;
    int k = first;
    while (k <= last) {
        const int hour = measures.startSeconds(k) / 3600;
        int end = k;
        while (end + 1 <= last && measures.startSeconds(end + 1) / 3600 == hour) {
            ++end;
        }
        hours.push_back(totalsOver(measures, k, end));
        k = end + 1;
    }
    return hours;
}

}  // namespace quorvane
