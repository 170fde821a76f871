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

struct Slot {
    int volume;
    float occupancy;
};

// Combines one slot of detectors given as (volume, occupancy) pairs; every other slot is 0.
Slot combineSlot(std::vector<std::pair<int, float>> values, OccMode mode,
                 std::vector<bool> found = {}) {
    std::vector<DetectorDay> detectors(values.size());
    for (std::size_t j = 0; j < values.size(); ++j) {
        detectors[j].found = found.empty() || found[j];
        detectors[j].vol[17] = static_cast<uint8_t>(values[j].first);
        detectors[j].occ[17] = values[j].second;
    }
    std::vector<int16_t> volume(kSlotsPerDay, -1);
    std::vector<float> occupancy(kSlotsPerDay, -1.0f);
    combineStation(detectors, mode, volume, occupancy);
    EXPECT_EQ(volume[16], 0);
    EXPECT_EQ(occupancy[16], 0.0f);
    return {volume[17], occupancy[17]};
}

void expectSlot(const std::vector<std::pair<int, float>>& values, int volume, float average,
                float worst) {
    const Slot avg = combineSlot(values, OccMode::Average);
    const Slot max = combineSlot(values, OccMode::WorstCase);
    EXPECT_EQ(avg.volume, volume);
    EXPECT_EQ(max.volume, volume);
    EXPECT_FLOAT_EQ(avg.occupancy, average);
    EXPECT_FLOAT_EQ(max.occupancy, worst);
}

TEST(CombineStation, SumsVolumesAndAveragesOrMaximisesOccupancy) {
    expectSlot({{10, 5.0f}, {12, 7.0f}}, 22, 6.0f, 7.0f);
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

TEST(CombineStation, BothEndsOfTheOccupancyRangeCount) {
    expectSlot({{10, 100.0f}, {12, 0.0f}}, 22, 50.0f, 100.0f);
    expectSlot({{0, 0.0f}, {0, 0.0f}, {0, 3.0f}}, 0, 1.0f, 3.0f);
}

TEST(CombineStation, MissingDetectorsAreNotCounted) {
    const Slot avg =
        combineSlot({{10, 4.0f}, {0, 0.0f}, {12, 8.0f}}, OccMode::Average, {true, false, true});
    EXPECT_EQ(avg.volume, 22);
    EXPECT_FLOAT_EQ(avg.occupancy, 6.0f);  // divided by 2
    const Slot none = combineSlot({{0, 0.0f}, {0, 0.0f}}, OccMode::Average, {false, false});
    EXPECT_EQ(none.volume, 0);
    EXPECT_EQ(none.occupancy, 0.0f);
}

TEST(CombineStation, AverageIsTheSinglePrecisionSumOverTheCount) {
    const float a = 0.1f;
    const float b = 0.7f;
    const float c = 33.3f;
    const Slot avg = combineSlot({{1, a}, {1, b}, {1, c}}, OccMode::Average);
    const float sum = (a + b) + c;
    EXPECT_EQ(avg.occupancy, sum / 3.0f);
}

TEST(CombineStation, ZeroesImplausibleValuesInTheBuffers) {
    std::vector<DetectorDay> detectors(1);
    detectors[0].found = true;
    detectors[0].vol[0] = 50;
    detectors[0].occ[0] = 20.0f;
    detectors[0].vol[1] = 5;
    detectors[0].occ[1] = 120.0f;
    std::vector<int16_t> volume(kSlotsPerDay);
    std::vector<float> occupancy(kSlotsPerDay);
    combineStation(detectors, OccMode::Average, volume, occupancy);
    EXPECT_EQ(detectors[0].vol[0], 0);
    EXPECT_EQ(detectors[0].occ[0], 0.0f);
    EXPECT_EQ(detectors[0].vol[1], 5);
    EXPECT_EQ(detectors[0].occ[1], 0.0f);
    EXPECT_EQ(volume[1], 5);
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

// A small archive and its station list in one folder.
struct SmallDay {
    TempDir dir;
    Unzip archive;
    StationList stations;

    SmallDay(const std::vector<test::StationLine>& lines, const std::vector<ZipMember>& members) {
        test::writeLists(dir.path(), lines);
        test::writeZip(dir / "day.traffic", members);
        archive.setZipFileName(dir / "day.traffic");
        archive.zipList();
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
    const SmallDay day({{7, {1, 2, 3}}, {8, {4, 5}}, {9, {6}}},
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

TEST(BuildStationTables, WorstCaseAndModeAskedBeforeEveryStation) {
    const SmallDay day({{1, {1, 2}}, {2, {1, 2}}, {3, {1, 2}}, {4, {1, 2}}},
                       concat({detector(1, 10, 50), detector(2, 12, 90)}));
    for (int readers : {0, 1, 2}) {
        Log log;
        int asked = 0;
        BuildHooks hooks;
        hooks.occMode = [&] { return ++asked > 2 ? OccMode::WorstCase : OccMode::Average; };
        const StationTables tables =
            buildStationTables(day.archive, day.stations, log, hooks, threads(readers));
        EXPECT_EQ(asked, 4);
        EXPECT_FLOAT_EQ(tables.occ(5, 0), 7.0f);
        EXPECT_FLOAT_EQ(tables.occ(5, 1), 7.0f);
        EXPECT_FLOAT_EQ(tables.occ(5, 2), 9.0f);
        EXPECT_FLOAT_EQ(tables.occ(5, 3), 9.0f);
        EXPECT_EQ(tables.vol(5, 3), 22);
    }
}

TEST(BuildStationTables, ReportsStartAndEveryStationInOrder) {
    const SmallDay day({{1, {1}}, {2, {1}}, {3, {1}}}, detector(1, 1, 1));
    std::vector<std::pair<int, int>> done;
    int started = -1;
    BuildHooks hooks;
    hooks.started = [&](int total) {
        EXPECT_TRUE(done.empty());
        started = total;
    };
    hooks.stationDone = [&](int station, int total) { done.emplace_back(station, total); };
    Log log;
    buildStationTables(day.archive, day.stations, log, hooks);
    EXPECT_EQ(started, 3);
    EXPECT_EQ(done, (std::vector<std::pair<int, int>>{{0, 3}, {1, 3}, {2, 3}}));
}

TEST(BuildStationTables, ThreadedBuildEqualsTheSequentialOne) {
    TempDir dir;
    const auto path = test::writeFlawedDay(dir.path(), 60, 4);
    Unzip archive;
    archive.setZipFileName(path);
    archive.zipList();
    const StationList stations = StationList::buildList(dir.path());

    Log sequentialLog;
    const StationTables sequential =
        buildStationTables(archive, stations, sequentialLog, {}, threads(0));
    ASSERT_NE(sequentialLog.logText().find("does not exist"), std::string::npos);
    ASSERT_NE(sequentialLog.logText().find("Station: 4: "), std::string::npos);

    // The literal loop: extractDet per detector, then the combination.
    Log literalLog;
    StationTables literal = StationTables::zeroed(stations.count());
    for (int s = 0; s < stations.count(); ++s) {
        const std::vector<int16_t> dets = stations.detList(s, "P");
        std::vector<DetectorDay> days(dets.size());
        for (std::size_t j = 0; j < dets.size(); ++j) {
            days[j].found = archive.extractDet(dets[j], days[j].vol, days[j].occ, literalLog);
            if (!days[j].found) {
                days[j] = DetectorDay{};
                literalLog.appendLog("Station: " + std::to_string(stations.staNumByIndex(s)) +
                                     ": ");
            }
        }
        combineStation(days, OccMode::Average, literal.volumeOf(s), literal.occupancyOf(s));
    }
    EXPECT_EQ(sequential, literal);
    EXPECT_EQ(sequentialLog.logText(), literalLog.logText());

    for (const BuildOptions& options :
         {threads(1), threads(2), threads(3, 1), threads(2, 5), threads(8, 200)}) {
        Log log;
        const StationTables tables = buildStationTables(archive, stations, log, {}, options);
        EXPECT_EQ(tables, sequential) << options.readerThreads << "/" << options.window;
        EXPECT_EQ(log.logText(), sequentialLog.logText());
    }
}

TEST(BuildStationTables, ReadErrorSurfacesAtItsStationAfterTheOnesBefore) {
    const SmallDay day({{1, {1}}, {2, {1}}, {3, {2, 3}}, {4, {1}}, {5, {1}}},
                       concat({detector(1, 1, 1),
                               {{"3.v30", volumeBytes(2)}, {"2.v30", std::string(100, '\0')}},
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
        EXPECT_EQ(log.logText(), "") << readers;
    }
}

TEST(BuildStationTables, LogLinesBeforeAFailingMemberAreKept) {
    const SmallDay day({{1, {9, 2}}}, {{"9.o30", occupancyBytes(1)},
                                       {"2.v30", std::string(10, '\0')},
                                       {"2.o30", occupancyBytes(1)}});
    for (int readers : {0, 2}) {
        Log log;
        EXPECT_THROW(buildStationTables(day.archive, day.stations, log, {}, threads(readers)),
                     Error);
        EXPECT_EQ(log.logText(), "Det 9 does not exist\r\nStation: 1: ");
    }
}

TEST(BuildStationTables, HookExceptionAbandonsTheBuild) {
    TempDir dir;
    const auto path = test::writeFlawedDay(dir.path(), 80, 3);
    Unzip archive;
    archive.setZipFileName(path);
    archive.zipList();
    const StationList stations = StationList::buildList(dir.path());
    for (int readers : {0, 1, 2, 4}) {
        for (int stopAt : {0, 5, 79}) {
            BuildHooks hooks;
            hooks.stationDone = [&](int station, int) {
                if (station == stopAt) {
                    throw std::runtime_error("stopped");
                }
            };
            Log log;
            EXPECT_THROW(buildStationTables(archive, stations, log, hooks, threads(readers, 3)),
                         std::runtime_error);
        }
        BuildHooks startFails;
        startFails.started = [](int) { throw std::runtime_error("no window"); };
        Log startLog;
        EXPECT_THROW(buildStationTables(archive, stations, startLog, startFails, threads(readers)),
                     std::runtime_error);
        BuildHooks askFails;
        askFails.occMode = []() -> OccMode { throw std::runtime_error("no mode"); };
        Log log;
        EXPECT_THROW(buildStationTables(archive, stations, log, askFails, threads(readers)),
                     std::runtime_error);
        EXPECT_EQ(log.logText(), "");
    }
}

TEST(BuildStationTables, WorksWithoutAMemberList) {
    TempDir dir;
    test::writeLists(dir.path(), {{1, {1, 2}}});
    const StationList stations = StationList::buildList(dir.path());
    const Unzip archive;
    Log log;
    const StationTables tables = buildStationTables(archive, stations, log);
    EXPECT_EQ(tables, StationTables::zeroed(1));
    EXPECT_EQ(log.logText(), "Station: 1: Station: 1: ");
}

}  // namespace
}  // namespace quorvane
