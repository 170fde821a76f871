#include "archive_check.h"

#include <string>

#include "base/error.h"
#include "base/log.h"
#include "core/station_builder.h"
#include "core/unzip.h"
#include "definitions/station_list.h"
#include "fuzz_files.h"

namespace quorvane::fuzz {

void exerciseArchive(const std::filesystem::path& archive, bool threaded) {
    Unzip unzip;
    unzip.setZipFileName(archive);
    unzip.zipList();
    const std::string report = unzip.memberReport();
    if (report.empty()) {
        broken();
    }
    Log log;
    VolumeSeries vol{};
    OccupancySeries occ{};
    std::string stations;
    for (int i = 0; i < unzip.detCount() && i < 64; ++i) {
        const int16_t det = unzip.detNum(i);
        try {
            unzip.extractDet(det, vol, occ, log);
        } catch (const Error&) {
        }
        // Two detectors per station, plus one that no archive holds.
        if (i % 2 == 0) {
            stations += std::to_string(i) + ",P," + std::to_string(det);
        } else {
            stations += "," + std::to_string(det) + ",-32768,\n";
        }
    }
    if (stations.empty()) {
        return;
    }
    if (stations.back() != '\n') {
        stations += ",-32768,\n";
    }
    const StationList list = StationList::parse(stations);
    Log sequentialLog;
    StationTables sequential;
    bool sequentialFailed = false;
    try {
        sequential = buildStationTables(unzip, list, sequentialLog, {}, BuildOptions{0, 64});
    } catch (const Error&) {
        sequentialFailed = true;
    }
    if (!threaded) {
        return;
    }
    Log threadedLog;
    try {
        const StationTables tables =
            buildStationTables(unzip, list, threadedLog, {}, BuildOptions{2, 4});
        if (sequentialFailed || !(tables == sequential)) {
            broken();
        }
    } catch (const Error&) {
        if (!sequentialFailed) {
            broken();
        }
    }
    if (threadedLog.logText() != sequentialLog.logText()) {
        broken();
    }
}

}  // namespace quorvane::fuzz
