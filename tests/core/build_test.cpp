#include "core/station_builder.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "archive_fixture.h"
#include "core/log.h"
#include "definitions/station_list.h"

namespace quorvane {
namespace {

using test::errorOf;
using test::occupancyBytes;
using test::TempDir;
using test::volumeBytes;
using test::ZipMember;

// Combines one slot of detectors given as (volume, occupancy) pairs, every other slot 0, in
// both modes; `found` marks the detectors that extractDet found (all when empty).
void expectSlot(const std::vector<std::pair<int, float>>& values, int volume, float average,
                float worst, const std::vector<bool>& found = {}) {
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
        combineStation(detectors, mode, volumeOut, occupancyOut);
        EXPECT_EQ(std::pair(volumeOut[16], occupancyOut[16]), std::pair(int16_t{0}, 0.0f));
        EXPECT_EQ(std::pair(volumeOut[17], occupancyOut[17]),
                  std::pair(static_cast<int16_t>(volume), occupancy))
            << (mode == OccMode::Average ? "Average" : "Worst case");
    }
}

TEST(CombineStation, SumsVolumesAndAveragesOrMaximisesOccupancy) {
    expectSlot({{10, 5.0f}, {12, 7.0f}}, 22, 6.0f, 7.0f);
    // Both ends of the occupancy range count; a zero volume does not drop a detector.
    expectSlot({{10, 100.0f}, {12, 0.0f}}, 22, 50.0f, 100.0f);
    expectSlot({{0, 0.0f}, {0, 0.0f}, {0, 3.0f}}, 0, 1.0f, 3.0f);
    // Detectors that were not found are not counted.
    expectSlot({{10, 4.0f}, {0, 0.0f}, {12, 8.0f}}, 22, 6.0f, 8.0f, {true, false, true});
    expectSlot({{0, 0.0f}, {0, 0.0f}}, 0, 0.0f, 0.0f, {false, false});
    // The single-precision sum over the count.
    expectSlot({{1, 0.1f}, {1, 0.7f}, {1, 33.3f}}, 3, ((0.1f + 0.7f) + 33.3f) / 3.0f, 33.3f);
}

TEST(CombineStation, ImplausibleVolumeDropsTheDetectorFromBothMeasures) {
    expectSlot({{41, 9.0f}, {12, 7.0f}}, 12, 7.0f, 7.0f);
    expectSlot({{40, 9.0f}, {12, 7.0f}}, 52, 8.0f, 9.0f);
    expectSlot({{255, 99.0f}}, 0, 0.0f, 0.0f);
}

TEST(CombineStation, ImplausibleOccupancyKeepsTheVolume) {
    expectSlot({{10, 150.0f}, {12, 7.0f}}, 22, 7.0f, 7.0f);
    expectSlot({{10, -0.1f}, {12, 7.0f}}, 22, 7.0f, 7.0f);
    expectSlot({{10, 100.1f}, {12, 7.0f}}, 22, 7.0f, 7.0f);
    expectSlot({{10, -1.0f}, {20, 101.0f}}, 30, 0.0f, 0.0f);
}

TEST(CombineStation, VolumeSumBeyond16BitsOverflows) {
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
    combineStation(detectors, OccMode::Average, volume, occupancy);
    EXPECT_EQ(volume[5], 32760);
}

// An archive and its station list in one folder: of the given stations and members, or a
// flawed day (missing detectors, "c30", implausible values, members shuffled).
struct ListedDay {
    TempDir dir;
    Unzip archive;
    StationList stations;

    ListedDay(const std::vector<test::StationLine>& lines, const std::vector<ZipMember>& members) {
        test::writeLists(dir.path(), lines);
        archive = test::listedMembers(dir, members);
        stations = StationList::buildList(dir.path());
    }
    ListedDay(int stationCount, int detsPerStation) {
        archive = test::listed(test::writeFlawedDay(dir.path(), stationCount, detsPerStation));
        stations = StationList::buildList(dir.path());
    }
};

std::vector<ZipMember> detector(int16_t det, uint8_t volume, int16_t occ,
                                const char* occExt = "o30") {
    const std::string name = std::to_string(det);
    return {{name + ".v30", volumeBytes(volume)}, {name + "." + occExt, occupancyBytes(occ)}};
}

std::vector<ZipMember> concat(std::initializer_list<std::vector<ZipMember>> parts) {
    std::vector<ZipMember> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

BuildOptions threads(int readerThreads, int window = 64) {
    BuildOptions options;
    options.readerThreads = readerThreads;
    options.window = window;
    return options;
}

TEST(BuildStationTables, MissingDetectorsAreLoggedPerStation) {
    const ListedDay day({{7, {1, 2, 3}}, {8, {4, 5}}, {9, {6}}},
                        concat({detector(1, 10, 50),
                                detector(3, 12, 90),
                                {{"5.v30", volumeBytes(9)}},
                                detector(6, 30, 1000, "c30")}));
    for (int readers : {0, 2}) {
        Log log;
        const StationTables tables =
            buildStationTables(day.archive, day.stations, log, {}, threads(readers));
        ASSERT_EQ(tables.stationCount, 3);
        EXPECT_EQ(tables.vol(0, 0), 22);
        EXPECT_FLOAT_EQ(tables.occ(0, 0), 7.0f);  // (5.0 + 9.0) / 2: detector 2 is missing
        EXPECT_EQ(tables.vol(2879, 1), 0);        // 5 has only its volume: contributes nothing
        EXPECT_EQ(tables.occ(2879, 1), 0.0f);
        EXPECT_EQ(tables.vol(100, 2), 30);
        EXPECT_FLOAT_EQ(tables.occ(100, 2), static_cast<float>(1000.0 / 18.0));
        EXPECT_EQ(log.logText(), "Station: 7: Station: 8: Det 5 does not exist\r\nStation: 8: ")
            << readers;
    }
}

TEST(BuildStationTables, AsksTheModeBeforeEveryStationAndReportsEachOne) {
    const ListedDay day({{1, {1, 2}}, {2, {1, 2}}, {3, {1, 2}}, {4, {1, 2}}},
                        concat({detector(1, 10, 50), detector(2, 12, 90)}));
    for (int readers : {0, 1, 2}) {
        std::vector<std::string> calls;
        BuildHooks hooks;
        hooks.occMode = [&] {
            calls.push_back("mode");
            return calls.size() > 4 ? OccMode::WorstCase : OccMode::Average;
        };
        hooks.started = [&](int total) { calls.push_back("started " + std::to_string(total)); };
        hooks.stationDone = [&](int station, int total) {
            calls.push_back(std::to_string(station) + "/" + std::to_string(total));
        };
        Log log;
        const StationTables tables =
            buildStationTables(day.archive, day.stations, log, hooks, threads(readers));
        EXPECT_EQ(calls, (std::vector<std::string>{"started 4", "mode", "0/4", "mode", "1/4",
                                                   "mode", "2/4", "mode", "3/4"}));
        const std::vector<float> occupancies{tables.occ(5, 0), tables.occ(5, 1), tables.occ(5, 2),
                                             tables.occ(5, 3)};
        EXPECT_EQ(occupancies, (std::vector<float>{7.0f, 7.0f, 9.0f, 9.0f}));
        EXPECT_EQ(tables.vol(5, 3), 22);
    }
}

TEST(BuildStationTables, ThreadedBuildEqualsTheSequentialOne) {
    const ListedDay day(60, 4);
    Log sequentialLog;
    const StationTables sequential =
        buildStationTables(day.archive, day.stations, sequentialLog, {}, threads(0));
    ASSERT_NE(sequentialLog.logText().find("does not exist"), std::string::npos);
    ASSERT_NE(sequentialLog.logText().find("Station: 4: "), std::string::npos);
    for (const BuildOptions& options :
         {threads(1), threads(2), threads(3, 1), threads(2, 5), threads(8, 200)}) {
        Log log;
        const StationTables tables =
            buildStationTables(day.archive, day.stations, log, {}, options);
        EXPECT_EQ(tables, sequential) << options.readerThreads << "/" << options.window;
        EXPECT_EQ(log.logText(), sequentialLog.logText());
    }
}

TEST(BuildStationTables, ReadErrorSurfacesAtItsStationAfterTheOnesBefore) {
    // Station 3's detector 9 has no volume member (logged), its detector 2 a short one.
    const ListedDay day({{1, {1}}, {2, {1}}, {3, {9, 2}}, {4, {1}}, {5, {1}}},
                        concat({detector(1, 1, 1),
                                {{"9.o30", occupancyBytes(1)}, {"2.v30", std::string(100, '\0')}},
                                {{"2.o30", occupancyBytes(1)}}}));
    for (int readers : {0, 1, 2}) {
        Log log;
        std::vector<int> done;
        BuildHooks hooks;
        hooks.stationDone = [&](int station, int) { done.push_back(station); };
        const Error error = errorOf([&] {
            buildStationTables(day.archive, day.stations, log, hooks, threads(readers, 2));
        });
        EXPECT_EQ(error.number(), errc::kSubscriptOutOfRange);
        EXPECT_NE(error.description().find("\"2.v30\""), std::string::npos);
        EXPECT_EQ(done, (std::vector<int>{0, 1}));
        EXPECT_EQ(log.logText(), "Det 9 does not exist\r\nStation: 3: ") << readers;
    }
}

TEST(BuildStationTables, HookExceptionAbandonsTheBuild) {
    const ListedDay day(80, 3);
    const auto stopAt = [](int stop) {
        BuildHooks hooks;
        hooks.stationDone = [stop](int station, int) {
            if (station == stop) {
                throw std::runtime_error("stopped");
            }
        };
        return hooks;
    };
    BuildHooks startFails;
    startFails.started = [](int) { throw std::runtime_error("no window"); };
    BuildHooks askFails;
    askFails.occMode = []() -> OccMode { throw std::runtime_error("no mode"); };
    for (int readers : {0, 1, 2, 4}) {
        for (const BuildHooks& hooks : {stopAt(0), stopAt(5), stopAt(79), startFails, askFails}) {
            Log log;
            EXPECT_THROW(
                buildStationTables(day.archive, day.stations, log, hooks, threads(readers, 3)),
                std::runtime_error)
                << readers;
        }
    }
}

}  // namespace
}  // namespace quorvane
