#include "views/speed.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "base/error.h"
#include "definitions/station_list.h"
#include "views/interval_table.h"

namespace quorvane {

namespace {

constexpr float kNoSpeed = std::numeric_limits<float>::quiet_NaN();

void checkRow(const StationTables& tables, const StationList& stations, int row) {
    if (row < 0 || row >= tables.stationCount || row >= stations.count()) {
        throw Error(errc::kSubscriptOutOfRange,
                    "Subscript out of range: speed of station row " + std::to_string(row) +
                        " of tables of " + std::to_string(tables.stationCount) +
                        " stations and a list of " + std::to_string(stations.count()));
    }
}

void checkLanes(const StationTables& tables) {
    if (!tables.lanes.empty() && tables.lanes.size() != tables.volume.size()) {
        throw Error(errc::kInternalError, "Internal error: the station tables hold " +
                                              std::to_string(tables.lanes.size()) +
                                              " lane counts for " +
                                              std::to_string(tables.volume.size()) + " cells");
    }
}

// One station's row of the table. `lanes` is empty when every slot counts `listedLanes`.
void computeStation(std::span<const int16_t> volume, std::span<const float> occupancy,
                    std::span<const uint8_t> lanes, int listedLanes, const IntervalChoice& choice,
                    const SpeedSettings& settings, std::span<SpeedCell> out) {
    for (int k = 0; k < choice.intervalCount; ++k) {
        const int first = k * choice.slotsPerInterval;
        int64_t vehicles = 0;
        int64_t laneSum = 0;
        double occupancySum = 0.0;
        int slots = 0;
        for (int slot = first; slot < first + choice.slotsPerInterval; ++slot) {
            const int counted = lanes.empty() ? listedLanes : lanes[static_cast<std::size_t>(slot)];
            if (counted > 0) {
                vehicles += volume[static_cast<std::size_t>(slot)];
                laneSum += counted;
                occupancySum += occupancy[static_cast<std::size_t>(slot)];
                ++slots;
            }
        }
        SpeedCell& cell = out[static_cast<std::size_t>(k)];
        if (slots == 0) {
            cell = {kNoSpeed, 0.0f};
            continue;
        }
        const double meanLanes = static_cast<double>(laneSum) / slots;
        const double flow = flowPerLaneHour(static_cast<double>(vehicles), meanLanes, slots);
        cell.speed = static_cast<float>(estimatedSpeed(flow, occupancySum / slots, settings));
        cell.lanes = static_cast<float>(meanLanes);
    }
}

}  // namespace

bool acceptedVehicleLength(double metres) {
    return metres >= kShortestVehicleMetres && metres <= kLongestVehicleMetres;
}

double flowPerLaneHour(double vehicles, double lanes, int slots) {
    return (vehicles / lanes) * 3600.0 / (kSlotSeconds * slots);
}

double estimatedSpeed(double flowPerLaneHour, double occupancyPercent,
                      const SpeedSettings& settings) {
    const SpeedUnitInfo& unit = unitInfo(settings.unit);
    if (!(occupancyPercent > 0.0)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    const double speed =
        flowPerLaneHour * settings.vehicleLength / (unit.divisor * occupancyPercent);
    if (!(speed >= 0.0) || std::isinf(speed)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return std::min(speed, unit.cap);
}

SpeedTable computeSpeeds(const StationTables& tables, const StationList& stations,
                         std::span<const int> rows, int intervalIndex,
                         const SpeedSettings& settings) {
    checkLanes(tables);
    for (const int row : rows) {
        checkRow(tables, stations, row);
    }
    SpeedTable table;
    table.intervalIndex = normalizedIntervalIndex(intervalIndex);
    const IntervalChoice& choice = kIntervalChoices[static_cast<std::size_t>(table.intervalIndex)];
    table.intervalCount = choice.intervalCount;
    table.unit = settings.unit;
    table.rows.assign(rows.begin(), rows.end());
    table.cells.resize(rows.size() * static_cast<std::size_t>(choice.intervalCount));
    std::span<SpeedCell> cells(table.cells);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int row = rows[i];
        const int listedLanes =
            tables.lanes.empty() ? static_cast<int>(stations.detList(row, "P").size()) : 0;
        computeStation(tables.volumeOf(row), tables.occupancyOf(row), tables.lanesOf(row),
                       listedLanes, choice, settings,
                       cells.subspan(i * static_cast<std::size_t>(choice.intervalCount),
                                     static_cast<std::size_t>(choice.intervalCount)));
    }
    return table;
}

}  // namespace quorvane
