#pragma once

#include <string>
#include <vector>

#include "base/station_tables.h"
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

// Sets the first slots of one station from `volumes` and `occupancies` (same length).
inline void setSlots(StationTables& tables, int station, int firstSlot,
                     const std::vector<int16_t>& volumes, const std::vector<float>& occupancies) {
    for (std::size_t i = 0; i < volumes.size(); ++i) {
        const int slot = firstSlot + static_cast<int>(i);
        tables.volume[StationTables::cell(slot, station)] = volumes[i];
        tables.occupancy[StationTables::cell(slot, station)] = occupancies[i];
    }
}

}  // namespace quorvane::test
