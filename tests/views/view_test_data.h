#pragma once

#include <string>
#include <vector>

#include "definitions/station_list.h"

namespace quorvane::test {

// A station list of the given numbers, one detector each.
inline StationList stationListOf(const std::vector<int>& numbers) {
    std::string text;
    for (const int number : numbers) {
        text += std::to_string(number) + ",P," + std::to_string(number * 10) + ",\r\n";
    }
    return StationList::parse(text);
}

}  // namespace quorvane::test
