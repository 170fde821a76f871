#include "core/day.h"

#include <string>
#include <utility>

#include "base/error.h"
#include "base/log.h"
#include "core/unzip.h"
#include "definitions/station_file.h"

namespace quorvane {

namespace {

void logCounts(const StationList& stations, const RoadList& roads, Log& log) {
    log.appendLog("Sta count=" + std::to_string(stations.count()) + std::string(kCrLf));
    log.appendLog("Road count=" + std::to_string(roads.count()) + std::string(kCrLf));
}

}  // namespace

Day buildDay(const BuildRequest& request, Log& log, const BuildHooks& hooks) {
    Unzip archive;
    archive.setZipFileName(request.archive);
    archive.zipList();
    if (request.zipInfo) {
        archive.writeMemberReport(*request.zipInfo, log);
    }
    Day day;
    day.stations = StationList::buildList(request.listDirectory);
    day.roads = RoadList::buildList(request.listDirectory);
    logCounts(day.stations, day.roads, log);
    StationBuild build = buildStations(archive, day.stations, log, hooks);
    day.tables = std::move(build.tables);
    day.health = std::move(build.health);
    return day;
}

Day loadDay(const std::filesystem::path& stationFile, const std::filesystem::path& listDirectory,
            Log& log) {
    Day day;
    day.tables = readStationFile(stationFile);
    day.stations = StationList::buildList(listDirectory);
    day.roads = RoadList::buildList(listDirectory);
    logCounts(day.stations, day.roads, log);
    // The views read one row per listed station; a file with fewer rows cannot serve them.
    if (day.tables.stationCount < day.stations.count()) {
        throw Error(errc::kSubscriptOutOfRange,
                    "Subscript out of range: " + stationFile.string() + " holds " +
                        std::to_string(day.tables.stationCount) +
                        " stations, the station list has " + std::to_string(day.stations.count()));
    }
    return day;
}

}  // namespace quorvane
