#include "core/station_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>

#include "archive_fixture.h"
#include "base/log.h"
#include "core/day.h"
#include "definitions/station_file.h"
#include "definitions/station_list.h"

namespace quorvane {
namespace {

using test::errorOf;
using test::occupancyBytes;
using test::TempDir;
using test::volumeBytes;
using test::ZipMember;

// Combines one slot of detectors given as (volume, occupancy) pairs, every other slot 0, in
// both modes; `found` marks the detectors that extractDet found (all when empty). `lanes` is the
// count of detectors that count, the lanes of the speed estimate in either mode.
void expectSlot(const std::vector<std::pair<int, float>>& values, int volume, float average,
                float worst, int lanes, const std::vector<bool>& found = {}) {
    for (const auto& [mode, occupancy] :
         {std::pair{OccMode::Average, average}, {OccMode::WorstCase, worst}}) {
        std::vector<DetectorDay> detectors(values.size());
        for (std::size_t j = 0; j < values.size(); ++j) {
            detectors[j].found = found.empty() || found[j];
            detectors[j].vol[17] = static_cast<uint8_t>(values[j].first);
            detectors[j].occ[17] = values[j].second;
        }
        std::vector<int16_t> volumeOut(kSlotsPerDay, -1);
        std::vector<float> occupancyOut(kSlotsPerDay, -1.0f);
        std::vector<uint8_t> lanesOut(kSlotsPerDay, 99);
        combineStation(detectors, mode, volumeOut, occupancyOut, lanesOut);
        EXPECT_EQ(std::pair(volumeOut[16], occupancyOut[16]), std::pair(int16_t{0}, 0.0f));
        EXPECT_EQ(std::tuple(volumeOut[17], occupancyOut[17], lanesOut[17]),
                  std::tuple(static_cast<int16_t>(volume), occupancy, static_cast<uint8_t>(lanes)))
            << (mode == OccMode::Average ? "Average" : "Worst case");
    }
}

TEST(CombineStation, SumsVolumesAndAveragesOrMaximisesOccupancy) {
    expectSlot({{10, 5.0f}, {12, 7.0f}}, 22, 6.0f, 7.0f, 2);
    // Both ends of the occupancy range count; a zero volume does not drop a detector.
    expectSlot({{10, 100.0f}, {12, 0.0f}}, 22, 50.0f, 100.0f, 2);
    expectSlot({{0, 0.0f}, {0, 0.0f}, {0, 3.0f}}, 0, 1.0f, 3.0f, 3);
    // Detectors that were not found are not counted.
    expectSlot({{10, 4.0f}, {0, 0.0f}, {12, 8.0f}}, 22, 6.0f, 8.0f, 2, {true, false, true});
    // The single-precision sum over the count.
    expectSlot({{1, 0.1f}, {1, 0.7f}, {1, 33.3f}}, 3, ((0.1f + 0.7f) + 33.3f) / 3.0f, 33.3f, 3);
}

TEST(CombineStation, ImplausibleVolumeDropsTheDetectorFromBothMeasures) {
    expectSlot({{41, 9.0f}, {12, 7.0f}}, 12, 7.0f, 7.0f, 1);
    expectSlot({{40, 9.0f}, {12, 7.0f}}, 52, 8.0f, 9.0f, 2);
    expectSlot({{255, 99.0f}}, 0, 0.0f, 0.0f, 0);  // no detector counted: 0, not 0 / 0
}

TEST(CombineStation, ImplausibleOccupancyKeepsTheVolume) {
    expectSlot({{10, 150.0f}, {12, 7.0f}}, 22, 7.0f, 7.0f, 1);
    expectSlot({{10, -0.1f}, {12, 7.0f}}, 22, 7.0f, 7.0f, 1);
    expectSlot({{10, 100.1f}, {12, 7.0f}}, 22, 7.0f, 7.0f, 1);
    expectSlot({{10, -1.0f}, {20, 101.0f}}, 30, 0.0f, 0.0f, 0);
}

TEST(CombineStation, VolumeSumBeyond16BitsOverflowsAndLanesStopAt255) {
    std::vector<DetectorDay> detectors(820);
    for (DetectorDay& detector : detectors) {
        detector.found = true;
        detector.vol[5] = 40;
    }
    std::vector<int16_t> volume(kSlotsPerDay);
    std::vector<float> occupancy(kSlotsPerDay);
    const Error error =
        errorOf([&] { combineStation(detectors, OccMode::Average, volume, occupancy); });
    EXPECT_EQ(error.number(), errc::kOverflow);
    detectors.pop_back();  // 819 * 40 = 32760 still fits
    std::vector<uint8_t> lanes(kSlotsPerDay);
    combineStation(detectors, OccMode::Average, volume, occupancy, lanes);
    EXPECT_EQ(volume[5], 32760);
    EXPECT_EQ(lanes[5], 255);  // 819 lanes: more than a byte holds
}

// An archive of `members`, the station list `stationList` and a one-road list in one folder.
struct ListedDay {
    TempDir dir;
    Unzip archive;
    StationList stations;

    ListedDay(const std::string& stationList, const std::vector<ZipMember>& members) {
        test::writeFile(dir / "VURSta2Det.list", stationList);
        test::writeFile(dir / "VURRoad2Sta.list", "Test Road, 1,\r\n");
        archive = test::listedMembers(dir, members);
        stations = StationList::buildList(dir.path());
    }
};

// `stationCount` stations of `dets` detectors (numbers 1000 + 10 * station + j) whose values
// vary by slot and detector, some implausible; also a missing detector, a volume-only one,
// "c30" members, stored members (streamed where deflated ones are inflated whole), and the
// members shuffled.
ListedDay flawedDay(int stationCount, int dets) {
    std::string lines;
    std::vector<ZipMember> members;
    for (int s = 0; s < stationCount; ++s) {
        lines += std::to_string(s + 1) + ",P";
        for (int j = 0; j < dets; ++j) {
            const int det = 1000 + 10 * s + j;
            lines += "," + std::to_string(det);
            if (s % 7 == 3 && j == 0) {
                continue;
            }
            std::vector<uint8_t> vol(kSlotsPerDay);
            std::vector<int16_t> occ(kSlotsPerDay);
            for (int k = 0; k < kSlotsPerDay; ++k) {
                vol[k] = static_cast<uint8_t>((7 * k + det) % 44);
                occ[k] = static_cast<int16_t>((13 * k + 31 * det) % 1100 - 50);
            }
            const std::string name = std::to_string(det);
            members.push_back({name + ".v30", volumeBytes(vol), s % 3 == 1});
            if (s % 11 != 5 || j != 1) {
                members.push_back({name + (s % 5 == 2 ? ".c30" : ".o30"), occupancyBytes(occ)});
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
        {"1.v30", volumeBytes(10)},      {"1.o30", occupancyBytes(50)}, {"3.v30", volumeBytes(12)},
        {"3.o30", occupancyBytes(90)},   {"5.v30", volumeBytes(9)},     {"6.v30", volumeBytes(30)},
        {"6.c30", occupancyBytes(1000)},
    };
    return ListedDay("7,P,1,2,3,\r\n8,P,4,5,\r\n9,P,6,3,\r\n", members);
}

TEST(BuildStationTables, MissingDetectorsAreLoggedPerStation) {
    const ListedDay day = smallDay();
    Log log;
    const StationTables tables = buildStationTables(day.archive, day.stations, log);
    ASSERT_EQ(tables.stationCount, 3);
    EXPECT_EQ(tables.vol(0, 0), 22);
    EXPECT_FLOAT_EQ(tables.occ(0, 0), 7.0f);  // (5.0 + 9.0) / 2
    EXPECT_EQ(std::pair(tables.vol(2879, 1), tables.occ(2879, 1)), std::pair(int16_t{0}, 0.0f));
    EXPECT_EQ(tables.vol(100, 2), 42);
    EXPECT_FLOAT_EQ(tables.occ(100, 2), (static_cast<float>(1000.0 / 18.0) + 9.0f) / 2.0f);
    EXPECT_EQ(log.logText(), "Station: 7: Station: 8: Det 5 does not exist\r\nStation: 8: ");
}

TEST(BuildStationTables, AsksTheModeBeforeEveryStationAndReportsEachOne) {
    const ListedDay day = smallDay();
    for (int readers : {0, 2}) {
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
        const StationTables tables =
            buildStationTables(day.archive, day.stations, log, hooks, BuildOptions{readers, 64});
        EXPECT_EQ(calls, (std::vector<std::string>{"started 3", "mode", "0/3", "mode", "1/3",
                                                   "mode", "2/3"}));
        // Station 7 at its average, station 9 at its worst case.
        EXPECT_FLOAT_EQ(tables.occ(5, 0), 7.0f);
        EXPECT_FLOAT_EQ(tables.occ(5, 2), static_cast<float>(1000.0 / 18.0));
    }
}

TEST(BuildStationTables, ThreadedBuildEqualsTheSequentialOne) {
    const ListedDay day = flawedDay(60, 4);
    Log sequentialLog;
    const StationTables sequential =
        buildStationTables(day.archive, day.stations, sequentialLog, {}, BuildOptions{0, 64});
    ASSERT_NE(sequentialLog.logText().find("does not exist"), std::string::npos);
    ASSERT_NE(sequentialLog.logText().find("Station: 4: "), std::string::npos);
    for (const BuildOptions& options :
         {BuildOptions{1, 64}, BuildOptions{2, 64}, BuildOptions{3, 1}, BuildOptions{2, 5},
          BuildOptions{8, 200}}) {
        Log log;
        EXPECT_EQ(buildStationTables(day.archive, day.stations, log, {}, options), sequential)
            << options.readerThreads << "/" << options.window;
        EXPECT_EQ(log.logText(), sequentialLog.logText());
    }
}

TEST(BuildStationTables, ReadErrorSurfacesAtItsStationAfterTheOnesBefore) {
    // Station 3's detector 9 has no volume member (logged), its detector 2 a short one.
    const std::vector<ZipMember> members{
        {"1.v30", volumeBytes(1)},    {"1.o30", occupancyBytes(1)},
        {"9.o30", occupancyBytes(1)}, {"2.v30", std::string(100, '\0')},
        {"2.o30", occupancyBytes(1)},
    };
    const ListedDay day("1,P,1,\r\n2,P,1,\r\n3,P,9,2,\r\n4,P,1,\r\n5,P,1,\r\n", members);
    for (int readers : {0, 1, 2}) {
        Log log;
        std::vector<int> done;
        BuildHooks hooks;
        hooks.stationDone = [&](int station, int) { done.push_back(station); };
        const Error error = errorOf([&] {
            buildStationTables(day.archive, day.stations, log, hooks, BuildOptions{readers, 2});
        });
        EXPECT_EQ(error.number(), errc::kSubscriptOutOfRange);
        EXPECT_NE(error.description().find("\"2.v30\""), std::string::npos);
        EXPECT_EQ(done, (std::vector<int>{0, 1}));
        EXPECT_EQ(log.logText(), "Det 9 does not exist\r\nStation: 3: ") << readers;
    }
}

// Closing the program during a build throws from a hook: no reader may be left running.
TEST(BuildStationTables, HookExceptionAbandonsTheBuild) {
    const ListedDay day = flawedDay(80, 3);
    std::vector<BuildHooks> failing(2);
    failing[0].started = [](int) { throw std::runtime_error("no window"); };
    failing[1].occMode = []() -> OccMode { throw std::runtime_error("no mode"); };
    for (const int stop : {0, 5, 79}) {
        failing.emplace_back().stationDone = [stop](int station, int) {
            if (station == stop) {
                throw std::runtime_error("stopped");
            }
        };
    }
    for (int readers : {0, 1, 2, 4}) {
        for (const BuildHooks& hooks : failing) {
            Log log;
            EXPECT_THROW(
                buildStationTables(day.archive, day.stations, log, hooks, BuildOptions{readers, 3}),
                std::runtime_error)
                << readers;
        }
    }
}

// The report is written as soon as the archive is listed, before the lists are read.
TEST(BuildDay, WritesTheMemberReportAfterTheArchiveAndBeforeTheLists) {
    const ListedDay day = smallDay();
    std::filesystem::remove(day.dir / "VURRoad2Sta.list");
    Log log;
    const Error error = errorOf([&] {
        buildDay({day.dir / "day.traffic", day.dir.path(), day.dir / "zipFileInfo.txt"}, log);
    });
    EXPECT_EQ(error.number(), errc::kFileNotFound);
    EXPECT_NE(error.description().find("VURRoad2Sta.list"), std::string::npos);
    EXPECT_EQ(log.logText(),
              "Detailed internal file info of the zip file is saved in zipFileInfo.txt\r\n");
    EXPECT_TRUE(test::readFile(day.dir / "zipFileInfo.txt")
                    .starts_with("Number of files in zip file:  7 \r\n"));
}

TEST(LoadDay, ReadsTheFileThenTheListsAndLogsTheCounts) {
    const ListedDay day = smallDay();
    Log log;
    const Day built = buildDay({day.dir / "day.traffic", day.dir.path(), std::nullopt}, log);
    writeStationFile(day.dir / "day.station", built.tables);
    Log loadLog;
    const Day loaded = loadDay(day.dir / "day.station", day.dir.path(), loadLog);
    StationTables saved = built.tables;
    saved.lanes.clear();  // the station file holds no lane counts
    EXPECT_EQ(loaded.tables, saved);
    EXPECT_EQ(loaded.stations.stationDefs(), built.stations.stationDefs());
    EXPECT_EQ(loadLog.logText(), "Sta count=3\r\nRoad count=1\r\n");
}

TEST(LoadDay, RefusesFewerStationsThanTheListButAcceptsMore) {
    const ListedDay day = smallDay();
    writeStationFile(day.dir / "two.station", StationTables::zeroed(2));
    writeStationFile(day.dir / "four.station", StationTables::zeroed(4));
    Log log;
    const Error error = errorOf([&] { loadDay(day.dir / "two.station", day.dir.path(), log); });
    EXPECT_EQ(error.number(), errc::kSubscriptOutOfRange);
    EXPECT_NE(error.description().find("holds 2 stations"), std::string::npos);
    EXPECT_NE(error.description().find("station list has 3"), std::string::npos);
    EXPECT_EQ(log.logText(), "Sta count=3\r\nRoad count=1\r\n");
    EXPECT_EQ(loadDay(day.dir / "four.station", day.dir.path(), log).tables.stationCount, 4);
}

}  // namespace
}  // namespace quorvane
