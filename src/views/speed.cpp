#include "views/speed.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include "base/error.h"
#include "core/day.h"
#include "definitions/station_list.h"
#include "views/interval_table.h"

namespace quorvane {

namespace {

constexpr float kNoSpeed = std::numeric_limits<float>::quiet_NaN();

std::string fixed(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

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

// One station's row of the table, appended to `out` (written once: a whole day at "30 sec" is
// tens of megabytes). `lanes` is empty when every slot counts `listedLanes`.
void computeStation(std::span<const int16_t> volume, std::span<const float> occupancy,
                    std::span<const uint8_t> lanes, int listedLanes, const IntervalChoice& choice,
                    const SpeedSettings& settings, std::vector<SpeedCell>& out) {
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
        if (slots == 0) {
            out.push_back({kNoSpeed, 0.0f});
            continue;
        }
        const double meanLanes = static_cast<double>(laneSum) / slots;
        const double flow = flowPerLaneHour(static_cast<double>(vehicles), meanLanes, slots);
        out.push_back({static_cast<float>(estimatedSpeed(flow, occupancySum / slots, settings)),
                       static_cast<float>(meanLanes)});
    }
}

}  // namespace

bool acceptedVehicleLength(double metres) {
    return metres >= kShortestVehicleMetres && metres <= kLongestVehicleMetres;
}

bool acceptedFreeFlowSpeed(const SpeedSettings& settings) {
    return acceptedFreeFlowKmh(settings.freeFlowKmh());
}

SpeedEstimate estimateInForce(const Day& day, const SpeedSettings& settings) {
    return settings.estimate == SpeedEstimate::Calibrated && day.calibration
               ? SpeedEstimate::Calibrated
               : SpeedEstimate::FixedLength;
}

std::string speedEstimateNote(const Day& day, const SpeedSettings& settings) {
    if (settings.estimate == SpeedEstimate::Calibrated && !day.calibration) {
        return std::string(kLoadedDaySpeedNote);
    }
    if (settings.estimate == SpeedEstimate::FixedLength) {
        return "Speed from a fixed vehicle length of " + fixed(settings.vehicleLength, 1) + " " +
               std::string(unitInfo(settings.unit).lengthUnit) + ".";
    }
    int good = 0;
    int calibrated = 0;
    if (day.health) {
        for (const DetectorGrade& grade : day.health->detectors) {
            good += grade.status == HealthStatus::Good ? 1 : 0;
            calibrated += grade.fit.calibrated(settings.freeFlowKmh()) ? 1 : 0;
        }
    }
    return "Speed from each detector's g-factor at a free-flow speed of " +
           fixed(settings.freeFlowSpeed, 1) + " " + std::string(unitInfo(settings.unit).text) +
           ": " + std::to_string(calibrated) + " of " + std::to_string(good) +
           " good detectors calibrated.";
}

SpeedTable computeSpeeds(const Day& day, std::span<const int> rows, int intervalIndex,
                         const SpeedSettings& settings) {
    if (estimateInForce(day, settings) == SpeedEstimate::Calibrated) {
        for (const int row : rows) {
            checkRow(day.tables, day.stations, row);
        }
        return calibratedSpeeds(*day.calibration, rows, intervalIndex, settings);
    }
    return fixedLengthSpeeds(day.tables, day.stations, rows, intervalIndex, settings);
}

SpeedTable selectSpeedRows(const SpeedTable& table, std::span<const int> rows) {
    SpeedTable selected;
    selected.intervalIndex = table.intervalIndex;
    selected.intervalCount = table.intervalCount;
    selected.unit = table.unit;
    selected.estimate = table.estimate;
    selected.rows.assign(rows.begin(), rows.end());
    selected.cells.reserve(rows.size() * static_cast<std::size_t>(table.intervalCount));
    for (const int row : rows) {
        const auto at = std::find(table.rows.begin(), table.rows.end(), row);
        if (at == table.rows.end()) {
            throw Error(errc::kInternalError,
                        "Internal error: station row " + std::to_string(row) + " has no speeds");
        }
        const auto first =
            table.cells.begin() +
            (at - table.rows.begin()) * static_cast<std::ptrdiff_t>(table.intervalCount);
        selected.cells.insert(selected.cells.end(), first, first + table.intervalCount);
    }
    return selected;
}

SpeedTable fixedLengthSpeeds(const StationTables& tables, const StationList& stations,
                             std::span<const int> rows, int intervalIndex,
                             const SpeedSettings& settings) {
    if (!acceptedVehicleLength(settings.vehicleMetres())) {
        throw Error(errc::kInvalidArgument, "Invalid procedure call or argument: vehicle length " +
                                                fixed(settings.vehicleMetres(), 2) +
                                                " m is outside 2 .. 30 m");
    }
    checkLanes(tables);
    for (const int row : rows) {
        checkRow(tables, stations, row);
    }
    SpeedTable table;
    table.intervalIndex = normalizedIntervalIndex(intervalIndex);
    const IntervalChoice& choice = kIntervalChoices[static_cast<std::size_t>(table.intervalIndex)];
    table.intervalCount = choice.intervalCount;
    table.unit = settings.unit;
    table.estimate = SpeedEstimate::FixedLength;
    table.rows.assign(rows.begin(), rows.end());
    table.cells.reserve(rows.size() * static_cast<std::size_t>(choice.intervalCount));
    for (const int row : rows) {
        const int listedLanes =
            tables.lanes.empty() ? static_cast<int>(stations.detList(row, "P").size()) : 0;
        computeStation(tables.volumeOf(row), tables.occupancyOf(row), tables.lanesOf(row),
                       listedLanes, choice, settings, table.cells);
    }
    return table;
}

}  // namespace quorvane
