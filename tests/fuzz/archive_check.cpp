#include "archive_check.h"

#include <cstring>
#include <string>

#include "base/error.h"
#include "base/log.h"
#include "core/detector_health.h"
#include "core/station_builder.h"
#include "views/health_report.h"
#include "core/unzip.h"
#include "definitions/station_list.h"
#include "fuzz_files.h"

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

Unzip listedArchive(const std::filesystem::path& archive, bool wholeMemberInflate) {
    Unzip unzip;
    unzip.setWholeMemberInflate(wholeMemberInflate);
    unzip.setZipFileName(archive);
    unzip.zipList();
    return unzip;
}

// What extractDet made of one detector: its result and series, or its error (after which
// the series hold nothing in particular).
struct Extraction {
    bool found = false;
    VolumeSeries vol{};
    OccupancySeries occ{};
    std::string log;
    int errorNumber = 0;
    std::string errorDescription;

    bool operator==(const Extraction& other) const {
        const bool sameSeries = found == other.found && vol == other.vol &&
                                std::memcmp(occ.data(), other.occ.data(), sizeof occ) == 0;
        return log == other.log && errorNumber == other.errorNumber &&
               errorDescription == other.errorDescription && (errorNumber != 0 || sameSeries);
    }
};

Extraction extract(const Unzip& unzip, int16_t det) {
    Extraction extraction;
    Log log;
    try {
        extraction.found = unzip.extractDet(det, extraction.vol, extraction.occ, log);
    } catch (const Error& error) {
        extraction.errorNumber = error.number();
        extraction.errorDescription = error.description();
    }
    extraction.log = log.logText();
    return extraction;
}

// A build's tables, grades and log, or its error.
struct Build {
    StationBuild built;
    std::string log;
    int errorNumber = 0;
    std::string errorDescription;

    bool operator==(const Build& other) const {
        return built.tables == other.built.tables && built.health == other.built.health &&
               log == other.log && errorNumber == other.errorNumber &&
               errorDescription == other.errorDescription;
    }
};

Build build(const Unzip& unzip, const StationList& list, const BuildOptions& options) {
    Build result;
    Log log;
    try {
        result.built = buildStations(unzip, list, log, {}, options);
        checkHealth(result.built.health);
    } catch (const Error& error) {
        result.errorNumber = error.number();
        result.errorDescription = error.description();
    }
    result.log = log.logText();
    return result;
}

}  // namespace

void exerciseArchive(const std::filesystem::path& archive, bool threaded) {
    const Unzip unzip = listedArchive(archive, true);
    // The same archive read by the streaming path alone: every outcome must be the same.
    const Unzip streamed = listedArchive(archive, false);
    const std::string report = unzip.memberReport();
    if (report.empty() || report != streamed.memberReport()) {
        broken();
    }
    std::string stations;
    for (int i = 0; i < unzip.detCount() && i < 64; ++i) {
        const int16_t det = unzip.detNum(i);
        const Extraction extracted = extract(unzip, det);
        if (!(extracted == extract(streamed, det))) {
            broken();
        }
        if (extracted.found && extracted.errorNumber == 0) {
            const DetectorCounts counts = countDetector(extracted.vol, extracted.occ);
            if (counts.samples + counts.implausible != kHealthSlots) {
                broken();
            }
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
    const Build sequential = build(unzip, list, BuildOptions{0, 64});
    if (!(build(streamed, list, BuildOptions{0, 64}) == sequential)) {
        broken();
    }
    if (!threaded) {
        return;
    }
    // On reader threads: the same error number (or none), log, tables and grades.
    const Build parallel = build(unzip, list, BuildOptions{2, 4});
    if (parallel.errorNumber != sequential.errorNumber || parallel.log != sequential.log ||
        (sequential.errorNumber == 0 && !(parallel.built.tables == sequential.built.tables &&
                                          parallel.built.health == sequential.built.health))) {
        broken();
    }
}

}  // namespace quorvane::fuzz
