#include "views/road_picture.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/log.h"
#include "core/day.h"
#include "views/interval_table.h"

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
    if (measure == RoadMeasure::Speed) {
        // Computed for the whole day, so that the smoothing never depends on the range shown.
        speeds = computeSpeeds(day, rows, table.intervalIndex, speed);
        picture.estimate = speeds.estimate;
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
                    picture.values.push_back(speeds.at(i, t).speed);
                    break;
            }
        }
    }
    return picture;
}

}  // namespace quorvane
