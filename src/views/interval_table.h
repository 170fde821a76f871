#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/station_tables.h"

namespace quorvane {

class Log;
class StationList;

struct IntervalChoice {
    std::string_view text;  // the entry of the interval list
    int intervalSeconds;
    int slotsPerInterval;
    int intervalCount;  // intervals per day
};

inline constexpr std::array<IntervalChoice, 10> kIntervalChoices{{
    {"30 sec", 30, 1, 2880},
    {"1 min", 60, 2, 1440},
    {"2 min", 120, 4, 720},
    {"3 min", 180, 6, 480},
    {"4 min", 240, 8, 360},
    {"5 min", 300, 10, 288},
    {"10 min", 600, 20, 144},
    {"15 min", 900, 30, 96},
    {"30 min", 1800, 60, 48},
    {"1 hour", 3600, 120, 24},
}};

// Any index outside 0..9 (no entry selected) is "30 sec".
int normalizedIntervalIndex(int index);
// The index of an entry text, compared exactly.
std::optional<int> intervalIndexForText(std::string_view text);

struct IntervalValue {
    float occ = 0.0f;
    int16_t vol = 0;
    friend bool operator==(const IntervalValue&, const IntervalValue&) = default;
};

// IntervalData and IntervalTime: the station tables re-aggregated at one interval.
struct IntervalTable {
    int intervalIndex = 0;  // into kIntervalChoices
    int stationCount = 0;
    int intervalCount = 0;
    std::vector<IntervalValue> data;  // [station * intervalCount + k]

    const IntervalChoice& choice() const { return kIntervalChoices[intervalIndex]; }
    const IntervalValue& at(int station, int k) const {
        return data[static_cast<std::size_t>(station) * intervalCount + k];
    }
    std::span<const IntervalValue> row(int station) const {
        return {data.data() + static_cast<std::size_t>(station) * intervalCount,
                static_cast<std::size_t>(intervalCount)};
    }
    // Seconds after midnight at which interval k starts.
    int startSeconds(int k) const { return k * choice().intervalSeconds; }
    // IntervalTime entry k: days since 1899-12-30 with a zero day part.
    double intervalTime(int k) const { return startSeconds(k) / 86400.0; }
};

// RecomputeIntervals' computation for the first `stations.count()` rows of `tables`.
// The volume sum of an interval outside the 16-bit range is clamped, with a log line naming
// the station and the interval. `stationDone(s, n)` runs after each station.
// Throws Error when the tables hold fewer rows than the list (9), or an occupancy sum leaves the
// 32-bit range (6; values from a foreign file). With no stations in the list the result is empty
// (stationCount 0, no data) and stationDone never runs: the caller keeps the table it has.
IntervalTable recomputeIntervals(const StationTables& tables, const StationList& stations,
                                 int intervalIndex, Log& log,
                                 const std::function<void(int done, int total)>& stationDone = {});

// "hh:mm:ss" for a number of seconds after midnight.
std::string formatHms(int secondsOfDay);
// "HH:MM:SS" or "HH:MM" to seconds after midnight; empty when malformed.
std::optional<int> parseTimeOfDay(std::string_view text);

}  // namespace quorvane
