#include "archive_check.h"

#include <cstring>
#include <string>

#include "base/error.h"
#include "base/log.h"
#include "core/station_builder.h"
#include "core/unzip.h"
#include "definitions/station_list.h"
#include "fuzz_files.h"

namespace quorvane::fuzz {

namespace {

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

// A build's tables and log, or its error.
struct Build {
    StationTables tables;
    std::string log;
    int errorNumber = 0;
    std::string errorDescription;

    bool operator==(const Build& other) const {
        return tables == other.tables && log == other.log && errorNumber == other.errorNumber &&
               errorDescription == other.errorDescription;
    }
};

Build build(const Unzip& unzip, const StationList& list, const BuildOptions& options) {
    Build result;
    Log log;
    try {
        result.tables = buildStationTables(unzip, list, log, {}, options);
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
        if (!(extract(unzip, det) == extract(streamed, det))) {
            broken();
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
    // On reader threads: the same error number (or none), log and tables.
    const Build parallel = build(unzip, list, BuildOptions{2, 4});
    if (parallel.errorNumber != sequential.errorNumber || parallel.log != sequential.log ||
        (sequential.errorNumber == 0 && !(parallel.tables == sequential.tables))) {
        broken();
    }
}

}  // namespace quorvane::fuzz
