#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

#include "views/request_checks.h"
#include "views/road_measures.h"

namespace quorvane {

class Log;
struct Day;
struct IntervalTable;

// One line per interval, read by data tools without options.
inline constexpr std::string_view kMeasuresHeader =
    "time,vkt,vht,delay_vh,speed_kmh,travel_time_min,experienced_travel_time_min,unmeasured_share";

// The measures of road `road` for the request, refused as the road graphs refuse: the range
// check, then a road station missing from the station list (its log entry appended, as the
// road graphs log it), then what roadGeometry refuses. Throws Error (5 for settings outside what
// is accepted).
std::variant<RoadMeasures, Refusal> measureRoad(const Day& day, const IntervalTable& table,
                                                int road, const RequestSelection& selection,
                                                const SpeedSettings& speed, double thresholdKmh,
                                                Log& log);

// The file's text for intervals start..end (measures in km/h; Error 51 otherwise): hh:mm:ss,
// VKT to a tenth, VHT, delay and both travel times to a hundredth, the speed to a tenth, the
// unmeasured share to a thousandth; an empty field where there is no value; LF line ends.
std::string measuresCsvText(const RoadMeasures& measures, int start, int end);

// "Whole day: VKT 1234.5, VHT 12.34, delay 0.12 vehicle-hours, speed 98.7 km/h, unmeasured
// share 0.000"; a part of the day is named by its clock times ("07:00:00 to 09:00:00: ...").
std::string totalsLine(const RoadMeasures& measures, const PeriodTotals& totals);

// What the batch command and the window's "Export CSV..." write: measureRoad in km/h, then the
// file replaced whole. The refusal (nothing written), or the totals line of the range.
struct MeasuresWritten {
    std::string totals;
};
std::variant<MeasuresWritten, Refusal> exportRoadMeasures(
    const std::filesystem::path& path, const Day& day, const IntervalTable& table, int road,
    const RequestSelection& selection, const SpeedSettings& speed, double thresholdKmh, Log& log);

}  // namespace quorvane
