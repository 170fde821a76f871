#include "views/many_days_picture.h"

#include <cmath>
#include <limits>
#include <string>

#include "core/day.h"
#include "views/typical_day.h"

namespace quorvane {

namespace {

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

// The road's stations and their typical day, or the refusal of a road no day has.
struct RoadTypical {
    std::vector<int16_t> stations;
    TypicalDay typical;
};

std::variant<RoadTypical, Refusal> roadTypical(std::span<const DayResult> days,
                                               std::string_view road) {
    const auto stations = roadStationsOfDays(days, road);
    if (!stations || stations->empty()) {
        return Refusal{"Road \"" + std::string(road) + "\" is in none of the days built."};
    }
    return RoadTypical{*stations, typicalDay(days, *stations)};
}

// A picture of the road's stations over the day's five-minute intervals, values to be added.
RoadPicture emptyPicture(RoadMeasure measure, std::string_view road,
                         const std::vector<int16_t>& stations, int intervals, SpeedUnit unit) {
    RoadPicture picture;
    picture.measure = measure;
    picture.roadName = std::string(road);
    picture.stations = stations;
    picture.unit = unit;
    const int seconds = kIntervalChoices[kDaySetIntervalIndex].intervalSeconds;
    for (int k = 0; k < intervals; ++k) {
        picture.times.push_back(k * seconds / 86400.0);
    }
    picture.values.reserve(stations.size() * static_cast<std::size_t>(intervals));
    return picture;
}

double typicalSpeed(const TypicalDay& typical, std::size_t station, int k, SpeedUnit unit) {
    const TypicalCell& cell = typical.at(station, k);
    return cell.speedDays > 0 ? cell.speedKmh / unitInfo(unit).kmPerUnit : kNoValue;
}

}  // namespace

std::variant<RoadPicture, Refusal> typicalSpeedPicture(std::span<const DayResult> days,
                                                       std::string_view road, SpeedUnit unit) {
    auto found = roadTypical(days, road);
    if (auto* refusal = std::get_if<Refusal>(&found)) {
        return std::move(*refusal);
    }
    const RoadTypical& road_ = std::get<RoadTypical>(found);
    const TypicalDay& typical = road_.typical;
    RoadPicture picture =
        emptyPicture(RoadMeasure::Speed, road, road_.stations, typical.intervalCount, unit);
    for (int k = 0; k < typical.intervalCount; ++k) {
        for (std::size_t i = 0; i < road_.stations.size(); ++i) {
            picture.values.push_back(typicalSpeed(typical, i, k, unit));
        }
    }
    return picture;
}

std::variant<RoadPicture, Refusal> speedDifferencePicture(const Day& day,
                                                          std::span<const DayResult> days,
                                                          std::string_view road,
                                                          const SpeedSettings& speed) {
    auto found = roadTypical(days, road);
    if (auto* refusal = std::get_if<Refusal>(&found)) {
        return std::move(*refusal);
    }
    const RoadTypical& road_ = std::get<RoadTypical>(found);
    const TypicalDay& typical = road_.typical;
    // The day's own rows of the road's stations; those it lacks stay gaps.
    std::vector<int> rows;
    std::vector<int> speedIndex(road_.stations.size(), -1);
    for (std::size_t i = 0; i < road_.stations.size(); ++i) {
        const int row = day.stations.staIndex(road_.stations[i]);
        if (row >= 0 && row < day.tables.stationCount) {
            speedIndex[i] = static_cast<int>(rows.size());
            rows.push_back(row);
        }
    }
    const SpeedTable speeds = computeSpeeds(day, rows, kDaySetIntervalIndex, speed);
    RoadPicture picture = emptyPicture(RoadMeasure::SpeedDifference, road, road_.stations,
                                       typical.intervalCount, speed.unit);
    picture.estimate = speeds.estimate;
    for (int k = 0; k < typical.intervalCount; ++k) {
        for (std::size_t i = 0; i < road_.stations.size(); ++i) {
            const double own = speedIndex[i] < 0
                                   ? kNoValue
                                   : speeds.at(static_cast<std::size_t>(speedIndex[i]), k).speed;
            // NaN on either side stays NaN: a gap.
            picture.values.push_back(own - typicalSpeed(typical, i, k, speed.unit));
        }
    }
    return picture;
}

}  // namespace quorvane
