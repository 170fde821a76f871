// The station build (combination, read-ahead threads, hooks) and the day's build and load.
#include "core/station_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>

#include "archive_fixture.h"
#include "base/log.h"
#include "core/day.h"
#include "definitions/station_file.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;
using namespace quorvane::test;

// One slot's combination of detectors given as (volume, occupancy), in both modes; `found`
// marks the detectors that extractDet found (all when empty). Expected: the volume sum, the
// average and the worst-case occupancy, and the lanes (detectors that count).
struct Slot {
    std::vector<std::pair<int, float>> detectors;
    int volume;
    float average;
    float worst;
    int lanes;
    std::vector<bool> found = {};
};

TEST(CombineStation, DropsImplausibleValuesThenSumsVolumesAndAveragesOrMaximisesOccupancy) {
    const Slot slots[] = {
        {{{10, 5.0f}, {12, 7.0f}}, 22, 6.0f, 7.0f, 2},
        // Both ends of the occupancy range count; a zero volume does not drop a detector.
        {{{10, 100.0f}, {12, 0.0f}}, 22, 50.0f, 100.0f, 2},
        {{{0, 0.0f}, {0, 0.0f}, {0, 3.0f}}, 0, 1.0f, 3.0f, 3},
        {{{10, 4.0f}, {0, 0.0f}, {12, 8.0f}}, 22, 6.0f, 8.0f, 2, {true, false, true}},
        // The single-precision sum over the count.
        {{{1, 0.1f}, {1, 0.7f}, {1, 33.3f}}, 3, ((0.1f + 0.7f) + 33.3f) / 3.0f, 33.3f, 3},
        // A volume above 40 drops the detector from both measures.
        {{{41, 9.0f}, {12, 7.0f}}, 12, 7.0f, 7.0f, 1},
        {{{40, 9.0f}, {12, 7.0f}}, 52, 8.0f, 9.0f, 2},
        {{{255, 99.0f}}, 0, 0.0f, 0.0f, 0},  // no detector counted: 0, not 0 / 0
        // An occupancy outside 0 .. 100 % drops it from the occupancy only.
        {{{10, 150.0f}, {12, 7.0f}}, 22, 7.0f, 7.0f, 1},
        {{{10, -0.1f}, {12, 7.0f}}, 22, 7.0f, 7.0f, 1},
        {{{10, 100.1f}, {12, 7.0f}}, 22, 7.0f, 7.0f, 1},
        {{{10, -1.0f}, {20, 101.0f}}, 30, 0.0f, 0.0f, 0},
    };
    for (const Slot& slot : slots) {
        for (const OccMode mode : {OccMode::Average, OccMode::WorstCase}) {
            std::vector<DetectorDay> detectors(slot.detectors.size());
            for (std::size_t j = 0; j < detectors.size(); ++j) {
                detectors[j].found = slot.found.empty() || slot.found[j];
                detectors[j].vol[17] = static_cast<uint8_t>(slot.detectors[j].first);
                detectors[j].occ[17] = slot.detectors[j].second;
            }
            std::vector<int16_t> volume(kSlotsPerDay, -1);
            std::vector<float> occupancy(kSlotsPerDay, -1.0f);
            std::vector<uint8_t> lanes(kSlotsPerDay, 99);
            combineStation(detectors, mode, volume, occupancy, lanes);
            EXPECT_EQ(std::pair(volume[16], occupancy[16]), std::pair(int16_t{0}, 0.0f));
            EXPECT_EQ(std::tuple(volume[17], occupancy[17], lanes[17]),
                      std::tuple(slot.volume, mode == OccMode::Average ? slot.average : slot.worst,
                                 slot.lanes))
                << slot.detectors[0].first << " " << slot.detectors[0].second;
        }
    }
}

TEST(CombineStation, VolumeSumBeyond16BitsOverflowsAndLanesStopAt255) {
    std::vector<DetectorDay> detectors(820);
    for (DetectorDay& detector : detectors) {
        detector.found = true;
        detector.vol[5] = 40;
    }
    std::vector<int16_t> volume(kSlotsPerDay);
    std::vector<float> occupancy(kSlotsPerDay);
    std::vector<uint8_t> lanes(kSlotsPerDay);
    EXPECT_EQ(
        errorOf([&] { combineStation(detectors, OccMode::Average, volume, occupancy); }).number(),
        errc::kOverflow);
    detectors.pop_back();  // 819 * 40 = 32760 still fits
    combineStation(detectors, OccMode::Average, volume, occupancy, lanes);
    EXPECT_EQ(std::pair(volume[5], lanes[5]), std::pair(int16_t{32760}, uint8_t{255}));
}

// `stationCount` stations of `dets` detectors (numbers 1000 + 10 * station + j) whose values
// vary by slot and detector, some implausible; also a missing detector, a volume-only one,
// "c30" members, stored members (streamed where deflated ones are inflated whole), and the
// members shuffled.
ListedDay flawedDay(int stationCount, int dets) {
    std::string lines;
    std::vector<ZipMember> members;
    std::vector<uint8_t> vol(kSlotsPerDay);
    std::vector<int16_t> occ(kSlotsPerDay);
    for (int s = 0; s < stationCount; ++s) {
        lines += std::to_string(s + 1) + ",P";
        for (int j = 0; j < dets; ++j) {
            const int det = 1000 + 10 * s + j;
            lines += ',';
            lines += std::to_string(det);
            // Every third detector is light traffic that calibrates, its g-factor varying
            // from detector to detector; the others are mostly implausible.
            const bool light = det % 3 == 0;
            for (int k = 0; k < kSlotsPerDay; ++k) {
                vol[k] = static_cast<uint8_t>(light ? 2 + (7 * k + det) % 9 : (7 * k + det) % 44);
                occ[k] = static_cast<int16_t>(light ? 10 + (13 * k + 31 * det) % (20 + det % 60)
                                                    : (13 * k + 31 * det) % 1100 - 50);
            }
            if (s % 7 != 3 || j != 0) {
                members.push_back({std::to_string(det) + ".v30", volumeBytes(vol), s % 3 == 1});
            }
            if (s % 11 != 5 || j != 1) {
                const char* ext = s % 5 == 2 ? ".c30" : ".o30";
                members.push_back({std::to_string(det) + ext, occupancyBytes(occ)});
            }
        }
        lines += ",\r\n";
    }
    std::shuffle(members.begin(), members.end(), std::mt19937(42));
    return ListedDay(lines, members);
}

// Station 7 lacks detector 2; of station 8, detector 4 is absent and 5 has only its volume;
// station 9 is whole.
ListedDay smallDay() {
    const std::vector<ZipMember> members{
        {"1.v30", volumeBytes(10)},     {"1.o30", occupancyBytes(50)}, {"3.v30", volumeBytes(12)},
        {"3.o30", occupancyBytes(90)},  {"5.v30", volumeBytes(9)},     {"6.v30", volumeBytes(30)},
        {"6.c30", occupancyBytes(1000)}};
    return ListedDay("7,P,1,2,3,\r\n8,P,4,5,\r\n9,P,6,3,\r\n", members);
}

// The occupancy mode is asked anew before every station (the window's option may change).
TEST(BuildStationTables, MissingDetectorsAreLoggedPerStation) {
    const ListedDay day = smallDay();
    std::vector<std::string> calls;
    BuildHooks hooks;
    hooks.occMode = [&] {
        calls.push_back("mode");
        return calls.size() > 2 ? OccMode::WorstCase : OccMode::Average;
    };
    hooks.started = [&](int total) { calls.push_back("started " + std::to_string(total)); };
    hooks.stationDone = [&](int station, int total) {
        calls.push_back(std::to_string(station) + "/" + std::to_string(total));
    };
    Log log;
    const StationTables tables = buildStationTables(day.archive, day.stations, log, hooks);
    EXPECT_EQ(calls,
              (std::vector<std::string>{"started 3", "mode", "0/3", "mode", "1/3", "mode", "2/3"}));
    EXPECT_EQ(std::pair(tables.vol(0, 0), tables.occ(0, 0)), std::pair(int16_t{22}, 7.0f));
    EXPECT_EQ(std::pair(tables.vol(2879, 1), tables.occ(2879, 1)), std::pair(int16_t{0}, 0.0f));
    EXPECT_EQ(tables.vol(100, 2), 42);
    EXPECT_FLOAT_EQ(tables.occ(100, 2), static_cast<float>(1000.0 / 18.0));  // the worst case
    EXPECT_EQ(log.logText(), "Station: 7: Station: 8: Det 5 does not exist\r\nStation: 8: ");
}

// Tables, grades and log alike on any number of reader threads and read-ahead window; grading
// off changes neither tables nor log. Closing the program during a build throws from a hook: no
// reader may be left running. A read error surfaces at its station, after the ones before.
TEST(BuildStationTables, ThreadedBuildEqualsTheSequentialOneAndStopsAtAHookThrowOrReadError) {
    const ListedDay day = flawedDay(60, 4);
    // Station 3's detector 9 has no volume member (logged), its detector 2 a short one.
    const std::vector<ZipMember> members{{"1.v30", volumeBytes(1)},
                                         {"1.o30", occupancyBytes(1)},
                                         {"9.o30", occupancyBytes(1)},
                                         {"2.v30", std::string(100, '\0')},
                                         {"2.o30", occupancyBytes(1)}};
    const ListedDay broken("1,P,1,\r\n2,P,1,\r\n3,P,9,2,\r\n4,P,1,\r\n5,P,1,\r\n", members);
    Log sequentialLog;
    const StationBuild sequential =
        buildStations(day.archive, day.stations, sequentialLog, {}, BuildOptions{0, 64});
    ASSERT_NE(sequentialLog.logText().find("Det 1051 does not exist"), std::string::npos);
    ASSERT_TRUE(sequential.calibration);
    ASSERT_LT(std::count(sequential.calibration->detectors.begin(),
                         sequential.calibration->detectors.end(), uint8_t{0}),
              static_cast<long>(sequential.calibration->detectors.size()));
    ASSERT_FALSE(sequential.calibration->borderline.empty());
    BuildHooks stopping;
    stopping.stationDone = [](int station, int) {
        if (station == 5) {
            throw std::runtime_error("closed");
        }
    };
    for (const BuildOptions& options :
         {BuildOptions{0, 64}, BuildOptions{1, 64}, BuildOptions{2, 64}, BuildOptions{3, 1},
          BuildOptions{8, 5}, BuildOptions{2, 64, false}}) {
        Log log;
        const StationBuild build = buildStations(day.archive, day.stations, log, {}, options);
        EXPECT_EQ(build.tables, sequential.tables)
            << options.readerThreads << "/" << options.window;
        EXPECT_EQ(build.health, options.gradeHealth ? sequential.health : DetectorHealth{});
        EXPECT_EQ(build.calibration, sequential.calibration);
        EXPECT_EQ(log.logText(), sequentialLog.logText());
        EXPECT_THROW(buildStations(day.archive, day.stations, log, stopping, options),
                     std::runtime_error);
        Log errorLog;
        std::vector<int> done;
        BuildHooks hooks;
        hooks.stationDone = [&](int station, int) { done.push_back(station); };
        const Error error = errorOf(
            [&] { buildStations(broken.archive, broken.stations, errorLog, hooks, options); });
        EXPECT_NE(error.description().find("\"2.v30\""), std::string::npos);
        EXPECT_EQ(std::tuple(error.number(), done, errorLog.logText()),
                  std::tuple(errc::kSubscriptOutOfRange, std::vector<int>{0, 1},
                             "Det 9 does not exist\r\nStation: 3: "));
    }
}

// The member report is written as soon as the archive is listed, before the lists are read.
TEST(BuildDay, WritesTheMemberReportAfterTheArchiveAndBeforeTheLists) {
    const ListedDay day("1,P,100,\r\n",
                        {{"100.v30", volumeBytes(2), true}, {"100.o30", occupancyBytes(0)}});
    fs::remove(day.dir / "VURRoad2Sta.list");
    Log log;
    const Error error = errorOf([&] {
        buildDay({day.dir / "day.traffic", day.dir.path(), day.dir / "zipFileInfo.txt"}, log);
    });
    EXPECT_EQ(error.number(), errc::kFileNotFound);
    EXPECT_NE(error.description().find("VURRoad2Sta.list"), std::string::npos);
    EXPECT_EQ(log.logText(),
              "Detailed internal file info of the zip file is saved in zipFileInfo.txt\r\n");
    EXPECT_EQ(readFile(day.dir / "zipFileInfo.txt"),
              "Number of files in zip file:  2 \r\n"
              "Zip index, Compressed Size, Extract Size, file name\r\n"
              " 0  2880  2880 100.v30\r\n"
              " 1  " +
                  std::to_string(day.archive.zipEntries()[1].compressedSize) +
                  "  5760 100.o30\r\n");
}

// A built day carries its detectors' grades; its station file loads as the same tables without
// lane counts or grades, and a file of more stations than the list loads too.
TEST(LoadDay, RefusesFewerStationsThanTheListButAcceptsMore) {
    const ListedDay day = smallDay();
    Log log;
    const Day built = buildDay({day.dir / "day.traffic", day.dir.path(), std::nullopt}, log);
    EXPECT_EQ(built.health.value().detectors.size(), 7u);
    writeStationFile(day.dir / "day.station", built.tables);
    writeStationFile(day.dir / "two.station", StationTables::zeroed(2));
    writeStationFile(day.dir / "four.station", StationTables::zeroed(4));
    Log loadLog;
    const Day loaded = loadDay(day.dir / "day.station", day.dir.path(), loadLog);
    StationTables saved = built.tables;
    saved.lanes.clear();
    EXPECT_EQ(std::tuple(loaded.tables, loaded.health.has_value(), loadLog.logText()),
              std::tuple(saved, false, "Sta count=3\r\nRoad count=1\r\n"));
    const Error error = errorOf([&] { loadDay(day.dir / "two.station", day.dir.path(), log); });
    EXPECT_EQ(error.number(), errc::kSubscriptOutOfRange);
    EXPECT_NE(error.description().find("holds 2 stations"), std::string::npos);
    EXPECT_NE(error.description().find("station list has 3"), std::string::npos);
    EXPECT_EQ(loadDay(day.dir / "four.station", day.dir.path(), log).tables.stationCount, 4);
}

// The positions list never stops a build or a load: without it the log is what it always was;
// a malformed one is one line after the counts and the day's problem; a good one is in force.
TEST(DayPositions, AreReadAtBuildAndLoadAndAMalformedListIsOneLogLine) {
    const ListedDay day = smallDay();
    const BuildRequest request{day.dir / "day.traffic", day.dir.path(), std::nullopt};
    Log plainLog;
    const Day plain = buildDay(request, plainLog);
    writeStationFile(day.dir / "day.station", plain.tables);
    EXPECT_FALSE(plain.positions.has_value() || !plain.positionsProblem.empty());

    const fs::path list = day.dir / "VURStaPos.list";
    writeFile(list, "7, 0.5,\r\n8, x,\r\n");
    const std::string problem =
        "Type mismatch: " + list.string() + " line 2: post \"x\" is not a number";
    const std::string counts = "Sta count=3\r\nRoad count=1\r\n";
    for (const bool load : {false, true}) {
        Log log;
        const Day malformed =
            load ? loadDay(day.dir / "day.station", day.dir.path(), log) : buildDay(request, log);
        EXPECT_EQ(std::pair(malformed.positions.has_value(), malformed.positionsProblem),
                  std::pair(false, problem));
        std::string expected = load ? counts : plainLog.logText();
        expected.insert(counts.size(), problem + "\r\n");
        EXPECT_EQ(log.logText(), expected);
    }
    writeFile(list, "7, 0.5,\r\n9, 1.25,\r\n");
    Log log;
    const Day placed = loadDay(day.dir / "day.station", day.dir.path(), log);
    EXPECT_EQ(
        std::tuple(placed.positions.value().postKm(9), placed.positionsProblem, log.logText()),
        std::tuple(std::optional(1.25), std::string(), counts));
}

// The program's folder counts only when it holds the station list; the data file's folder is
// then taken whatever it holds (a missing list is the build's error to report), and logged.
TEST(ChooseListFolder, ProgramFolderWithAStationListElseTheDataFilesFolder) {
    TempDir dir;
    fs::create_directories(dir / "with" / "bin");
    fs::create_directories(dir / "roadonly");
    fs::create_directories(dir / "listdir" / "VURSta2Det.list");  // a folder of that name
    writeFile(dir / "with" / "VURSta2Det.list", "101, P, 1,\r\n");
    writeFile(dir / "roadonly" / "VURRoad2Sta.list", "North, 101,\r\n");
    const fs::path share = dir / "share";
    const std::string logged =
        "No VURSta2Det.list beside the program: definition lists read from " + share.string();
    for (const fs::path& program :
         {dir / "with", dir / "roadonly", dir / "missing", dir / "listdir", dir / "with" / "bin"}) {
        Log log;
        const ListFolder folder = chooseListFolder(program, share / "day.traffic", log);
        const bool beside = program != dir / "with";
        EXPECT_EQ(std::pair(folder.directory, folder.besideData),
                  std::pair(beside ? share : program, beside))
            << program;
        EXPECT_EQ(log.logText(), beside ? logged + "\r\n" : "") << program;
    }
}

}  // namespace
}  // namespace quorvane
