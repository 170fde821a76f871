#include "views/interval_table.h"

#include <gtest/gtest.h>

#include <limits>

#include "base/error.h"
#include "base/log.h"
#include "support/test_files.h"
#include "views/view_test_data.h"

namespace quorvane {
namespace {

using test::stationListOf;

constexpr int k30Sec = 0, k1Min = 1, k2Min = 2, k5Min = 5, k1Hour = 9;

TEST(IntervalTable, RoundsTheRunningOccupancySumAndMeansOverSlotsWithVolume) {
    const struct {
        int interval;
        std::vector<int16_t> volumes;
        std::vector<float> occupancies;
        std::vector<IntervalValue> expected;  // the first intervals
    } cases[] = {
        // "30 sec": rounded, halves to even, where the volume is not 0.
        {k30Sec,
         {7, 0, 1, 1, 1},
         {12.4f, 35.0f, 2.5f, 1.5f, 12.5f},
         {{12.0f, 7}, {0.0f, 0}, {2.0f, 1}, {2.0f, 1}, {12.0f, 1}}},
        // "1 min": 12.4 + 12.4 gives 12, then 24 (24.4 rounded); 0.5 + 0.5 gives 0 twice;
        // 1.5 + 1.0 gives 2, then 3 over two slots.
        {k1Min,
         {3, 4, 1, 1, 1, 1},
         {12.4f, 12.4f, 0.5f, 0.5f, 1.5f, 1.0f},
         {{12.0f, 7}, {0.0f, 2}, {1.5f, 2}}},
        // "2 min": the mean over the slots with volume (a negative one counts), divided in
        // single precision.
        {k2Min,
         {0, 5, 0, 5, 0, 0, 0, 0, -2, 0, 0, 0, 1, 1, 1, 0},
         {50.0f, 10.0f, 50.0f, 20.0f, 50.0f, 10.0f, 50.0f, 20.0f, 9.0f, 0.0f, 0.0f, 0.0f, 10.0f,
          0.0f, 0.0f, 0.0f},
         {{15.0f, 10}, {0.0f, 0}, {9.0f, -2}, {10.0f / 3.0f, 3}}},
    };
    for (const auto& c : cases) {
        StationTables tables = StationTables::zeroed(2);
        test::setSlots(tables, 1, 0, c.volumes, c.occupancies);
        Log log;
        const IntervalTable table =
            recomputeIntervals(tables, stationListOf({5, 6}), c.interval, log);
        const auto row = table.row(1);
        EXPECT_EQ(std::vector<IntervalValue>(row.begin(), row.begin() + c.expected.size()),
                  c.expected)
            << c.interval;
    }
}

// Station 6 counts one vehicle in every slot and six in slot 241 (02:00:30).
TEST(IntervalTable, EachOfTheTenIntervalsSumsItsOwnSlotsFromMidnight) {
    StationTables tables = StationTables::zeroed(2);
    for (int slot = 0; slot < kSlotsPerDay; ++slot) {
        tables.volume[StationTables::cell(slot, 1)] = slot == 241 ? 6 : 1;
    }
    const struct {
        const char* text;
        int intervals, slots, marked;  // slots per interval; the interval holding slot 241
        const char* secondEntry;       // of the time lists
    } cases[] = {
        {"30 sec", 2880, 1, 241, "00:00:30"}, {"1 min", 1440, 2, 120, "00:01:00"},
        {"2 min", 720, 4, 60, "00:02:00"},    {"3 min", 480, 6, 40, "00:03:00"},
        {"4 min", 360, 8, 30, "00:04:00"},    {"5 min", 288, 10, 24, "00:05:00"},
        {"10 min", 144, 20, 12, "00:10:00"},  {"15 min", 96, 30, 8, "00:15:00"},
        {"30 min", 48, 60, 4, "00:30:00"},    {"1 hour", 24, 120, 2, "01:00:00"},
    };
    Log log;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto index = intervalIndexForText(c.text);
        ASSERT_TRUE(index.has_value());
        const IntervalTable table = recomputeIntervals(tables, stationListOf({5, 6}), *index, log);
        ASSERT_EQ(table.intervalCount, c.intervals);
        EXPECT_EQ(formatHms(table.startSeconds(1)), c.secondEntry);
        EXPECT_EQ(table.at(1, c.marked).vol, c.slots + 5);
        EXPECT_EQ(table.at(1, c.marked - 1).vol, c.slots);
        EXPECT_EQ(table.at(1, c.intervals - 1).vol, c.slots);
        EXPECT_EQ(table.at(0, c.marked), IntervalValue{});
    }
    EXPECT_EQ(intervalIndexForText("5 Min"), std::nullopt);
    // An index outside the list (no entry selected) is "30 sec".
    for (const int index : {-1, 10}) {
        EXPECT_EQ(recomputeIntervals(tables, stationListOf({5, 6}), index, log).intervalCount,
                  2880);
    }
    EXPECT_EQ(log.logText(), "");
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
    constexpr float kNan = std::numeric_limits<float>::quiet_NaN();
    constexpr float kInf = std::numeric_limits<float>::infinity();
    Log log;
    for (const float bad : {kNan, kInf, -kInf, 3.0e9f, -3.0e9f}) {
        StationTables tables = StationTables::zeroed(2);
        test::setSlots(tables, 1, 5, {1}, {bad});
        const Error e = test::errorOf([&] { recomputeIntervals(tables, list, k5Min, log); });
        EXPECT_EQ(e.number(), errc::kOverflow) << bad;
        EXPECT_NE(e.description().find("station 202, slot 5"), std::string::npos)
            << e.description();
    }
    // Two large values that fit alone but not together; where the volume is 0, never read.
    StationTables tables = StationTables::zeroed(2);
    test::setSlots(tables, 0, 0, {1, 1}, {2.0e9f, 2.0e9f});
    EXPECT_THROW(recomputeIntervals(tables, list, k1Min, log), Error);
    test::setSlots(tables, 0, 0, {0, 0}, {kNan, 2.0e9f});
    EXPECT_EQ(recomputeIntervals(tables, list, k1Min, log).at(0, 0), IntervalValue{});
}

TEST(TimeText, FormatsAndParsesTimesOfDay) {
    EXPECT_EQ(formatHms(86399), "23:59:59");
    EXPECT_EQ(parseTimeOfDay("07:05:30"), 7 * 3600 + 5 * 60 + 30);
    EXPECT_EQ(parseTimeOfDay("23:59"), 23 * 3600 + 59 * 60);
    for (const char* bad : {"", "7", "24:00", "12:60", "12:00:60", "12:3", "12:30:", " 12:30"}) {
        EXPECT_EQ(parseTimeOfDay(bad), std::nullopt) << bad;
    }
}

}  // namespace
}  // namespace quorvane
