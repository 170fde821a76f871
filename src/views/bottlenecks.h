#pragma once

// Bottlenecks: where a queue forms with free-flowing traffic downstream of it, found by the rule
// freeway data systems publish, on the five-minute station speeds of the estimate in force.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "views/request_checks.h"
#include "views/road_geometry.h"
#include "views/speed.h"

namespace quorvane {

class Log;
struct Day;

// The rule's numbers, set in miles and mph: a pair of stations less than 3 miles apart is
// active when the upstream one is below 40 mph and the downstream one at least 20 mph faster;
// every window of 7 intervals with at least 5 active ones is marked.
inline constexpr double kBottleneckMostGapKm = 3.0 * kKmPerMile;
inline constexpr double kBottleneckSlowKmh = 40.0 * kKmPerMile;
inline constexpr double kBottleneckSpeedDropKmh = 20.0 * kKmPerMile;
inline constexpr int kBottleneckWindow = 7;
inline constexpr int kBottleneckMinActive = 5;
// The rule runs on five-minute speeds whatever interval the window shows.
inline constexpr int kBottleneckIntervalIndex = 5;  // "5 min" of kIntervalChoices
inline constexpr int kBottleneckIntervalSeconds = 300;

// The part of the day an activation starts in.
enum class Shift { AM, Midday, PM, Night };
// "AM" (05:00-09:59), "midday" (10:00-14:59), "PM" (15:00-19:59), "night".
std::string_view shiftText(Shift shift);
Shift shiftOf(int secondsOfDay);

// One activation of a pair: a maximal chain of overlapping marked windows, from its first to
// its last active interval (five-minute intervals of the day).
struct Activation {
    std::size_t upstream = 0;  // the pair's upstream station, its index in road order
    int16_t upstreamStation = 0;
    int16_t downstreamStation = 0;
    double positionKm = 0.0;  // the downstream station's post
    int firstInterval = 0;
    int lastInterval = 0;
    Shift shift = Shift::Night;
    // Per interval first..last: the stations of the queue's run from the upstream station up
    // the road while they are slower than 40 mph (0 where the pair is not slow), and their
    // summed lengths.
    std::vector<int> runStations;
    std::vector<double> extentsKm;
    double maxExtentKm = 0.0;     // over the active intervals
    double medianExtentKm = 0.0;  // over the active intervals
    double delayHours = 0.0;      // over every interval first..last, of the runs' stations

    int startSeconds() const { return firstInterval * kBottleneckIntervalSeconds; }
    int endSeconds() const { return (lastInterval + 1) * kBottleneckIntervalSeconds; }
    int durationMinutes() const { return (endSeconds() - startSeconds()) / 60; }
};

// The activations of a road's pairs, by start (then by position along the road).
struct RoadBottlenecks {
    RoadGeometry geometry;
    std::vector<Activation> activations;
};

// The rule on five-minute speeds (km/h; `speeds.rows` the geometry's rows in road order, NaN
// where there is no estimate) and volumes ([station * 288 + t], road order), the delay counted
// against `thresholdKmh`.
std::vector<Activation> findActivations(const RoadGeometry& geometry, const SpeedTable& speeds,
                                        std::span<const int> volumes, double thresholdKmh);

// The road's activations with the estimate `speed` asks for on `day`, refused as the road
// measures refuse a road without positions (a station missing from the station list is also
// logged, as the road graphs log it). Throws Error 5 for a threshold outside 30 .. 130 km/h or
// speed settings outside what is accepted.
std::variant<RoadBottlenecks, Refusal> findBottlenecks(const Day& day, int road,
                                                       const SpeedSettings& speed,
                                                       double thresholdKmh, Log& log);

// The five-minute volumes of the station rows `rows` of the day ([station * 288 + t]), summed
// from the slots in full (an interval table's volume is 16 bits).
std::vector<int> fiveMinuteVolumes(const Day& day, std::span<const int> rows);

// One line per activation, read by data tools without options.
inline constexpr std::string_view kBottlenecksHeader =
    "road,upstream_station,downstream_station,position_km,shift,start,end,duration_min,"
    "max_extent_km,median_extent_km,delay_vh";

// The lines of a road's activations (no header): times hh:mm:ss, the position and extents to a
// thousandth, the delay to a hundredth, the road name quoted as CSV quotes it where it holds a
// comma or a quote; LF line ends.
std::string bottleneckLines(const RoadBottlenecks& road);

// "3 bottleneck activations on 2 roads".
std::string bottleneckSummary(std::size_t activations, std::size_t roads);

}  // namespace quorvane
