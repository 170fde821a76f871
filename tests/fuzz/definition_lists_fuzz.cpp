// Any bytes as either definition list: a complete list or our Error, nothing else.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/error.h"
#include "definitions/road_list.h"
#include "definitions/station_list.h"
#include "fuzz_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const quorvane::StationList stations = quorvane::StationList::parse(text);
        // What the builder and the views ask of a list they were given.
        for (int i = 0; i < stations.count(); ++i) {
            const int16_t number = stations.staNumByIndex(i);
            quorvane::fuzz::require(!stations.detList(i, "P").empty());
            const int found = stations.staIndex(number);
            quorvane::fuzz::require(found >= 0 && stations.staNumByIndex(found) == number);
        }
    } catch (const quorvane::Error&) {
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
