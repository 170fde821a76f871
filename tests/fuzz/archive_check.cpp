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
        require(noData ? c == DetectorCounts{} : c.samples + c.implausible == kHealthSlots);
        require(c.zeroOccupancy + c.highOccupancy <= c.samples &&
                c.zeroVolumePositiveOccupancy + c.zeroOccupancyPositiveVolume <= c.samples &&
                c.longestConstantSlots <= c.samples && healthStatus(!noData, c) == grade.status);
    }
    require(!healthCsvText(health).empty() && !healthSummary(health).empty());
}

Unzip listedArchive(const std::filesystem::path& archive, bool wholeMemberInflate) {
    Unzip unzip;
    unzip.setWholeMemberInflate(wholeMemberInflate);
    unzip.setZipFileName(archive);
    unzip.zipList();
    return unzip;
}

// What a read made: its data (cleared after an error: it holds nothing in particular then),
// its log and its error. Occupancies are compared bit for bit.
struct Outcome {
    bool found = false;
    VolumeSeries vol{};
    OccupancySeries occ{};
    StationBuild build;
    std::string log;
    Error error{0, ""};

    bool operator==(const Outcome& o) const {
        return std::tie(found, vol, build.tables, build.health, log) ==
                   std::tie(o.found, o.vol, o.build.tables, o.build.health, o.log) &&
               std::memcmp(occ.data(), o.occ.data(), sizeof occ) == 0 &&
               std::pair(error.number(), error.description()) ==
                   std::pair(o.error.number(), o.error.description());
    }
};

Outcome outcome(const std::function<void(Outcome&, Log&)>& read) {
    Outcome result;
    Log log;
    try {
        read(result, log);
    } catch (const Error& error) {
        result = Outcome{.error = error};
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
    require(!report.empty() && report == streamed.memberReport());
    std::string stations;
    for (int i = 0; i < unzip.detCount() && i < 64; ++i) {
        const int16_t det = unzip.detNum(i);
        require(extract(unzip, det) == extract(streamed, det));
        // Every detector is graded by the build (checkHealth). Two detectors per station, plus one
        // that no archive holds.
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
    require(build(streamed, list, BuildOptions{0, 64}) == sequential);
    require(!threaded || build(unzip, list, BuildOptions{2, 4}) == sequential);
}

}  // namespace quorvane::fuzz
