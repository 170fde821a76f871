#include "views/road_measures_export.h"

#include <cmath>
#include <cstdio>

#include "base/error.h"
#include "base/file_io.h"
#include "base/log.h"
#include "core/day.h"
#include "views/interval_table.h"

namespace quorvane {

namespace {

// The value with `decimals` decimals, or nothing for no value.
std::string field(double value, int decimals) {
    if (std::isnan(value)) {
        return {};
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

}  // namespace

std::variant<RoadMeasures, Refusal> measureRoad(const Day& day, const IntervalTable& table,
                                                int road, const RequestSelection& selection,
                                                const SpeedSettings& speed, double thresholdKmh,
                                                Log& log) {
    if (const auto refusal = checkRangeRequest(selection)) {
        return Refusal{std::string(*refusal)};
    }
    auto geometry = roadGeometry(day, road, log);
    if (auto* refusal = std::get_if<Refusal>(&geometry)) {
        return std::move(*refusal);
    }
    if (*selection.end >= table.intervalCount) {
        throw Error(errc::kSubscriptOutOfRange, "Subscript out of range: interval " +
                                                    std::to_string(*selection.end) + " of " +
                                                    std::to_string(table.intervalCount));
    }
    return computeRoadMeasures(day, table, std::get<RoadGeometry>(geometry), speed, thresholdKmh);
}

std::string measuresCsvText(const RoadMeasures& measures, int start, int end) {
    if (measures.unit != SpeedUnit::Kmh) {
        throw Error(errc::kInternalError, "Internal error: the measures file is written in km/h");
    }
    if (start < 0 || end >= measures.intervalCount() || start > end) {
        throw Error(errc::kSubscriptOutOfRange,
                    "Subscript out of range: intervals " + std::to_string(start) + " .. " +
                        std::to_string(end) + " of " + std::to_string(measures.intervalCount()));
    }
    std::string text(kMeasuresHeader);
    text += '\n';
    for (int k = start; k <= end; ++k) {
        const IntervalMeasures& interval = measures.intervals[static_cast<std::size_t>(k)];
        const TrafficSums& sums = interval.sums;
        text += formatHms(measures.startSeconds(k));
        for (const std::string& value :
             {field(sums.vkt, 1), field(sums.vht, 2), field(sums.delay, 2), field(sums.speed(), 1),
              field(interval.travelMinutes, 2), field(interval.experiencedMinutes, 2),
              field(sums.unmeasuredShare(), 3)}) {
            text += ',';
            text += value;
        }
        text += '\n';
    }
    return text;
}

std::string totalsLine(const RoadMeasures& measures, const PeriodTotals& totals) {
    constexpr int kSecondsPerDay = 86400;
    const bool wholeDay = totals.startSeconds == 0 && totals.endSeconds == kSecondsPerDay;
    const std::string period =
        wholeDay ? "Whole day"
                 : formatHms(totals.startSeconds) + " to " +
                       (totals.endSeconds == kSecondsPerDay ? std::string("24:00:00")
                                                            : formatHms(totals.endSeconds));
    const bool miles = measures.unit == SpeedUnit::Mph;
    const TrafficSums& sums = totals.sums;
    const std::string speed =
        std::isnan(sums.speed())
            ? std::string("no speed estimate")
            : "speed " + field(sums.speed(), 1) + " " + std::string(unitInfo(measures.unit).text);
    const std::string share = std::isnan(sums.unmeasuredShare())
                                  ? std::string("no traffic")
                                  : "unmeasured share " + field(sums.unmeasuredShare(), 3);
    return period + ": " + (miles ? "VMT " : "VKT ") + field(sums.vkt, 1) + ", VHT " +
           field(sums.vht, 2) + ", delay " + field(sums.delay, 2) + " vehicle-hours, " + speed +
           ", " + share;
}

std::variant<MeasuresWritten, Refusal> exportRoadMeasures(
    const std::filesystem::path& path, const Day& day, const IntervalTable& table, int road,
    const RequestSelection& selection, const SpeedSettings& speed, double thresholdKmh, Log& log) {
    auto measured =
        measureRoad(day, table, road, selection, speed.inUnit(SpeedUnit::Kmh), thresholdKmh, log);
    if (auto* refusal = std::get_if<Refusal>(&measured)) {
        return std::move(*refusal);
    }
    const RoadMeasures& measures = std::get<RoadMeasures>(measured);
    const int start = *selection.start;
    const int end = *selection.end;
    writeFileReplacing(path, measuresCsvText(measures, start, end));
    return MeasuresWritten{totalsLine(measures, totalsOver(measures, start, end))};
}

}  // namespace quorvane
