#include "cli/station_choice.h"

#include "cli/day_input.h"

namespace quorvane::cli {

void checkStationChoice(const Arguments& arguments) {
    const auto stations = arguments.value(kStationsOption.name);
    if (stations.has_value() == arguments.value(kRoadOption.name).has_value()) {
        throw UsageError("give either --stations or --road");
    }
    if (stations) {
        parseStationNumbers(*stations);
    }
}

std::vector<std::string> chosenStationLabels(const Arguments& arguments, const Day& day) {
    std::vector<std::string> labels;
    if (const auto numbers = arguments.value(kStationsOption.name)) {
        for (int16_t number : parseStationNumbers(*numbers)) {
            labels.push_back(std::to_string(number));
        }
        return labels;
    }
    for (int16_t number : day.roads.staList(roadIndex(day, *arguments.value(kRoadOption.name)))) {
        labels.push_back(std::to_string(number));
    }
    return labels;
}

}  // namespace quorvane::cli
