// Any bytes as any definition list: a complete list or our Error, nothing else.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/error.h"
#include "definitions/road_list.h"
#include "definitions/station_list.h"
#include "definitions/station_positions.h"
#include "fuzz_files.h"

namespace {

// The positions are checked against a station list: the bytes' own when they make one (so that
// lines of either list can match), else a fixed one.
void checkPositions(std::string_view text, const quorvane::StationList& stations) {
    try {
        const quorvane::StationPositions positions =
            quorvane::StationPositions::parse(text, stations);
        for (const quorvane::StationPosition& position : positions.positions()) {
            quorvane::fuzz::require(stations.staIndex(position.staNum) >= 0);
            quorvane::fuzz::require(std::isfinite(position.postKm));
            quorvane::fuzz::require(positions.postKm(position.staNum) == position.postKm);
        }
    } catch (const quorvane::Error&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    static const quorvane::StationList kFixedStations =
        quorvane::StationList::parse("1,P,1,\n2,P,2,\n101,P,3,\n-5,P,4,\n");
    bool ownStations = false;
    try {
        const quorvane::StationList stations = quorvane::StationList::parse(text);
        // What the builder and the views ask of a list they were given.
        for (int i = 0; i < stations.count(); ++i) {
            const int16_t number = stations.staNumByIndex(i);
            quorvane::fuzz::require(!stations.detList(i, "P").empty());
            const int found = stations.staIndex(number);
            quorvane::fuzz::require(found >= 0 && stations.staNumByIndex(found) == number);
        }
        checkPositions(text, stations);
        ownStations = true;
    } catch (const quorvane::Error&) {
    }
    if (!ownStations) {
        checkPositions(text, kFixedStations);
    }
    try {
        const quorvane::RoadList roads = quorvane::RoadList::parse(text);
        for (int i = 0; i < roads.count(); ++i) {
            quorvane::fuzz::require(!roads.staList(i).empty());
        }
    } catch (const quorvane::Error&) {
    }
    return 0;
}
