#pragma once

// The congestion measures of one road per interval: vehicle-distance and vehicle-hours
// travelled, the delay against a threshold speed, the road's speed and the share of its traffic
// without a speed estimate, and the travel time from its first to its last station by departure
// time.

#include <limits>
#include <vector>

#include "core/calibration.h"
#include "views/delay_threshold.h"
#include "views/road_geometry.h"
#include "views/speed.h"

namespace quorvane {

struct IntervalTable;

// One station's delay in vehicle-hours: max(0, Q * L * (1 / v - 1 / T)), 0 where there is no
// estimate (v NaN or not above 0). Lengths and speeds in one unit system (km and km/h, or miles
// and mph).
double stationDelayHours(double volume, double length, double speed, double threshold);

inline constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

// What adds up over stations, intervals and hours; distances in the unit's (km or miles).
struct TrafficSums {
    double vkt = 0.0;          // Q * L of every station
    double measuredVkt = 0.0;  // of the stations with an estimate above 0
    double vht = 0.0;          // Q * L / v
    double delay = 0.0;        // vehicle-hours

    // measuredVkt / vht, NaN when vht is 0.
    double speed() const;
    // The share of the distance travelled where vehicles passed without an estimate; NaN when
    // vkt is 0.
    double unmeasuredShare() const;
    TrafficSums& operator+=(const TrafficSums& other);
};

struct IntervalMeasures {
    TrafficSums sums;
    // From the first station to the last, departing at the interval's start; NaN: unknown.
    double travelMinutes = kNoValue;       // every station at this interval's speed
    double experiencedMinutes = kNoValue;  // each at the speed of the interval reached
};

// The measures of every interval of the day.
struct RoadMeasures {
    RoadGeometry geometry;
    SpeedUnit unit = SpeedUnit::Kmh;
    SpeedEstimate estimate = SpeedEstimate::FixedLength;
    int intervalIndex = 0;
    int intervalSeconds = 0;
    double threshold = 0.0;      // T in the unit
    double freeFlowSpeed = 0.0;  // V in the unit
    std::vector<IntervalMeasures> intervals;

    double lengthInUnit() const;
    // The road at V.
    double freeFlowMinutes() const;
    int startSeconds(int k) const { return k * intervalSeconds; }
    int intervalCount() const { return static_cast<int>(intervals.size()); }
};

// The measures with the estimate `speed` gives on `day`, at the interval of `table`. A station
// is crossed at its estimate; with none but data and no traffic, at V (the empty road is free);
// with no data, traffic without an estimate or an estimate of 0 its travel time is unknown, as
// is a trip that ends after 24:00. Throws Error 5 for T outside 30 .. 130 km/h or the speed
// settings outside what is accepted, 9 for a road row outside the table.
RoadMeasures computeRoadMeasures(const Day& day, const IntervalTable& table,
                                 const RoadGeometry& geometry, const SpeedSettings& speed,
                                 double thresholdKmh);
// The same from the speeds of the geometry's rows (in road order, at the table's interval, in
// the settings' unit) already estimated on the day, as a set of days keeps them.
RoadMeasures roadMeasuresFromSpeeds(const IntervalTable& table, const RoadGeometry& geometry,
                                    const SpeedTable& speeds, const SpeedSettings& speed,
                                    double thresholdKmh);

// Intervals first..last summed; `endSeconds` is the end of the last one.
struct PeriodTotals {
    int startSeconds = 0;
    int endSeconds = 0;
    TrafficSums sums;
};
PeriodTotals totalsOver(const RoadMeasures& measures, int first, int last);
// One row per clock hour that intervals first..last start in, each summing only those.
std::vector<PeriodTotals> hourlyTotals(const RoadMeasures& measures, int first, int last);

}  // namespace quorvane
