#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "support/test_files.h"
#include "views/day_set.h"
#include "views/typical_day.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

// A station of a test day: one detector (number * 10 + 1) counting `volume` vehicles in every
// slot but the first, which counts `firstVolume`, at a constant occupancy in tenths of a percent.
struct TestStation {
    int number;
    uint8_t volume;
    int16_t occupancyTenths;
    uint8_t firstVolume;
};

// A day in a folder of its own, with its own lists: the stations in the order given, one road
// "R" through them.
fs::path writeDay(const fs::path& folder, const std::vector<TestStation>& stations) {
    fs::create_directories(folder);
    std::string stationList;
    std::string road = "R,";
    std::vector<test::ZipMember> members;
    for (const TestStation& station : stations) {
        const std::string number = std::to_string(station.number);
        stationList += number + ",P," + number + "1,\r\n";
        road += number + ",";
        std::vector<uint8_t> volume(kSlotsPerDay, station.volume);
        volume[0] = station.firstVolume;
        members.push_back({number + "1.v30", test::volumeBytes(volume)});
        members.push_back({number + "1.o30", test::occupancyBytes(station.occupancyTenths)});
    }
    test::writeFile(folder / "VURSta2Det.list", stationList);
    test::writeFile(folder / "VURRoad2Sta.list", road + "\r\n");
    test::writeZip(folder / "day.traffic", members);
    return folder / "day.traffic";
}

// Four days, each with its lists beside it: the third is no archive, the fourth lists 103, 104
// and 101 (no 102). With a 5 m vehicle and one lane the five-minute speed is 60 * volume /
// occupancy: at 00:00 station 101 has 10, 30 and 40 vehicles at 10 %, 0 % (no estimate) and 20 %;
// 102 has 21 and 50 at 10 % and 20 %; 103 30, 10 and 40 at 10, 10 and 30 %; 104 only 20 at 10 %.
class DaySet : public ::testing::Test {
  protected:
    void SetUp() override {
        request_.files = {
            writeDay(dir_ / "d1", {{101, 1, 100, 1}, {102, 2, 100, 3}, {103, 3, 100, 3}}),
            writeDay(dir_ / "d2", {{101, 3, 0, 3}, {102, 5, 200, 5}, {103, 1, 100, 1}}),
            dir_ / "d3" / "day.traffic",
            writeDay(dir_ / "d4", {{103, 4, 300, 4}, {104, 2, 100, 2}, {101, 4, 200, 4}}),
        };
        writeDay(dir_ / "d3", {{101, 1, 100, 1}});
        test::writeFile(request_.files[2], "no zip archive");
        request_.programDirectory = dir_.path();  // no lists there: each day's own
        request_.speed = SpeedSettings::fromMetres(SpeedUnit::Kmh, 5.0);
        request_.workers = 2;
    }

    test::TempDir dir_;
    DaySetRequest request_;
};

TEST_F(DaySet, KeepsTheInputOrderAndLeavesOutTheBrokenDay) {
    std::vector<int> progress;
    const auto caller = std::this_thread::get_id();
    const std::vector<DayResult> days = buildDaySet(request_, [&](int done, int total) {
        EXPECT_EQ(std::this_thread::get_id(), caller);
        EXPECT_EQ(total, 4);
        progress.push_back(done);
    });
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3, 4}));
    ASSERT_EQ(days.size(), 4u);
    for (std::size_t d = 0; d < days.size(); ++d) {
        EXPECT_EQ(days[d].file, request_.files[d]);
        EXPECT_EQ(days[d].summary.has_value(), d != 2);
    }
    ASSERT_TRUE(days[2].error.has_value());
    EXPECT_EQ(days[2].error->number(), errc::kInvalidFileFormat);
    EXPECT_EQ(days[3].summary->stations.staNumByIndex(0), 103);
    EXPECT_EQ(leftOutLines(days),
              std::vector<std::string>{"Left out " + request_.files[2].string() + ": " +
                                       errorLine(*days[2].error)});
    EXPECT_EQ(daySetSummaryLine(days), "4 days: 3 built, 1 left out");
    const std::string log = daySetLogText(days);
    EXPECT_NE(log.find("Day: " + request_.files[3].string() + "\r\nNo VURSta2Det.list"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("\r\nLeft out: Error No: 321"), std::string::npos) << log;
}

// Medians over the days that have the station (odd and even counts, one day only), the speed
// over the days with an estimate; a station of no day is all gaps.
TEST_F(DaySet, TypicalDayTakesTheMediansOfTheDaysThatHaveAValue) {
    const std::vector<DayResult> days = buildDaySet(request_);
    EXPECT_EQ(stationsOfDays(days), (std::vector<int16_t>{101, 102, 103, 104}));
    const std::vector<int16_t> stations{102, 101, 103, 104, 999};
    const auto absences = stationAbsences(days, stations);
    ASSERT_EQ(absences.size(), 3u);
    EXPECT_EQ(absences[0].station, 102);
    EXPECT_EQ(absences[0].missingFrom, std::vector<fs::path>{request_.files[3]});
    EXPECT_EQ(absences[2].missingFrom.size(), 3u);
    EXPECT_EQ(roadStationsOfDays(days, "R"), (std::vector<int16_t>{101, 102, 103}));
    EXPECT_FALSE(roadStationsOfDays(days, "r"));

    const std::string text = typicalText(typicalDay(days, stations));
    EXPECT_TRUE(
        text.starts_with("time,station,days,volume,occupancy,speed_kmh\n"
                         "00:00:00,102,2,35.5,15.00,13.8\n"
                         "00:00:00,101,2,30,10.00,9.0\n"
                         "00:00:00,103,3,30,10.00,8.0\n"
                         "00:00:00,104,1,20,10.00,12.0\n"
                         "00:00:00,999,0,,,\n"
                         "00:05:00,102,2,35,15.00,13.5\n"))
        << text.substr(0, 400);
    EXPECT_TRUE(text.ends_with("\n23:55:00,999,0,,,\n"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 288 * 5);
}

}  // namespace
}  // namespace quorvane
