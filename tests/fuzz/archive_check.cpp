#include "archive_check.h"

#include <string>

#include "base/error.h"
#include "base/log.h"
#include "core/detector_health.h"
#include "core/station_builder.h"
#include "core/unzip.h"
#include "definitions/station_list.h"
#include "fuzz_files.h"
#include "views/health_report.h"

namespace quorvane::fuzz {

namespace {

// Whatever a detector's members hold, its counts add up within the window and its status is
// the one they give; the report writes every row.
void checkHealth(const DetectorHealth& health) {
    for (const DetectorGrade& grade : health.detectors) {
        const DetectorCounts& c = grade.counts;
        const bool noData = grade.status == HealthStatus::NoData;
        if ((noData && !(c == DetectorCounts{})) ||
            (!noData && c.samples + c.implausible != kHealthSlots) ||
            c.zeroOccupancy + c.highOccupancy > c.samples ||
            c.zeroVolumePositiveOccupancy + c.zeroOccupancyPositiveVolume > c.samples ||
            c.longestConstantSlots > c.samples || healthStatus(!noData, c) != grade.status) {
            broken();
        }
    }
    if (healthCsvText(health).empty() || healthSummary(health).empty()) {
        broken();
    }
}

}  // namespace

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
            if (unzip.extractDet(det, vol, occ, log)) {
                const DetectorCounts counts = countDetector(vol, occ);
                if (counts.samples + counts.implausible != kHealthSlots) {
                    broken();
                }
            }
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
    StationBuild sequential;
    bool sequentialFailed = false;
    try {
        sequential = buildStations(unzip, list, sequentialLog, {}, BuildOptions{0, 64});
        checkHealth(sequential.health);
    } catch (const Error&) {
        sequentialFailed = true;
    }
    if (!threaded) {
        return;
    }
    Log threadedLog;
    try {
        const StationBuild onReaders =
            buildStations(unzip, list, threadedLog, {}, BuildOptions{2, 4});
        if (sequentialFailed || !(onReaders.tables == sequential.tables) ||
            !(onReaders.health == sequential.health)) {
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
