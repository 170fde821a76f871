#include "views/road_geometry.h"

#include <cmath>
#include <cstdio>

#include "base/log.h"
#include "core/day.h"

namespace quorvane {

namespace {

std::string kilometres(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.3f km", value);
    return buffer;
}

// Half of each gap to the station's neighbours, so that the lengths add up to the road's.
std::vector<double> stationLengths(const std::vector<double>& posts) {
    std::vector<double> lengths(posts.size(), 0.0);
    for (std::size_t i = 0; i + 1 < posts.size(); ++i) {
        const double half = std::abs(posts[i + 1] - posts[i]) / 2.0;
        lengths[i] += half;
        lengths[i + 1] += half;
    }
    return lengths;
}

// The first pair of neighbours that breaks the direction the first gap sets, or none.
std::optional<std::size_t> firstBreak(const std::vector<double>& posts) {
    const bool increasing = posts[1] > posts[0];
    for (std::size_t i = 0; i + 1 < posts.size(); ++i) {
        const bool strict = increasing ? posts[i + 1] > posts[i] : posts[i + 1] < posts[i];
        if (!strict) {
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace

double RoadGeometry::lengthKm() const {
    double sum = 0.0;
    for (const double length : lengthsKm) {
        sum += length;
    }
    return sum;
}

double RoadGeometry::gapKm(std::size_t i) const {
    return std::abs(postsKm[i + 1] - postsKm[i]);
}

std::optional<int16_t> firstMissingStation(const Day& day, int road) {
    for (const int16_t number : day.roads.staList(road)) {
        if (day.stations.staIndex(number) < 0) {
            return number;
        }
    }
    return std::nullopt;
}

std::variant<RoadGeometry, Refusal> roadGeometry(const Day& day, int road, Log& log) {
    if (const auto missing = firstMissingStation(day, road)) {
        log.appendLog(
            missingRoadStationEntry(day.roads.roadByIndex(road), std::to_string(*missing)));
    }
    return roadGeometry(day, road);
}

std::variant<RoadGeometry, Refusal> roadGeometry(const Day& day, int road) {
    RoadGeometry geometry;
    geometry.road = road;
    geometry.name = day.roads.roadByIndex(road);
    geometry.stations = day.roads.staList(road);
    if (const auto missing = firstMissingStation(day, road)) {
        return Refusal{missingStationLine(std::to_string(*missing)) + std::string(kCrLf) +
                       std::string(kUnableToMeasureLine)};
    }
    if (!day.positions) {
        return Refusal{day.positionsProblem.empty() ? std::string(kPositionsMissingMessage)
                                                    : day.positionsProblem};
    }
    for (const int16_t number : geometry.stations) {
        const auto post = day.positions->postKm(number);
        if (!post) {
            return Refusal{"Station " + std::to_string(number) + " of the road " + geometry.name +
                           " has no position in " + std::string(kStationPositionsFileName) + "."};
        }
        geometry.rows.push_back(day.stations.staIndex(number));
        geometry.postsKm.push_back(*post);
    }
    if (geometry.stations.size() < 2) {
        return Refusal{"The road " + geometry.name +
                       " has one station: its measures need a road of two stations or more."};
    }
    if (const auto at = firstBreak(geometry.postsKm)) {
        const std::size_t i = *at;
        return Refusal{"The positions along the road " + geometry.name +
                       " are not strictly increasing or strictly decreasing: station " +
                       std::to_string(geometry.stations[i]) + " at " +
                       kilometres(geometry.postsKm[i]) + ", then station " +
                       std::to_string(geometry.stations[i + 1]) + " at " +
                       kilometres(geometry.postsKm[i + 1]) + "."};
    }
    geometry.lengthsKm = stationLengths(geometry.postsKm);
    return geometry;
}

}  // namespace quorvane
