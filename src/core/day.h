#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "base/station_tables.h"
#include "core/calibration.h"
#include "core/detector_health.h"
#include "core/station_builder.h"
#include "definitions/road_list.h"
#include "definitions/station_list.h"
#include "definitions/station_positions.h"

namespace quorvane {

class Log;

// One day in force: the definition lists it was built or loaded with, its station tables and,
// for a day built from an archive, its detectors' health and the calibrated speed's sums (a
// ".station" file holds no detector values). Made whole by buildDay or loadDay; the program
// replaces the previous day only with a complete new one.
struct Day {
    StationList stations;
    RoadList roads;
    StationTables tables;
    std::optional<DetectorHealth> health;
    std::optional<CalibratedSums> calibration;
    // The optional station positions: in force, or not. Without them `positionsProblem` is empty
    // when there was no "VURStaPos.list", and otherwise says what is wrong with it (file, line,
    // fault), for every view that needs positions to refuse with.
    std::optional<StationPositions> positions;
    std::string positionsProblem;
};

struct BuildRequest {
    std::filesystem::path archive;
    std::filesystem::path listDirectory;           // where the two definition lists are
    std::optional<std::filesystem::path> zipInfo;  // write the member report here when set
};

// The build: member list (and report), both definition lists, "Sta count="/"Road count=" in the
// log, the station positions, then every station. `options` set how the members are read (a build
// among others running in parallel reads them on its own thread). Throws Error; the positions
// never stop it (a malformed list is one log line and the day's positionsProblem).
Day buildDay(const BuildRequest& request, Log& log, const BuildHooks& hooks = {},
             const BuildOptions& options = {});

// Where a build or load reads the two definition lists.
struct ListFolder {
    std::filesystem::path directory;
    bool besideData = false;  // the program's folder had no station list
};

// The program's folder when it holds "VURSta2Det.list"; otherwise the folder of `dataFile`
// (the archive or station file being opened), which an installed program needs, its own
// folder being /usr/bin. A fallback is logged in one line; the program's folder is not.
ListFolder chooseListFolder(const std::filesystem::path& programDirectory,
                            const std::filesystem::path& dataFile, Log& log);

// A ".traffic" archive is built, a ".station" file loaded; any other name is told apart by its
// first bytes (a zip archive starts with "PK").
bool isArchiveFile(const std::filesystem::path& dataFile);

// The load: both blocks of the station file, both definition lists, the counts in the log, the
// station positions as the build reads them.
// A file with fewer stations than the station list is refused (Error 9 naming both numbers).
Day loadDay(const std::filesystem::path& stationFile, const std::filesystem::path& listDirectory,
            Log& log);

}  // namespace quorvane
