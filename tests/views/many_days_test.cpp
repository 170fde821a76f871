// The travel-time reliability and the bottleneck ranking over days the tests write, with the
// answers worked out by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "support/test_files.h"
#include "views/bottleneck_ranking.h"
#include "views/reliability.h"
#include "views/roads_of_days.h"
#include "views/typical_day.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

// With a 5 m vehicle and one detector a station's five-minute speed is 600 * vehicles a slot /
// occupancy in tenths of a percent.
struct SlotValues {
    uint8_t volume;
    int16_t occupancyTenths;
};
constexpr SlotValues k120{2, 10}, k80{4, 30}, k60{1, 10}, k30{1, 20};
constexpr SlotValues kNoEstimate{1, 0};  // traffic but no occupancy

// A station at `base` but over five-minute intervals first..last.
struct Stretch {
    int first;
    int last;
    SlotValues values;
};
struct TestStation {
    int number;
    SlotValues base;
    std::vector<Stretch> stretches;
};

// A day in a folder of its own with its lists, station n at kilometre post n - 1.
fs::path writeDay(const fs::path& folder, const std::vector<TestStation>& stations,
                  const std::string& roads) {
    fs::create_directories(folder);
    std::string stationList;
    std::string positions;
    std::vector<test::ZipMember> members;
    for (const TestStation& station : stations) {
        const std::string number = std::to_string(station.number);
        stationList += number + ",P," + number + "1,\r\n";
        positions += number + "," + std::to_string(station.number - 1) + ",\r\n";
        std::vector<uint8_t> volume(kSlotsPerDay, station.base.volume);
        std::vector<int16_t> occupancy(kSlotsPerDay, station.base.occupancyTenths);
        for (const Stretch& stretch : station.stretches) {
            for (int slot = stretch.first * 10; slot < (stretch.last + 1) * 10; ++slot) {
                volume[static_cast<std::size_t>(slot)] = stretch.values.volume;
                occupancy[static_cast<std::size_t>(slot)] = stretch.values.occupancyTenths;
            }
        }
        members.push_back({number + "1.v30", test::volumeBytes(volume)});
        members.push_back({number + "1.o30", test::occupancyBytes(occupancy)});
    }
    test::writeFile(folder / "VURSta2Det.list", stationList);
    test::writeFile(folder / "VURRoad2Sta.list", roads);
    test::writeFile(folder / "VURStaPos.list", positions);
    test::writeZip(folder / "day.traffic", members);
    return folder / "day.traffic";
}

// Road R runs 1, 2, 3 (lengths 0.5, 1 and 0.5 km), S 1, 3 (1 and 1 km); the first day also
// lists U, a road of one station. At 120 km/h R takes a minute, at 80 1.5, at 60 2.
// - d1, 120 km/h: station 2 at 30 from 07:00 to 08:00 and from 08:20 to 09:00 (a bottleneck
//   before station 3, twice in the morning), station 1 at 30 from 10:00 to 10:40 (bottlenecks
//   before 2 on R and before 3 on S at midday);
// - d2, 80 km/h: station 2 at 30 from 07:00 to 07:30 and from 17:00 to 17:30;
// - d3, 60 km/h: no bottleneck; station 1 without an estimate at 16:40;
// - d4 has no station 2, so it places S but not R; d5 is no archive.
// Station 1 has no estimate at 23:55 on every day.
class ManyDays : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string roads = "R,1,2,3,\r\nS,1,3,\r\n";
        const Stretch lastNoEstimate{287, 287, kNoEstimate};
        files_ = {
            writeDay(dir_ / "d1",
                     {{1, k120, {{120, 127, k30}, lastNoEstimate}},
                      {2, k120, {{84, 95, k30}, {100, 107, k30}}},
                      {3, k120, {}}},
                     roads + "U,2,\r\n"),
            writeDay(dir_ / "d2",
                     {{1, k80, {lastNoEstimate}},
                      {2, k80, {{84, 89, k30}, {204, 209, k30}}},
                      {3, k80, {}}},
                     roads),
            writeDay(
                dir_ / "d3",
                {{1, k60, {{200, 200, kNoEstimate}, lastNoEstimate}}, {2, k60, {}}, {3, k60, {}}},
                roads),
            writeDay(dir_ / "d4", {{1, k60, {}}, {3, k60, {}}}, roads),
            dir_ / "d5.traffic",
        };
        test::writeFile(files_[4], "no zip archive");
        DaySetRequest request;
        request.files = files_;
        request.programDirectory = dir_.path();  // no lists there: each day's own
        request.speed = SpeedSettings::fromMetres(SpeedUnit::Kmh, 5.0);
        request.speed.freeFlowSpeed = 120.0;  // R's free-flow travel time is a minute
        request.workers = 2;
        days_ = buildDaySet(request);
    }

    test::TempDir dir_;
    std::vector<fs::path> files_;
    std::vector<DayResult> days_;
};

TEST(Percentile, InterpolatesBetweenTheClosestRanksAsSpreadsheetsDo) {
    const std::pair<std::vector<double>, double> cases[] = {
        {{30, 10, 50, 20, 40}, 48.0},  // position 3.8: 40 + 0.8 * 10
        {{4, 1, 3, 2}, 3.85},          // position 2.85
        {{7}, 7.0},
        {{5, 5, 9}, 8.6},  // position 1.9
    };
    for (auto [values, expected] : cases) {
        EXPECT_DOUBLE_EQ(percentile(values, 0.95), expected) << expected;
    }
    EXPECT_TRUE(std::isnan(percentile({}, 0.95)));
}

// Each day keeps each road it places; one it cannot place is logged, never failing the day.
TEST_F(ManyDays, DaysKeepTheRoadsTheyPlaceAndLogTheOthers) {
    ASSERT_EQ(builtDayCount(days_), 4);
    const DaySummary& first = *days_[0].summary;
    ASSERT_EQ(first.travelTimes.size(), 2u);
    EXPECT_EQ(std::pair(first.travelTimes[0].road, first.travelTimes[0].lengthKm),
              std::pair(std::string("R"), 2.0));
    EXPECT_DOUBLE_EQ(first.travelTimes[0].minutes[84], 2.5);  // 0.5 km at 120, 1 at 30, 0.5 at 120
    ASSERT_EQ(first.roadsLeftOut.size(), 1u);
    EXPECT_EQ(first.roadsLeftOut[0].road, "U");
    EXPECT_NE(days_[3].log.find("Road \"R\" left out: Station: 2 does not exist.\r\nUnable to "
                                "measure the road.\r\n"),
              std::string::npos)
        << days_[3].log;
    EXPECT_EQ(roadNamesOfDays(days_), (std::vector<std::string>{"R", "S", "U"}));
    const std::vector<RoadAbsence> absences = roadAbsences(days_, roadNamesOfDays(days_));
    ASSERT_EQ(absences.size(), 2u);
    EXPECT_EQ(roadAbsenceLine(absences[0]), "Road \"R\": not measured in " + files_[3].string());
    EXPECT_EQ(absences[1].missingFrom.size(), 4u);
}

// At 00:00 R takes 1, 1.5 and 2 minutes; at 16:40 the third day has no value; at 23:55 none
// has. The fourth day does not place R and the fifth was not built.
TEST_F(ManyDays, ReliabilityTakesTheMeanAndPercentileOfTheDaysWithAValue) {
    const auto found = roadReliability(days_, "R", 120.0);
    ASSERT_TRUE(std::holds_alternative<RoadReliability>(found));
    const RoadReliability& r = std::get<RoadReliability>(found);
    ASSERT_EQ(r.intervals.size(), 288u);
    EXPECT_EQ(r.freeFlowMinutes, 1.0);
    const ReliabilityInterval& evening = r.intervals[200];
    EXPECT_EQ(evening.days, 2);
    EXPECT_DOUBLE_EQ(evening.meanMinutes, 1.25);
    EXPECT_DOUBLE_EQ(evening.p95Minutes, 1.475);          // position 0.95
    EXPECT_DOUBLE_EQ(r.intervals[84].p95Minutes, 2.725);  // 2, 2.5, 2.75: 2.5 + 0.9 * 0.25
    const std::string text = reliabilityText(r);
    EXPECT_TRUE(
        text.starts_with("time,days,mean_min,p95_min,free_flow_min,tti,pti,buffer_index\n"
                         "00:00:00,3,1.50,1.95,1.00,1.500,1.950,0.300\n"))
        << text.substr(0, 200);
    EXPECT_TRUE(
        text.ends_with("\n23:50:00,3,1.50,1.95,1.00,1.500,1.950,0.300\n"
                       "23:55:00,0,,,1.00,,,\n"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 289);

    const auto refused = roadReliability(days_, "U", 120.0);
    ASSERT_TRUE(std::holds_alternative<Refusal>(refused));
    EXPECT_EQ(std::get<Refusal>(refused).message,
              "No day places the road \"U\": The road U has one station: its measures need a road "
              "of two stations or more.");
    EXPECT_EQ(test::errorOf([&] { roadReliability(days_, "Q", 120.0); }).number(),
              errc::kInvalidArgument);
}

// A station-interval of station 2 at 30 km/h: 10 vehicles over 1 km below 60 mph.
const double kDelay = 10 * (1 / 30.0 - 1 / kDefaultThresholdKmh);

// R's morning bottleneck is active on two of the three days that place R (the first day twice,
// 60 and 40 minutes); S (four days) is active once at midday with more delay than R's evening
// queue, and R's midday queue before station 2 has the least.
TEST_F(ManyDays, RankingGroupsActivationsByRoadPairAndShift) {
    const std::vector<RankedBottleneck> ranking = rankBottlenecks(days_);
    ASSERT_EQ(ranking.size(), 4u);
    const RankedBottleneck& morning = ranking[0];
    EXPECT_EQ(std::tuple(morning.road, morning.upstreamStation, morning.downstreamStation,
                         morning.shift, morning.daysActive, morning.days),
              std::tuple(std::string("R"), int16_t{2}, int16_t{3}, Shift::AM, 2, 3));
    EXPECT_DOUBLE_EQ(morning.meanDurationMinutes, 65.0);  // (100 + 30) / 2
    EXPECT_NEAR(morning.totalDelayHours, 26 * kDelay, 1e-9);
    EXPECT_NEAR(ranking[1].totalDelayHours, 8 * kDelay, 1e-9);  // 1 km of S's station 1
    EXPECT_EQ(rankingText(ranking),
              "road,upstream_station,downstream_station,shift,days_active,days,"
              "mean_duration_min,mean_max_extent_km,mean_delay_vh,total_delay_vh\n"
              "R,2,3,AM,2,3,65.0,1.000,2.99,5.97\n"
              "S,1,3,midday,1,4,40.0,1.000,1.84,1.84\n"
              "R,2,3,PM,1,3,30.0,1.000,1.38,1.38\n"
              "R,1,2,midday,1,3,40.0,0.500,0.92,0.92\n");
    EXPECT_EQ(rankingSummary(ranking), "4 bottlenecks on 2 roads");

    const std::vector<RankedBottleneck> onlyS = rankBottlenecks(days_, "S");
    ASSERT_EQ(onlyS.size(), 1u);
    EXPECT_EQ(onlyS[0].days, 4);
    EXPECT_FALSE(anyRoadPlacement(days_));
    EXPECT_FALSE(roadPlacement(days_, "S"));
}

}  // namespace
}  // namespace quorvane
