#include "views/csv_export.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "base/error.h"
#include "base/file_io.h"
#include "base/log.h"
#include "base/text.h"
#include "definitions/station_list.h"
#include "views/interval_table.h"
#include "views/request_checks.h"

namespace quorvane {

namespace {

// The label as a 16-bit station number; blanks around it are allowed, as the list's entry
// conversion allows them.
std::optional<int16_t> stationNumber(std::string_view label) {
    const auto begin = label.find_first_not_of(' ');
    if (begin == std::string_view::npos) {
        return std::nullopt;
    }
    label = label.substr(begin, label.find_last_not_of(' ') - begin + 1);
    int value = 0;
    const auto [end, ec] = std::from_chars(label.data(), label.data() + label.size(), value);
    if (ec != std::errc() || end != label.data() + label.size() ||
        value < std::numeric_limits<int16_t>::min() ||
        value > std::numeric_limits<int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int16_t>(value);
}

}  // namespace

void checkExportRange(const IntervalTable& table, std::span<const CsvColumn> columns, int start,
                      int end) {
    if (start < 0 || end >= table.intervalCount || start > end) {
        throw Error(errc::kSubscriptOutOfRange,
                    "Subscript out of range: intervals " + std::to_string(start) + " to " +
                        std::to_string(end) + " of a table of " +
                        std::to_string(table.intervalCount) + " intervals");
    }
    for (const CsvColumn& column : columns) {
        if (column.row < 0 || column.row >= table.stationCount) {
            throw Error(errc::kSubscriptOutOfRange,
                        "Subscript out of range: station " + column.label + " at row " +
                            std::to_string(column.row) + " of a table of " +
                            std::to_string(table.stationCount) + " stations");
        }
    }
}

namespace {

// Adds one to a string of decimal digits.
void incrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

}  // namespace

std::string CsvMissingStation::message() const {
    return missingStationLine(label) + std::string(kCrLf) + "Unable to generate the csv file.";
}

std::variant<std::vector<CsvColumn>, CsvMissingStation> resolveCsvColumns(
    std::span<const std::string> labels, const StationList& stations, Log& log) {
    std::vector<CsvColumn> columns;
    columns.reserve(labels.size());
    for (const std::string& label : labels) {
        const std::optional<int16_t> number = stationNumber(label);
        if (!number) {
            throw Error(errc::kTypeMismatch,
                        "Type mismatch: the station entry \"" + label + "\" is no station number");
        }
        const int row = stations.staIndex(*number);
        if (row < 0) {
            log.appendLog("Station = " + label + " doesn't exist.");
            log.appendLog(kCrLf);
            return CsvMissingStation{label};
        }
        columns.push_back(CsvColumn{label, row});
    }
    return columns;
}

std::string formatOccupancy(float occ) {
    char buffer[128];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, occ, std::chars_format::fixed);
    std::string_view text(buffer, result.ptr);
    if (!std::isfinite(occ)) {
        return std::string(text);  // "nan", "inf", "-inf": no table value is one
    }
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) {
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    std::string fraction(point == std::string_view::npos ? "" : text.substr(point + 1));
    fraction.resize(std::max<std::size_t>(fraction.size(), 3), '0');

    // Halves away from zero: the third decimal alone decides, the shortest form being exact.
    std::string digits(whole);
    digits += fraction.substr(0, 2);
    if (fraction[2] >= '5') {
        incrementDigits(digits);
    }
    while (digits.size() < 4) {
        digits.insert(digits.begin(), '0');
    }
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    std::string out = negative && !zero ? "-" : "";
    out.append(digits, 0, digits.size() - 2);
    out += '.';
    out.append(digits, digits.size() - 2, 2);
    return out;
}

std::string formatVolume(int value) {
    return reportNumber(value);
}

std::string csvText(const IntervalTable& table, std::span<const CsvColumn> columns, int start,
                    int end) {
    checkExportRange(table, columns, start, end);
    std::string text;
    // A data line holds the time and about 14 characters per station.
    text.reserve(static_cast<std::size_t>(end - start + 2) * (10 + 16 * columns.size()));
    for (const CsvColumn& column : columns) {
        text += ',';
        text += column.label;
        text += ".occ,";
        text += column.label;
        text += ".vol";
    }
    text += kCrLf;
    for (int k = start; k <= end; ++k) {
        text += formatHms(table.startSeconds(k));
        for (const CsvColumn& column : columns) {
            const IntervalValue& value = table.at(column.row, k);
            text += ',';
            text += formatOccupancy(value.occ);
            text += ',';
            text += formatVolume(value.vol);
        }
        text += kCrLf;
    }
    return text;
}

void writeCsvFile(const std::filesystem::path& path, const IntervalTable& table,
                  std::span<const CsvColumn> columns, int start, int end) {
    const std::string text = csvText(table, columns, start, end);
    writeFileReplacing(path, text);
}

std::optional<Refusal> exportCsv(const std::filesystem::path& path, const IntervalTable& table,
                                 const StationList& stations, std::span<const std::string> labels,
                                 const RequestSelection& selection, Log& log) {
    if (const auto refusal = checkRangeRequest(selection)) {
        return Refusal{std::string(*refusal)};
    }
    const auto columns = resolveCsvColumns(labels, stations, log);
    if (const auto* missing = std::get_if<CsvMissingStation>(&columns)) {
        return Refusal{missing->message()};
    }
    writeCsvFile(path, table, std::get<std::vector<CsvColumn>>(columns), *selection.start,
                 *selection.end);
    return std::nullopt;
}

}  // namespace quorvane
