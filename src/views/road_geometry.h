#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "views/request_checks.h"

namespace quorvane {

class Log;
struct Day;

inline constexpr std::string_view kPositionsMissingMessage =
    "Station positions are needed: VURStaPos.list was not found beside the definition lists.";
// The second line of the refusal of a road station missing from the station list.
inline constexpr std::string_view kUnableToMeasureLine = "Unable to measure the road.";

// Where a road's stations stand, and the length each stands for: what every measure along a road
// (vehicle-kilometres, travel time, bottlenecks) weighs its stations by.
struct RoadGeometry {
    int road = 0;  // index in the road list
    std::string name;
    std::vector<int> rows;          // station rows (station list positions) in road order
    std::vector<int16_t> stations;  // station numbers in road order
    std::vector<double> postsKm;    // kilometre posts in road order, strictly monotone
    std::vector<double> lengthsKm;  // L of each station (half the gaps to its neighbours)

    // The road's length: sum of L = |last post - first post|.
    double lengthKm() const;
    // |postsKm[i+1] - postsKm[i]|
    double gapKm(std::size_t i) const;
};

// The first station of the road, in road order, that the station list lacks.
std::optional<int16_t> firstMissingStation(const Day& day, int road);

// The road's geometry, or the refusal of a road it cannot be had for, checked in this order: a
// station missing from the station list (as the road graphs refuse it); no positions (the file
// missing, or the problem of a malformed one); a station without a position; a road of one
// station; posts not strictly increasing or strictly decreasing in road order. Throws Error 9
// for a road outside the road list.
std::variant<RoadGeometry, Refusal> roadGeometry(const Day& day, int road);
// The same, a station missing from the station list also logged as the road graphs log it.
std::variant<RoadGeometry, Refusal> roadGeometry(const Day& day, int road, Log& log);

}  // namespace quorvane
