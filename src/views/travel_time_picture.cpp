#include "views/travel_time_picture.h"

#include <cstdio>

#include "views/reliability.h"
#include "views/road_measures.h"

namespace quorvane {

namespace {

std::string decimals(double value, int places) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", places, value);
    return buffer;
}

}  // namespace

TravelTimePicture travelTimePicture(const RoadMeasures& measures, int start, int end,
                                    std::string_view intervalText) {
    const std::string unit(unitInfo(measures.unit).text);
    const std::string distance = measures.unit == SpeedUnit::Mph ? " mi" : " km";
    const RoadGeometry& road = measures.geometry;
    TravelTimePicture picture;
    picture.caption = "Travel Time Graph: " + std::string(intervalText) + " Data";
    picture.titleLines = {"Road: " + road.name, "Station " + std::to_string(road.stations.front()) +
                                                    " to " + std::to_string(road.stations.back()) +
                                                    ", " + decimals(measures.lengthInUnit(), 2) +
                                                    distance};
    picture.freeFlowMinutes = measures.freeFlowMinutes();
    picture.freeFlowTitle = "Free flow (" + decimals(measures.freeFlowSpeed, 1) + " " + unit + ")";
    for (int k = start; k <= end; ++k) {
        const IntervalMeasures& interval = measures.intervals[static_cast<std::size_t>(k)];
        picture.times.push_back(measures.startSeconds(k) / 86400.0);
        picture.instantaneousMinutes.push_back(interval.travelMinutes);
        picture.experiencedMinutes.push_back(interval.experiencedMinutes);
    }
    return picture;
}

TravelTimePicture reliabilityPicture(const RoadReliability& reliability, int days,
                                     double freeFlowKmh) {
    TravelTimePicture picture;
    picture.caption = "Travel Time Reliability: " + reliability.road + ", " + std::to_string(days) +
                      (days == 1 ? " day" : " days");
    picture.titleLines = {"Road: " + reliability.road, decimals(reliability.lengthKm, 2) +
                                                           " km over " + std::to_string(days) +
                                                           (days == 1 ? " day" : " days")};
    picture.freeFlowMinutes = reliability.freeFlowMinutes;
    picture.freeFlowTitle = "Free flow (" + decimals(freeFlowKmh, 1) + " km/h)";
    picture.seriesTitles = {"Mean", "95th percentile"};
    for (std::size_t k = 0; k < reliability.intervals.size(); ++k) {
        const ReliabilityInterval& interval = reliability.intervals[k];
        picture.times.push_back(reliability.startSeconds(static_cast<int>(k)) / 86400.0);
        picture.instantaneousMinutes.push_back(interval.meanMinutes);
        picture.experiencedMinutes.push_back(interval.p95Minutes);
    }
    return picture;
}

}  // namespace quorvane
