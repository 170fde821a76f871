#include "views/table_export.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "base/error.h"
#include "base/file_io.h"
#include "core/day.h"
#include "definitions/station_list.h"
#include "views/interval_table.h"
#include "views/speed.h"

namespace quorvane {

namespace {

std::string fixed(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

std::vector<int> rowsOf(std::span<const CsvColumn> columns) {
    std::vector<int> rows;
    rows.reserve(columns.size());
    for (const CsvColumn& column : columns) {
        rows.push_back(column.row);
    }
    return rows;
}

}  // namespace

std::string unpaddedOccupancy(float occ) {
    std::string text = formatOccupancy(occ);
    const std::size_t digits = text.starts_with('-') ? 1 : 0;
    const std::size_t point = text.find('.');
    std::size_t zeros = 0;
    while (point != std::string::npos && digits + zeros + 1 < point &&
           text[digits + zeros] == '0') {
        ++zeros;
    }
    text.erase(digits, zeros);
    return text;
}

std::string speedField(double speed) {
    return std::isnan(speed) ? std::string() : fixed(speed, 1);
}

std::string tableText(const IntervalTable& table, const SpeedTable& speeds,
                      const StationList& stations, std::span<const CsvColumn> columns, int start,
                      int end) {
    checkExportRange(table, columns, start, end);
    if (speeds.rows != rowsOf(columns) || speeds.intervalIndex != table.intervalIndex ||
        speeds.unit != SpeedUnit::Kmh) {
        throw Error(errc::kInternalError,
                    "Internal error: the speeds do not match the table's stations and interval");
    }
    std::string text(kTableHeader);
    text += '\n';
    for (int k = start; k <= end; ++k) {
        const std::string time = formatHms(table.startSeconds(k)) + ',';
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const int row = columns[i].row;
            const IntervalValue& value = table.at(row, k);
            const SpeedCell& speed = speeds.at(i, k);
            text += time;
            text += std::to_string(stations.staNumByIndex(row));
            text += ',';
            text += std::to_string(value.vol);
            text += ',';
            text += unpaddedOccupancy(value.occ);
            text += ',';
            text += speedField(speed.speed);
            text += ',';
            text += fixed(speed.lanes, 2);
            text += '\n';
        }
    }
    return text;
}

std::optional<Refusal> exportTable(const std::filesystem::path& path, const Day& day,
                                   const IntervalTable& table, std::span<const std::string> labels,
                                   const RequestSelection& selection, const SpeedSettings& speed,
                                   Log& log) {
    const SpeedSettings kmh = speed.inUnit(SpeedUnit::Kmh);
    if (!acceptedVehicleLength(kmh.vehicleMetres())) {
        throw Error(errc::kInvalidArgument, "Invalid procedure call or argument: vehicle length " +
                                                fixed(kmh.vehicleMetres(), 2) +
                                                " m is outside 2 .. 30 m");
    }
    if (const auto refusal = checkRangeRequest(selection)) {
        return Refusal{std::string(*refusal)};
    }
    const auto resolved = resolveCsvColumns(labels, day.stations, log);
    if (const auto* missing = std::get_if<CsvMissingStation>(&resolved)) {
        return Refusal{missing->message()};
    }
    const auto& columns = std::get<std::vector<CsvColumn>>(resolved);
    const std::vector<int> rows = rowsOf(columns);
    const SpeedTable speeds = computeSpeeds(day, rows, table.intervalIndex, kmh);
    writeFileReplacing(
        path, tableText(table, speeds, day.stations, columns, *selection.start, *selection.end));
    return std::nullopt;
}

}  // namespace quorvane
