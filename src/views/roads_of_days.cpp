#include "views/roads_of_days.h"

#include <algorithm>

#include "base/error.h"

namespace quorvane {

namespace {

const RoadLeftOut* leftOut(const DaySummary& summary, std::string_view road) {
    const auto& roads = summary.roadsLeftOut;
    const auto found = std::find_if(roads.begin(), roads.end(),
                                    [road](const RoadLeftOut& r) { return r.road == road; });
    return found == roads.end() ? nullptr : &*found;
}

}  // namespace

std::optional<Refusal> roadPlacement(std::span<const DayResult> days, std::string_view road) {
    const RoadLeftOut* first = nullptr;
    for (const DayResult& day : days) {
        if (!day.summary) {
            continue;
        }
        if (travelTimesOf(*day.summary, road) != nullptr) {
            return std::nullopt;
        }
        if (first == nullptr) {
            first = leftOut(*day.summary, road);
        }
    }
    if (first == nullptr) {
        throw Error(errc::kInvalidArgument, "Road \"" + std::string(road) + "\" is not in the " +
                                                std::string(kRoadListFileName) + " of any day");
    }
    return Refusal{"No day places the road \"" + std::string(road) + "\": " + first->reason};
}

std::optional<Refusal> anyRoadPlacement(std::span<const DayResult> days) {
    const RoadLeftOut* first = nullptr;
    for (const DayResult& day : days) {
        if (!day.summary) {
            continue;
        }
        if (!day.summary->travelTimes.empty()) {
            return std::nullopt;
        }
        if (first == nullptr && !day.summary->roadsLeftOut.empty()) {
            first = &day.summary->roadsLeftOut.front();
        }
    }
    if (first == nullptr) {
        return std::nullopt;  // no day built, or no roads: nothing to refuse for
    }
    return Refusal{"No day places a road: " + first->reason};
}

std::vector<RoadAbsence> roadAbsences(std::span<const DayResult> days,
                                      std::span<const std::string> roads) {
    std::vector<RoadAbsence> absences;
    for (const std::string& road : roads) {
        RoadAbsence absence{road, {}};
        for (const DayResult& day : days) {
            if (day.summary && travelTimesOf(*day.summary, road) == nullptr) {
                absence.missingFrom.push_back(day.file);
            }
        }
        if (!absence.missingFrom.empty()) {
            absences.push_back(std::move(absence));
        }
    }
    return absences;
}

std::string roadAbsenceLine(const RoadAbsence& absence) {
    std::string line = "Road \"" + absence.road + "\": not measured in";
    for (const std::filesystem::path& file : absence.missingFrom) {
        line += ' ';
        line += file.string();
    }
    return line;
}

}  // namespace quorvane
