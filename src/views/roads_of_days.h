#pragma once

// The roads of a set of days: which days list a road, which place it (so that its travel times
// and bottlenecks were found), and which leave it out.

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "views/day_set.h"
#include "views/request_checks.h"

namespace quorvane {

// None when some day built places the road; otherwise the refusal naming it with the reason of
// the first day built that lists it ("No day places the road "X": ..."). Throws Error 5 when no
// day built lists it.
std::optional<Refusal> roadPlacement(std::span<const DayResult> days, std::string_view road);
// None when some day built places some road; otherwise the refusal with the first day's reason.
std::optional<Refusal> anyRoadPlacement(std::span<const DayResult> days);

// A road that some days built do not place (or do not list): the files of those days.
struct RoadAbsence {
    std::string road;
    std::vector<std::filesystem::path> missingFrom;
};
std::vector<RoadAbsence> roadAbsences(std::span<const DayResult> days,
                                      std::span<const std::string> roads);
// "Road "Ring": not measured in d3.traffic d4.traffic" (no line end).
std::string roadAbsenceLine(const RoadAbsence& absence);

}  // namespace quorvane
