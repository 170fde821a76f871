// The road measures on roads written here, with answers worked out by hand: five stations a
// kilometre apart (lengths 0.5, 1, 1, 1, 0.5 km: 4 km), one detector each, speed from a fixed
// 10 m vehicle: 120 * vehicles a slot / occupancy, so 5 vehicles at 6 % are 100 km/h and at 30 %
// 20 km/h.
#include "views/road_measures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "base/log.h"
#include "core/day.h"
#include "views/interval_table.h"
#include "views/road_measures_export.h"
#include "views/view_test_data.h"

namespace quorvane {
namespace {

constexpr int k30Sec = 0, k1Min = 1, k5Min = 5;
const SpeedSettings kTenMetres = SpeedSettings::fromMetres(SpeedUnit::Kmh, 10.0);

// Stations 1..5 with lane counts (so that a slot can have no data), every slot at 100 km/h
// until set otherwise. Roads: "Five" 1..5, "Back" 5..1, "One" 3, "Ghost" 1, 99.
struct RoadDay {
    Day day;

    explicit RoadDay(const std::string& positions = "1,0,\n2,1,\n3,2,\n4,3,\n5,4,\n") {
        day.stations = test::stationListOf({1, 2, 3, 4, 5});
        day.roads = RoadList::parse("Five,1,2,3,4,5,\nBack,5,4,3,2,1,\nOne,3,\nGhost,1,99,\n");
        day.positions = StationPositions::parse(positions, day.stations);
        day.tables = StationTables::zeroed(5);
        day.tables.lanes.assign(day.tables.volume.size(), 1);
        set(1, 5, 0, kSlotsPerDay, 5, 6.0f);
    }
    // Stations first..last (numbers), slots [from, to).
    void set(int first, int last, int from, int to, int16_t volume, float occupancy,
             uint8_t lanes = 1) {
        for (int row = first - 1; row < last; ++row) {
            for (int slot = from; slot < to; ++slot) {
                const std::size_t cell = StationTables::cell(slot, row);
                day.tables.volume[cell] = volume;
                day.tables.occupancy[cell] = occupancy;
                day.tables.lanes[cell] = lanes;
            }
        }
    }
    RoadMeasures measures(int interval, const SpeedSettings& speed = kTenMetres,
                          double thresholdKmh = kDefaultThresholdKmh, int road = 0) const {
        Log log;
        const IntervalTable table = recomputeIntervals(day.tables, day.stations, interval, log);
        const RoadGeometry geometry = std::get<RoadGeometry>(roadGeometry(day, road));
        return computeRoadMeasures(day, table, geometry, speed, thresholdKmh);
    }
};

// An interval as the file writes it, after its time.
std::string line(const RoadMeasures& m, int k) {
    const std::string text = measuresCsvText(m, k, k);
    return text.substr(text.find('\n') + 10, text.size() - text.find('\n') - 11);
}

TEST(RoadGeometry, LengthsAreHalfTheGapsToTheNeighboursWhicheverWayThePostsCount) {
    const RoadDay road;
    for (const int index : {0, 1}) {
        const auto geometry = std::get<RoadGeometry>(roadGeometry(road.day, index));
        EXPECT_EQ(geometry.lengthsKm, (std::vector<double>{0.5, 1, 1, 1, 0.5}));
        EXPECT_EQ(std::pair(geometry.lengthKm(), geometry.gapKm(3)), std::pair(4.0, 1.0));
    }
    const auto back = std::get<RoadGeometry>(roadGeometry(road.day, 1));
    EXPECT_EQ(std::pair(back.rows, back.postsKm),
              std::pair(std::vector<int>{4, 3, 2, 1, 0}, std::vector<double>{4, 3, 2, 1, 0}));
}

// 50 vehicles a station and interval over 4 km at 100 km/h: 200 vehicle-km, 2 vehicle-hours, no
// delay below 60 mph, 2.4 minutes; in miles the same trip and traffic. A trip that would end
// after midnight has no experienced travel time.
TEST(RoadMeasures, FreeFlowIsTheRoadsLengthAtItsSpeed) {
    const RoadDay road;
    const RoadMeasures m = road.measures(k5Min);
    for (const int k : {0, 100, 287}) {
        EXPECT_EQ(line(m, k), "200.0,2.00,0.00,100.0,2.40,2.40,0.000") << k;
    }
    const PeriodTotals day = totalsOver(m, 0, 287);
    EXPECT_EQ(std::tuple(day.sums.vkt, day.sums.vht, day.sums.delay, m.freeFlowMinutes()),
              std::tuple(57600.0, 576.0, 0.0, 4.0 / 105.0 * 60.0));
    EXPECT_EQ(totalsLine(m, day),
              "Whole day: VKT 57600.0, VHT 576.00, delay 0.00 vehicle-hours, speed 100.0 km/h, "
              "unmeasured share 0.000");

    const RoadMeasures miles = road.measures(k5Min, SpeedSettings::fromMetres(SpeedUnit::Mph, 10));
    const IntervalMeasures& first = miles.intervals[0];
    EXPECT_NEAR(first.sums.vkt, 200.0 / kKmPerMile, 1e-9);
    EXPECT_NEAR(first.sums.speed(), 100.0 / kKmPerMile, 1e-4);
    EXPECT_NEAR(first.travelMinutes, 2.4, 1e-4);
    EXPECT_NEAR(miles.threshold, 60.0, 1e-9);

    const RoadMeasures halfMinutes = road.measures(k30Sec);
    EXPECT_NEAR(halfMinutes.intervals[2875].experiencedMinutes, 2.4, 1e-9);  // 23:57:30 .. 23:59:54
    EXPECT_TRUE(std::isnan(halfMinutes.intervals[2876].experiencedMinutes));
    EXPECT_NEAR(halfMinutes.intervals[2879].travelMinutes, 2.4, 1e-9);
}

// Stations 4 and 5 (1.5 km) at 20 km/h from 07:00 to 08:00, T = 100 km/h, at "1 min": a
// minute's 10 vehicles a station lose 15 * (1/20 - 1/100) = 0.6 vehicle-hours there. Free, the
// trip takes 2.4 min; queued, 1.5 + 4.5. Departing 06:58 a vehicle reaches station 5 at 07:00:06
// and is queued there for 1.5 min: 3.6 min. Departing 07:57 it leaves the queue at 08:01:30 for
// the last half kilometre: 4.8.
TEST(RoadMeasures, AQueueForAnHourIsDelayAndTheExperiencedTripFollowsIt) {
    RoadDay road;
    road.set(4, 5, 840, 960, 5, 30.0f);
    const RoadMeasures m = road.measures(k1Min, kTenMetres, 100.0);
    const auto trip = [&](int k) {
        const IntervalMeasures& interval = m.intervals[static_cast<std::size_t>(k)];
        char text[40];
        std::snprintf(text, sizeof text, "%.2f %.2f", interval.travelMinutes,
                      interval.experiencedMinutes);
        return std::string(text);
    };
    EXPECT_EQ(trip(417), "2.40 2.40");
    EXPECT_EQ(trip(418), "2.40 3.60");  // longer while the queue grows
    EXPECT_EQ(trip(420), "6.00 6.00");
    EXPECT_EQ(trip(477), "6.00 4.80");  // shorter while it clears
    EXPECT_EQ(trip(480), "2.40 2.40");
    const std::vector<PeriodTotals> hours = hourlyTotals(m, 360, 539);
    ASSERT_EQ(hours.size(), 3u);
    const TrafficSums& queued = hours[1].sums;
    EXPECT_EQ(std::pair(hours[1].startSeconds, hours[1].endSeconds), std::pair(25200, 28800));
    EXPECT_NEAR(queued.vkt, 2400.0, 1e-9);
    EXPECT_NEAR(queued.vht, 60.0, 1e-9);
    EXPECT_NEAR(queued.delay, 36.0, 1e-9);
    EXPECT_NEAR(queued.speed(), 40.0, 1e-9);
    EXPECT_EQ(hours[0].sums.delay + hours[2].sums.delay, 0.0);
    EXPECT_EQ(totalsLine(m, totalsOver(m, 360, 539)).substr(0, 22), "06:00:00 to 09:00:00: ");
}

TEST(RoadMeasures, StationDelayCountsOnlyBelowTheThresholdWithAnEstimate) {
    const double cases[][5] = {
        // volume, length, speed, threshold, vehicle-hours
        {10, 1.5, 20, 100, 0.6}, {10, 1.5, 100, 100, 0}, {10, 1.5, 120, 100, 0},
        {10, 1.5, NAN, 100, 0},  {10, 1.5, 0, 100, 0},   {0, 1.5, 20, 100, 0},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(stationDelayHours(c[0], c[1], c[2], c[3]), c[4], 1e-12) << c[2];
    }
}

// At "5 min": 03:00 every station empty (crossed at V = 105 km/h); 04:00 station 3 without data
// (the trip is unknown, its length carries no traffic); 05:00 station 2 with traffic but 0 %
// occupancy (no estimate: a quarter of the vehicle-kilometres unmeasured, the trip unknown).
TEST(RoadMeasures, EmptyStationsAreFreeAndGapsMakeTheTripUnknown) {
    RoadDay road;
    road.set(1, 5, 360, 370, 0, 0.0f);
    road.set(3, 3, 480, 490, 0, 0.0f, 0);
    road.set(2, 2, 600, 610, 5, 0.0f);
    const RoadMeasures m = road.measures(k5Min);
    EXPECT_EQ(line(m, 36), "0.0,0.00,0.00,,2.29,2.29,");
    EXPECT_EQ(line(m, 48), "150.0,1.50,0.00,100.0,,,0.000");
    EXPECT_EQ(line(m, 60), "200.0,1.50,0.00,100.0,,,0.250");
}

TEST(RoadMeasures, RoadsWithoutUsablePositionsAreRefusedNamingWhy) {
    const std::string five = "1,0,\n2,1,\n3,2,\n4,3,\n5,4,\n";
    const struct {
        std::string positions;  // empty: no file
        std::string problem;
        int road;
        std::string message;
    } cases[] = {
        {"", "", 0,
         "Station positions are needed: VURStaPos.list was not found beside the definition "
         "lists."},
        {"", "Type mismatch: VURStaPos.list line 2: post \"x\" is not a number", 0,
         "Type mismatch: VURStaPos.list line 2: post \"x\" is not a number"},
        {"1,0,\n2,1,\n4,3,\n5,4,\n", "", 1,
         "Station 3 of the road Back has no position in VURStaPos.list."},
        {five, "", 2,
         "The road One has one station: its measures need a road of two stations or "
         "more."},
        {"1,0,\n2,1,\n3,1,\n4,3,\n5,4,\n", "", 0,
         "The positions along the road Five are not strictly increasing or strictly decreasing: "
         "station 2 at 1.000 km, then station 3 at 1.000 km."},
        {"1,0,\n2,1,\n3,2.5,\n4,2,\n5,4,\n", "", 1,
         "The positions along the road Back are not strictly increasing or strictly decreasing: "
         "station 4 at 2.000 km, then station 3 at 2.500 km."},
        {five, "", 3, "Station: 99 does not exist.\r\nUnable to measure the road."},
    };
    for (const auto& c : cases) {
        RoadDay road(c.positions.empty() ? five : c.positions);
        if (c.positions.empty()) {
            road.day.positions.reset();
            road.day.positionsProblem = c.problem;
        }
        const auto refused = roadGeometry(road.day, c.road);
        ASSERT_TRUE(std::holds_alternative<Refusal>(refused)) << c.message;
        EXPECT_EQ(std::get<Refusal>(refused).message, c.message);
    }
    // Through the views' entry, the range first, and a missing station logged as the road graphs
    // log it.
    const RoadDay road;
    Log log;
    const IntervalTable table = recomputeIntervals(road.day.tables, road.day.stations, 9, log);
    const auto refusal = [&](int start, int end, int index) {
        const auto measured = measureRoad(road.day, table, index, {5, std::nullopt, start, end},
                                          kTenMetres, kDefaultThresholdKmh, log);
        return std::get<Refusal>(measured).message;
    };
    EXPECT_EQ(refusal(3, 3, 3), "The end time must be greater than the start time.");
    EXPECT_EQ(log.logText(), "");
    EXPECT_EQ(refusal(0, 23, 3), "Station: 99 does not exist.\r\nUnable to measure the road.");
    EXPECT_EQ(log.logText(), "Ghost :99doesn't exist.");
}

}  // namespace
}  // namespace quorvane
