#include "views/road_picture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "base/log.h"
#include "core/day.h"
#include "views/bottlenecks.h"
#include "views/interval_table.h"
#include "views/road_measures.h"

namespace quorvane {

std::variant<std::vector<int>, Refusal> roadRows(const Day& day, int road, Log& log) {
    const std::string& roadName = day.roads.roadByIndex(road);
    std::vector<int> rows;
    for (const int16_t number : day.roads.staList(road)) {
        const int station = day.stations.staIndex(number);
        if (station == -1) {
            const std::string numberText = std::to_string(number);
            log.appendLog(missingRoadStationEntry(roadName, numberText));
            return Refusal{missingStationLine(numberText) + std::string(kCrLf) +
                           "Unable to plot the graph."};
        }
        rows.push_back(station);
    }
    return rows;
}

namespace {

// A table that does not match the lists (never the case when the main window keeps them
// together) gives nothing rather than reading outside it.
bool inTable(const IntervalTable& table, const std::vector<int>& rows, int start, int end) {
    return start >= 0 && start <= end && end < table.intervalCount &&
           std::all_of(rows.begin(), rows.end(),
                       [&](int station) { return station >= 0 && station < table.stationCount; });
}

}  // namespace

RoadPicture prepareRoadPicture(const Day& day, const IntervalTable& table, RoadMeasure measure,
                               int road, const std::vector<int>& rows, int start, int end,
                               const SpeedSettings& speed) {
    RoadPicture picture;
    picture.measure = measure;
    picture.roadName = day.roads.roadByIndex(road);
    picture.unit = speed.unit;
    if (!inTable(table, rows, start, end)) {
        return picture;
    }
    for (const int row : rows) {
        picture.stations.push_back(day.stations.staNumByIndex(row));
    }
    const std::size_t columns = static_cast<std::size_t>(end - start + 1);
    picture.values.reserve(columns * rows.size());
    SpeedTable speeds;
    if (measure == RoadMeasure::Speed || measure == RoadMeasure::SpeedDifference) {
        // Computed for the whole day, so that the smoothing never depends on the range shown.
        speeds = computeSpeeds(day, rows, table.intervalIndex, speed);
        picture.estimate = speeds.estimate;
    }
    if (measure == RoadMeasure::Speed && day.positions) {
        // The stations were all found above: the finder logs nothing here.
        Log unused;
        const auto found = findBottlenecks(day, road, speed, kDefaultThresholdKmh, unused);
        if (const auto* bottlenecks = std::get_if<RoadBottlenecks>(&found)) {
            picture.overlays = bottleneckOverlays(*bottlenecks, table.choice().intervalSeconds);
        }
    }
    for (int t = start; t <= end; ++t) {
        picture.times.push_back(table.intervalTime(t));
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const IntervalValue& cell = table.at(rows[i], t);
            switch (measure) {
                case RoadMeasure::Volume:
                    picture.values.push_back(cell.vol);
                    break;
                case RoadMeasure::Occupancy:
                    picture.values.push_back(cell.occ);
                    break;
                case RoadMeasure::Speed:
                case RoadMeasure::SpeedDifference:  // not a one-day picture: as the speed
                    picture.values.push_back(speeds.at(i, t).speed);
                    break;
            }
        }
    }
    return picture;
}

std::vector<PictureOverlay> bottleneckOverlays(const RoadBottlenecks& found, int columnSeconds) {
    std::vector<PictureOverlay> overlays;
    constexpr double kDay = 86400.0;
    const double shift = -0.5 * columnSeconds / kDay;  // cells are centred on their start
    const auto x = [&](int seconds) { return seconds / kDay + shift; };
    for (const Activation& a : found.activations) {
        char label[160];
        std::snprintf(
            label, sizeof label, "Bottleneck %d > %d, %s to %s, queue up to %.1f km",
            a.upstreamStation, a.downstreamStation,
            formatHms(a.startSeconds()).substr(0, 5).c_str(),
            a.endSeconds() == 86400 ? "24:00" : formatHms(a.endSeconds()).substr(0, 5).c_str(),
            a.maxExtentKm);
        // Rows are 1 for the road's first station: the upstream station's row is its index + 1.
        const double upstreamRow = static_cast<double>(a.upstream) + 1.0;
        const double x0 = x(a.startSeconds());
        const double x1 = x(a.endSeconds());
        overlays.push_back({PictureOverlay::Kind::Box,
                            label,
                            {{x0, upstreamRow},
                             {x1, upstreamRow},
                             {x1, upstreamRow + 1.0},
                             {x0, upstreamRow + 1.0}}});
        // The queue below the box: along its foot, then back along the run's upstream edge,
        // interval by interval (the lower edge of the last station of the run).
        PictureOverlay queue{
            PictureOverlay::Kind::Outline, label, {{x0, upstreamRow}, {x1, upstreamRow}}};
        for (std::size_t k = a.runStations.size(); k-- > 0;) {
            const int seconds =
                (a.firstInterval + static_cast<int>(k)) * kBottleneckIntervalSeconds;
            const double edge =
                a.runStations[k] == 0 ? upstreamRow : upstreamRow - a.runStations[k] + 0.5;
            queue.points.push_back({x(seconds + kBottleneckIntervalSeconds), edge});
            queue.points.push_back({x(seconds), edge});
        }
        overlays.push_back(std::move(queue));
    }
    return overlays;
}

}  // namespace quorvane
