#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "views/csv_export.h"
#include "views/request_checks.h"

namespace quorvane {

class Log;
class StationList;
struct Day;
struct IntervalTable;
struct SpeedTable;
struct SpeedSettings;

// The tidy table: one line per interval and station, read by data tools without options.
inline constexpr std::string_view kTableHeader = "time,station,volume,occupancy,speed_kmh,lanes";

// The occupancy as the CSV export writes it, without its leading zero padding: "5.30", "0.00".
std::string unpaddedOccupancy(float occ);
// A speed as the table writes it: one decimal, empty for no estimate (NaN).
std::string speedField(double speed);

// The table's text for intervals start..end inclusive: intervals in time order, the stations
// of `columns` in their order within each; LF line ends. `speeds` holds the rows of `columns`
// in the same order, in km/h, at the interval of `table`.
std::string tableText(const IntervalTable& table, const SpeedTable& speeds,
                      const StationList& stations, std::span<const CsvColumn> columns, int start,
                      int end);

// The export of the tidy table, refusing what the CSV export refuses: the range check, then
// every label looked up (the first missing station logs its entry and refuses before the file
// is touched), then the speeds by `speed` (taken in km/h) and the file written whole. The
// refusal's message, or none when the file was written. Throws Error (5 for a vehicle length
// outside 2 .. 30 m or a free-flow speed outside 60 .. 140 km/h).
std::optional<Refusal> exportTable(const std::filesystem::path& path, const Day& day,
                                   const IntervalTable& table, std::span<const std::string> labels,
                                   const RequestSelection& selection, const SpeedSettings& speed,
                                   Log& log);

}  // namespace quorvane
