#include "views/interval_table.h"

#include <gtest/gtest.h>

#include <limits>

#include "core/error.h"
#include "core/log.h"
#include "support/test_files.h"
#include "views/view_test_data.h"

namespace quorvane {
namespace {

using test::setSlots;
using test::stationListOf;

constexpr int k30Sec = 0, k1Min = 1, k2Min = 2, k5Min = 5, k1Hour = 9;

TEST(IntervalTable, OneHourSumsEach120SlotsAndStartsOnTheFullHours) {
    const StationList list = stationListOf({101, 102});
    StationTables tables = StationTables::zeroed(2);
    for (int slot = 0; slot < kSlotsPerDay; ++slot) {
        tables.volume[StationTables::cell(slot, 1)] = static_cast<int16_t>(slot / 120 + 1);
    }
    Log log;
    const IntervalTable table = recomputeIntervals(tables, list, k1Hour, log);

    ASSERT_EQ(table.intervalCount, 24);
    ASSERT_EQ(table.stationCount, 2);
    ASSERT_EQ(table.data.size(), 48u);
    for (int k = 0; k < 24; ++k) {
        EXPECT_EQ(table.at(1, k).vol, 120 * (k + 1));
        EXPECT_EQ(table.at(0, k), IntervalValue{});
        EXPECT_EQ(formatHms(table.startSeconds(k)),
                  (k < 10 ? "0" : "") + std::to_string(k) + ":00:00");
    }
    EXPECT_DOUBLE_EQ(table.intervalTime(0), 0.0);
    EXPECT_DOUBLE_EQ(table.intervalTime(23), 23.0 / 24.0);
    EXPECT_EQ(log.logText(), "");
}

TEST(IntervalTable, ThirtySecondsRoundsOccupancyWhereVolumeIsNotZero) {
    const StationList list = stationListOf({5});
    StationTables tables = StationTables::zeroed(1);
    setSlots(tables, 0, 0, {7, 0, 1, 1, 1}, {12.4f, 35.0f, 2.5f, 1.5f, 12.5f});
    Log log;
    const IntervalTable table = recomputeIntervals(tables, list, k30Sec, log);

    ASSERT_EQ(table.intervalCount, 2880);
    EXPECT_EQ(table.at(0, 0), (IntervalValue{12.0f, 7}));
    EXPECT_EQ(table.at(0, 1), (IntervalValue{0.0f, 0}));  // volume 0: occupancy ignored
    EXPECT_EQ(table.at(0, 2).occ, 2.0f);                  // halves to even
    EXPECT_EQ(table.at(0, 3).occ, 2.0f);
    EXPECT_EQ(table.at(0, 4).occ, 12.0f);
    EXPECT_EQ(formatHms(table.startSeconds(2879)), "23:59:30");
}

TEST(IntervalTable, RoundsTheRunningOccupancySumAfterEachSlot) {
    const StationList list = stationListOf({5});
    StationTables tables = StationTables::zeroed(1);
    // "1 min": 12.4 + 12.4 gives 12 then 24 (24.4 rounded).
    setSlots(tables, 0, 0, {3, 4}, {12.4f, 12.4f});
    // 0.5 + 0.5: 0, then 0.5 again rounds to 0.
    setSlots(tables, 0, 2, {1, 1}, {0.5f, 0.5f});
    // 1.5 + 1.0: 2, then 3 over two slots.
    setSlots(tables, 0, 4, {1, 1}, {1.5f, 1.0f});
    Log log;
    const IntervalTable table = recomputeIntervals(tables, list, k1Min, log);
    EXPECT_EQ(table.at(0, 0), (IntervalValue{12.0f, 7}));
    EXPECT_EQ(table.at(0, 1), (IntervalValue{0.0f, 2}));
    EXPECT_EQ(table.at(0, 2), (IntervalValue{1.5f, 2}));
}

TEST(IntervalTable, MeansOnlyOverSlotsWithVolume) {
    const StationList list = stationListOf({5, 6});
    StationTables tables = StationTables::zeroed(2);
    setSlots(tables, 1, 0, {0, 5, 0, 5}, {50.0f, 10.0f, 50.0f, 20.0f});
    setSlots(tables, 1, 4, {0, 0, 0, 0}, {50.0f, 10.0f, 50.0f, 20.0f});
    // Negative volumes count as volume: the slot's occupancy is added.
    setSlots(tables, 1, 8, {-2, 0, 0, 0}, {9.0f, 0.0f, 0.0f, 0.0f});
    // A mean that is no whole number, divided in single precision.
    setSlots(tables, 1, 12, {1, 1, 1, 0}, {10.0f, 0.0f, 0.0f, 0.0f});
    Log log;
    const IntervalTable table = recomputeIntervals(tables, list, k2Min, log);
    ASSERT_EQ(table.intervalCount, 720);
    EXPECT_EQ(table.at(1, 0), (IntervalValue{15.0f, 10}));
    EXPECT_EQ(table.at(1, 1), (IntervalValue{0.0f, 0}));
    EXPECT_EQ(table.at(1, 2), (IntervalValue{9.0f, -2}));
    EXPECT_EQ(table.at(1, 3), (IntervalValue{10.0f / 3.0f, 3}));
}

TEST(IntervalTable, TreatsAnIndexOutsideTheListAsThirtySeconds) {
    Log log;
    for (const int index : {-1, 10, 1000}) {
        const IntervalTable table =
            recomputeIntervals(StationTables::zeroed(1), stationListOf({5}), index, log);
        EXPECT_EQ(std::tuple(table.intervalIndex, table.intervalCount, table.startSeconds(1)),
                  std::tuple(0, 2880, 30));
    }
    EXPECT_EQ(intervalChoice(-1).text, "30 sec");
    EXPECT_EQ(intervalIndexForText("1 hour"), 9);
    EXPECT_EQ(intervalIndexForText("5 Min"), std::nullopt);
}

TEST(IntervalTable, ClampsAVolumeSumBeyond16BitsAndLogsWhere) {
    const StationList list = stationListOf({101, 202});
    StationTables tables = StationTables::zeroed(2);
    // Interval 7 of station 202 at "1 hour": 120 slots of 300 = 36000.
    for (int slot = 7 * 120; slot < 8 * 120; ++slot) {
        tables.volume[StationTables::cell(slot, 1)] = 300;
    }
    for (int slot = 0; slot < 120; ++slot) {
        tables.volume[StationTables::cell(slot, 0)] = -300;
    }
    Log log;
    const IntervalTable table = recomputeIntervals(tables, list, k1Hour, log);
    EXPECT_EQ(table.at(1, 7).vol, 32767);
    EXPECT_EQ(table.at(0, 0).vol, -32768);
    EXPECT_EQ(log.logText(),
              "Station 101, interval 00:00:00: volume sum -36000 clamped to -32768\r\n"
              "Station 202, interval 07:00:00: volume sum 36000 clamped to 32767\r\n");
}

TEST(IntervalTable, RefusesOccupanciesThatTakeTheSumOutOf32Bits) {
    const StationList list = stationListOf({101, 202});
    Log log;
    for (const float bad :
         {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
          -std::numeric_limits<float>::infinity(), 3.0e9f, -3.0e9f}) {
        StationTables tables = StationTables::zeroed(2);
        setSlots(tables, 1, 5, {1}, {bad});
        const Error e = test::errorOf([&] { recomputeIntervals(tables, list, k5Min, log); });
        EXPECT_EQ(e.number(), errc::kOverflow) << bad;
        EXPECT_NE(e.description().find("station 202, slot 5"), std::string::npos)
            << e.description();
    }
    // Two large values that fit alone but not together.
    StationTables tables = StationTables::zeroed(2);
    setSlots(tables, 0, 0, {1, 1}, {2.0e9f, 2.0e9f});
    EXPECT_THROW(recomputeIntervals(tables, list, k1Min, log), Error);
    // The same values where the volume is 0 are never read.
    setSlots(tables, 0, 0, {0, 0}, {std::numeric_limits<float>::quiet_NaN(), 2.0e9f});
    EXPECT_EQ(recomputeIntervals(tables, list, k1Min, log).at(0, 0), IntervalValue{});
}

TEST(IntervalTable, RefusesTablesWithFewerRowsThanTheList) {
    const StationList list = stationListOf({1, 2, 3});
    Log log;
    EXPECT_THROW(recomputeIntervals(StationTables::zeroed(2), list, k5Min, log), Error);
    // More rows than stations: only the list's rows are recomputed.
    const IntervalTable table = recomputeIntervals(StationTables::zeroed(5), list, k5Min, log);
    EXPECT_EQ(table.stationCount, 3);
    EXPECT_EQ(table.data.size(), 3u * 288);
}

TEST(IntervalTable, ReportsEachFinishedStationAndNothingWithoutStations) {
    std::vector<std::pair<int, int>> calls;
    const auto record = [&](int done, int total) { calls.emplace_back(done, total); };
    Log log;
    recomputeIntervals(StationTables::zeroed(3), stationListOf({7, 8, 9}), k5Min, log, record);
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{0, 3}, {1, 3}, {2, 3}}));

    calls.clear();
    const IntervalTable none =
        recomputeIntervals(StationTables{}, StationList{}, k5Min, log, record);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(none.stationCount, 0);
    EXPECT_TRUE(none.data.empty());
}

TEST(TimeText, FormatsAndParsesTimesOfDay) {
    EXPECT_EQ(formatHms(7 * 3600 + 5 * 60 + 30), "07:05:30");
    EXPECT_EQ(formatHms(86399), "23:59:59");
    EXPECT_EQ(parseTimeOfDay("07:05:30"), 7 * 3600 + 5 * 60 + 30);
    EXPECT_EQ(parseTimeOfDay("23:59"), 23 * 3600 + 59 * 60);
    EXPECT_EQ(parseTimeOfDay("00:00:00"), 0);
    for (const char* bad : {"", "7", "24:00", "12:60", "12:00:60", "12:3", "12:30:", "a2:30",
                            "12:30:00:00", " 12:30", "-1:30", "123:00"}) {
        EXPECT_EQ(parseTimeOfDay(bad), std::nullopt) << bad;
    }
}

}  // namespace
}  // namespace quorvane
