// Any bytes as a ".station" file: checked tables or our Error, never more tables than the
// bytes hold.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "base/error.h"
#include "definitions/station_file.h"
#include "fuzz_files.h"

namespace {

bool sameBits(const quorvane::StationTables& a, const quorvane::StationTables& b) {
    return a.stationCount == b.stationCount && a.volume == b.volume &&
           a.occupancy.size() == b.occupancy.size() &&
           std::memcmp(a.occupancy.data(), b.occupancy.data(), a.occupancy.size() * 4) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using quorvane::fuzz::broken;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    bool decoded = false;
    quorvane::StationTables tables;
    try {
        tables = quorvane::decodeStationFile(bytes, "fuzz.station");
        decoded = true;
        if (tables.stationCount < 1 || quorvane::stationFileSize(tables.stationCount) > size ||
            tables.volume.size() != tables.occupancy.size() ||
            tables.volume.size() != static_cast<std::size_t>(tables.stationCount) * 2880) {
            broken();
        }
        // What is written back reads as the same tables.
        if (!sameBits(quorvane::decodeStationFile(quorvane::encodeStationFile(tables), "again"),
                      tables)) {
            broken();
        }
    } catch (const quorvane::Error&) {
    }
    // The file reader must agree with the decoder.
    const auto path = quorvane::fuzz::writeInput({data, size}, ".station");
    try {
        const quorvane::StationTables read = quorvane::readStationFile(path);
        if (!decoded || !sameBits(read, tables)) {
            broken();
        }
    } catch (const quorvane::Error&) {
        if (decoded) {
            broken();
        }
    }
    return 0;
}
