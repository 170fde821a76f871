#include "core/day.h"

#include <fstream>
#include <string>
#include <system_error>
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

// The optional third list, read after the other two: a missing file says nothing (a day without
// it logs exactly what it always did); a malformed or unreadable one leaves the day without
// positions and logs why in one line.
void readPositions(Day& day, const std::filesystem::path& listDirectory, Log& log) {
    try {
        day.positions = StationPositions::readList(listDirectory, day.stations);
    } catch (const Error& error) {
        day.positionsProblem = error.description();
        log.appendLog(day.positionsProblem + std::string(kCrLf));
    }
}

}  // namespace

ListFolder chooseListFolder(const std::filesystem::path& programDirectory,
                            const std::filesystem::path& dataFile, Log& log) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(programDirectory / kStationListFileName, ec)) {
        return {programDirectory, false};
    }
    std::filesystem::path folder = std::filesystem::absolute(dataFile, ec).parent_path();
    if (ec) {
        folder = dataFile.parent_path();
    }
    log.appendLog("No " + std::string(kStationListFileName) +
                  " beside the program: definition lists read from " + folder.string() +
                  std::string(kCrLf));
    return {std::move(folder), true};
}

bool isArchiveFile(const std::filesystem::path& dataFile) {
    if (dataFile.extension() == ".traffic") {
        return true;
    }
    if (dataFile.extension() == ".station") {
        return false;
    }
    std::ifstream file(dataFile, std::ios::binary);
    char magic[2] = {};
    file.read(magic, 2);
    return file && magic[0] == 'P' && magic[1] == 'K';
}

Day buildDay(const BuildRequest& request, Log& log, const BuildHooks& hooks,
             const BuildOptions& options) {
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
    readPositions(day, request.listDirectory, log);
    StationBuild build = buildStations(archive, day.stations, log, hooks, options);
    day.tables = std::move(build.tables);
    day.health = std::move(build.health);
    day.calibration = std::move(build.calibration);
    return day;
}

Day loadDay(const std::filesystem::path& stationFile, const std::filesystem::path& listDirectory,
            Log& log) {
    Day day;
    day.tables = readStationFile(stationFile);
    day.stations = StationList::buildList(listDirectory);
    day.roads = RoadList::buildList(listDirectory);
    logCounts(day.stations, day.roads, log);
    readPositions(day, listDirectory, log);
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
