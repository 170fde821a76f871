#include "views/typical_day.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <unordered_set>

#include "views/table_export.h"

namespace quorvane {

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

std::vector<const DaySummary*> builtSummaries(std::span<const DayResult> days) {
    std::vector<const DaySummary*> built;
    for (const DayResult& day : days) {
        if (day.summary) {
            built.push_back(&*day.summary);
        }
    }
    return built;
}

// Interval volumes are whole, so a median is whole or ends in ".5".
std::string volumeField(double volume) {
    if (std::isnan(volume)) {
        return {};
    }
    if (volume == std::floor(volume)) {
        return std::to_string(static_cast<long long>(volume));
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.1f", volume);
    return buffer;
}

}  // namespace

double median(std::span<double> values) {
    if (values.empty()) {
        return kNone;
    }
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    if (values.size() % 2 == 1) {
        return *middle;
    }
    // The lower middle is the largest of the values before the upper one.
    const double lower = *std::max_element(values.begin(), middle);
    return (lower + *middle) / 2.0;
}

TypicalDay typicalDay(std::span<const DayResult> days, std::span<const int16_t> stations) {
    const std::vector<const DaySummary*> built = builtSummaries(days);
    TypicalDay typical;
    typical.intervalCount = kIntervalChoices[kDaySetIntervalIndex].intervalCount;
    typical.stations.assign(stations.begin(), stations.end());
    typical.cells.reserve(stations.size() * static_cast<std::size_t>(typical.intervalCount));
    std::vector<int> rows(built.size());
    std::vector<double> volumes, occupancies, speeds;
    for (const int16_t station : stations) {
        for (std::size_t d = 0; d < built.size(); ++d) {
            rows[d] = built[d]->row(station);
        }
        for (int k = 0; k < typical.intervalCount; ++k) {
            volumes.clear();
            occupancies.clear();
            speeds.clear();
            for (std::size_t d = 0; d < built.size(); ++d) {
                if (rows[d] < 0) {
                    continue;  // a station absent from a day has no value that day
                }
                const IntervalValue& value = built[d]->intervals.at(rows[d], k);
                volumes.push_back(value.vol);
                occupancies.push_back(value.occ);
                const float speed = built[d]->speeds.at(static_cast<std::size_t>(rows[d]), k).speed;
                if (!std::isnan(speed)) {
                    speeds.push_back(speed);
                }
            }
            typical.cells.push_back({static_cast<int>(speeds.size()), median(volumes),
                                     median(occupancies), median(speeds)});
        }
    }
    return typical;
}

std::vector<int16_t> stationsOfDays(std::span<const DayResult> days) {
    std::vector<int16_t> stations;
    std::unordered_set<int16_t> seen;
    for (const DaySummary* day : builtSummaries(days)) {
        for (const StationRecord& record : day->stations.stationDefs()) {
            const auto number = static_cast<int16_t>(record.staNum);
            if (seen.insert(number).second) {
                stations.push_back(number);
            }
        }
    }
    return stations;
}

std::optional<std::vector<int16_t>> roadStationsOfDays(std::span<const DayResult> days,
                                                       std::string_view name) {
    for (const DaySummary* day : builtSummaries(days)) {
        if (const auto road = day->roads.findRoad(name)) {
            return day->roads.staList(*road);
        }
    }
    return std::nullopt;
}

std::vector<StationAbsence> stationAbsences(std::span<const DayResult> days,
                                            std::span<const int16_t> stations) {
    std::vector<StationAbsence> absences;
    for (const int16_t station : stations) {
        StationAbsence absence{station, {}};
        for (const DayResult& day : days) {
            if (day.summary && day.summary->row(station) < 0) {
                absence.missingFrom.push_back(day.file);
            }
        }
        if (!absence.missingFrom.empty()) {
            absences.push_back(std::move(absence));
        }
    }
    return absences;
}

std::string typicalText(const TypicalDay& typical) {
    std::string text(kTypicalHeader);
    text += '\n';
    const int seconds = kIntervalChoices[kDaySetIntervalIndex].intervalSeconds;
    for (int k = 0; k < typical.intervalCount; ++k) {
        const std::string time = formatHms(k * seconds) + ',';
        for (std::size_t i = 0; i < typical.stations.size(); ++i) {
            const TypicalCell& cell = typical.at(i, k);
            text += time;
            text += std::to_string(typical.stations[i]);
            text += ',';
            text += std::to_string(cell.speedDays);
            text += ',';
            text += volumeField(cell.volume);
            text += ',';
            text += std::isnan(cell.occupancy)
                        ? std::string()
                        : unpaddedOccupancy(static_cast<float>(cell.occupancy));
            text += ',';
            text += speedField(cell.speedKmh);
            text += '\n';
        }
    }
    return text;
}

std::vector<std::string> roadNamesOfDays(std::span<const DayResult> days) {
    std::vector<std::string> names;
    for (const DayResult& day : days) {
        if (!day.summary) {
            continue;
        }
        for (const RoadRecord& road : day.summary->roads.roadDefs()) {
            if (std::find(names.begin(), names.end(), road.roadName) == names.end()) {
                names.push_back(road.roadName);
            }
        }
    }
    return names;
}

}  // namespace quorvane
