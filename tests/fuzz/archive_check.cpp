#include "archive_check.h"

#include <cstring>
#include <functional>
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

Unzip listedArchive(const std::filesystem::path& archive, bool wholeMemberInflate) {
    Unzip unzip;
    unzip.setWholeMemberInflate(wholeMemberInflate);
    unzip.setZipFileName(archive);
    unzip.zipList();
    return unzip;
}

// What a read made: its series (when it raised no error; after an error they hold nothing in
// particular), its log and its error.
struct Outcome {
    bool found = false;
    VolumeSeries vol{};
    OccupancySeries occ{};
    StationBuild build;
    std::string log;
    int errorNumber = 0;
    std::string errorDescription;

    bool operator==(const Outcome& other) const {
        const bool sameData = found == other.found && vol == other.vol &&
                              std::memcmp(occ.data(), other.occ.data(), sizeof occ) == 0 &&
                              build.tables == other.build.tables &&
                              build.health == other.build.health;
        return log == other.log && errorNumber == other.errorNumber &&
               errorDescription == other.errorDescription && (errorNumber != 0 || sameData);
    }
};

Outcome outcome(const std::function<void(Outcome&, Log&)>& read) {
    Outcome result;
    Log log;
    try {
        read(result, log);
    } catch (const Error& error) {
        result.errorNumber = error.number();
        result.errorDescription = error.description();
    }
    result.log = log.logText();
    return result;
}

Outcome extract(const Unzip& unzip, int16_t det) {
    return outcome(
        [&](Outcome& o, Log& log) { o.found = unzip.extractDet(det, o.vol, o.occ, log); });
}

Outcome build(const Unzip& unzip, const StationList& list, const BuildOptions& options) {
    return outcome([&](Outcome& o, Log& log) {
        o.build = buildStations(unzip, list, log, {}, options);
        checkHealth(o.build.health);
    });
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
        const Outcome extracted = extract(unzip, det);
        if (!(extracted == extract(streamed, det))) {
            broken();
        }
        const DetectorCounts counts = countDetector(extracted.vol, extracted.occ);
        if (extracted.found && extracted.errorNumber == 0 &&
            counts.samples + counts.implausible != kHealthSlots) {
            broken();
        }
        // Two detectors per station, plus one that no archive holds.
        stations += i % 2 == 0 ? std::to_string(i) + ",P," + std::to_string(det)
                               : "," + std::to_string(det) + ",-32768,\n";
    }
    if (stations.empty()) {
        return;
    }
    if (stations.back() != '\n') {
        stations += ",-32768,\n";
    }
    const StationList list = StationList::parse(stations);
    const Outcome sequential = build(unzip, list, BuildOptions{0, 64});
    // On reader threads too: the same error (or none), log, tables and grades.
    if (!(build(streamed, list, BuildOptions{0, 64}) == sequential) ||
        (threaded && !(build(unzip, list, BuildOptions{2, 4}) == sequential))) {
        broken();
    }
}

}  // namespace quorvane::fuzz
