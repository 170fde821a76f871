#include "core/day.h"

#include <gtest/gtest.h>

#include "archive_fixture.h"
#include "core/log.h"
#include "definitions/station_file.h"

namespace quorvane {
namespace {

using test::errorOf;
using test::occupancyBytes;
using test::TempDir;
using test::volumeBytes;

struct ListedDay {
    TempDir dir;
    BuildRequest request;

    ListedDay() {
        test::writeLists(dir.path(), {{11, {1, 2}}, {12, {3}}});
        test::writeZip(dir / "may5.traffic",
                       std::vector<test::ZipMember>{{"1.v30", volumeBytes(4)},
                                                    {"1.o30", occupancyBytes(100)},
                                                    {"2.v30", volumeBytes(6)},
                                                    {"2.o30", occupancyBytes(300)}});
        request.archive = dir / "may5.traffic";
        request.listDirectory = dir.path();
    }
};

TEST(BuildDay, ListsCountsThenStations) {
    ListedDay day;
    Log log;
    const Day built = buildDay(day.request, log);
    EXPECT_EQ(log.logText(), "Sta count=2\r\nRoad count=1\r\nStation: 12: ");
    EXPECT_EQ(std::pair(built.stations.count(), built.roads.count()), std::pair(2, 1));
    EXPECT_EQ(built.tables.vol(0, 0), 10);
    EXPECT_FLOAT_EQ(built.tables.occ(0, 0), 20.0f);
    EXPECT_FALSE(std::filesystem::exists(day.dir / "zipFileInfo.txt"));
}

TEST(BuildDay, WritesTheMemberReportAfterTheArchiveAndBeforeTheLists) {
    ListedDay day;
    day.request.zipInfo = day.dir / "zipFileInfo.txt";
    std::filesystem::remove(day.dir / "VURRoad2Sta.list");
    Log log;
    const Error error = errorOf([&] { buildDay(day.request, log); });
    EXPECT_EQ(error.number(), errc::kFileNotFound);
    EXPECT_NE(error.description().find("VURRoad2Sta.list"), std::string::npos);
    EXPECT_EQ(log.logText(),
              "Detailed internal file info of the zip file is saved in zipFileInfo.txt\r\n");
    EXPECT_TRUE(test::readFile(day.dir / "zipFileInfo.txt")
                    .starts_with("Number of files in zip file:  4 \r\n"));

    std::filesystem::remove(day.dir / "zipFileInfo.txt");
    day.request.archive = day.dir / "none.traffic";
    Log missingLog;
    EXPECT_EQ(errorOf([&] { buildDay(day.request, missingLog); }).number(), errc::kFileNotFound);
    EXPECT_EQ(missingLog.logText(), "");
    EXPECT_FALSE(std::filesystem::exists(day.dir / "zipFileInfo.txt"));
}

TEST(LoadDay, ReadsTheFileThenTheListsAndLogsTheCounts) {
    ListedDay day;
    Log log;
    const Day built = buildDay(day.request, log);
    writeStationFile(day.dir / "may5.station", built.tables);
    Log loadLog;
    EXPECT_EQ(errorOf([&] { loadDay(day.dir / "none.station", day.dir.path(), loadLog); }).number(),
              errc::kFileNotFound);
    const Day loaded = loadDay(day.dir / "may5.station", day.dir.path(), loadLog);
    EXPECT_EQ(loaded.tables, built.tables);
    EXPECT_EQ(loaded.stations.stationDefs(), built.stations.stationDefs());
    EXPECT_EQ(loadLog.logText(), "Sta count=2\r\nRoad count=1\r\n");

    std::filesystem::remove(day.dir / "VURSta2Det.list");
    Log noListLog;
    const Error noList =
        errorOf([&] { loadDay(day.dir / "may5.station", day.dir.path(), noListLog); });
    EXPECT_EQ(noList.number(), errc::kFileNotFound);
    EXPECT_NE(noList.description().find("VURSta2Det.list"), std::string::npos);
    EXPECT_EQ(noListLog.logText(), "");
}

TEST(LoadDay, RefusesFewerStationsThanTheListButAcceptsMore) {
    TempDir dir;
    test::writeLists(dir.path(), {{1, {1}}, {2, {2}}, {3, {3}}});
    writeStationFile(dir / "two.station", StationTables::zeroed(2));
    writeStationFile(dir / "four.station", StationTables::zeroed(4));
    Log log;
    const Error error = errorOf([&] { loadDay(dir / "two.station", dir.path(), log); });
    EXPECT_EQ(error.number(), errc::kSubscriptOutOfRange);
    EXPECT_NE(error.description().find("holds 2 stations"), std::string::npos);
    EXPECT_NE(error.description().find("station list has 3"), std::string::npos);
    EXPECT_EQ(log.logText(), "Sta count=3\r\nRoad count=1\r\n");
    EXPECT_EQ(loadDay(dir / "four.station", dir.path(), log).tables.stationCount, 4);
}

}  // namespace
}  // namespace quorvane
