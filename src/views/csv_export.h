#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "views/request_checks.h"

namespace quorvane {

class Log;
class StationList;
struct IntervalTable;

// One station column pair of the file: its label (the list entry text) and its table row.
struct CsvColumn {
    std::string label;
    int row = 0;
};

// The refusal for a station missing from the station list: its log entry has been appended.
struct CsvMissingStation {
    std::string label;
    std::string message()
        const;  // "Station: N does not exist.\r\nUnable to generate the csv file."
};

// Looks every label up before anything is written. A label that is no 16-bit number throws
// Error 13; the first missing station logs "Station = N doesn't exist." CR LF and is returned.
std::variant<std::vector<CsvColumn>, CsvMissingStation> resolveCsvColumns(
    std::span<const std::string> labels, const StationList& stations, Log& log);

// Refuses (Error 9) a range start..end outside the table or a column outside its rows.
void checkExportRange(const IntervalTable& table, std::span<const CsvColumn> columns, int start,
                      int end);

// The "00.00" format: two digits before the point at least, two decimals, halves away from
// zero (of the value's shortest decimal form).
std::string formatOccupancy(float occ);
// A signed integer field: " 7 ", "-3 ".
std::string formatVolume(int value);

// The whole file's text for intervals start..end inclusive.
std::string csvText(const IntervalTable& table, std::span<const CsvColumn> columns, int start,
                    int end);
// ExportCsv's writing: replaces `path` only once the file is complete. Throws Error.
void writeCsvFile(const std::filesystem::path& path, const IntervalTable& table,
                  std::span<const CsvColumn> columns, int start, int end);

// ExportCsv: the range check, then every label looked up (the first missing station logs its
// entry and refuses before the file is touched), then the file written whole. The refusal's
// message, or none when the file was written. Throws Error.
std::optional<Refusal> exportCsv(const std::filesystem::path& path, const IntervalTable& table,
                                 const StationList& stations, std::span<const std::string> labels,
                                 const RequestSelection& selection, Log& log);

inline constexpr std::string_view kCsvSavedMessage = "Saving done.";

}  // namespace quorvane
