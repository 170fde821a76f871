#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "views/day_set.h"

namespace quorvane {

// The middle value of `values` (reordered); of an even count the mean of the middle two. NaN
// for none.
double median(std::span<double> values);

// One station and five-minute interval of the typical day. The volume and occupancy medians are
// over every day that has the station, the speed median over the days with a speed estimate
// there; NaN where no day has a value.
struct TypicalCell {
    int speedDays = 0;  // days with a speed estimate
    double volume = 0.0;
    double occupancy = 0.0;
    double speedKmh = 0.0;
};

// The typical day of some stations: their medians over the days built, interval by interval.
struct TypicalDay {
    int intervalCount = 0;
    std::vector<int16_t> stations;   // in the order asked for
    std::vector<TypicalCell> cells;  // [i * intervalCount + k] for stations[i]

    const TypicalCell& at(std::size_t i, int k) const {
        return cells[i * static_cast<std::size_t>(intervalCount) + static_cast<std::size_t>(k)];
    }
};

// The medians of `stations` over the days of `days` that were built (the others are skipped).
TypicalDay typicalDay(std::span<const DayResult> days, std::span<const int16_t> stations);

// Every station of the days built: those of the first one in its list order, then those only
// later days have, in the order they first appear.
std::vector<int16_t> stationsOfDays(std::span<const DayResult> days);

// The stations of the road `name` (exactly) in road order, from the first day built whose road
// list has it; none when no day has it.
std::optional<std::vector<int16_t>> roadStationsOfDays(std::span<const DayResult> days,
                                                       std::string_view name);

// The names of the roads of the days built, in the order they first appear.
std::vector<std::string> roadNamesOfDays(std::span<const DayResult> days);

// A station of `stations` that some days built lack: the files of those days.
struct StationAbsence {
    int16_t station = 0;
    std::vector<std::filesystem::path> missingFrom;
};
std::vector<StationAbsence> stationAbsences(std::span<const DayResult> days,
                                            std::span<const int16_t> stations);

// The typical day as a tidy table, one line per interval and station (the stations in their
// order within each interval), LF line ends. Volume and occupancy as the tidy table writes them,
// a volume that is the mean of two middles with its ".5"; speed with one decimal; empty where no
// day has a value.
inline constexpr std::string_view kTypicalHeader = "time,station,days,volume,occupancy,speed_kmh";
std::string typicalText(const TypicalDay& typical);

}  // namespace quorvane
