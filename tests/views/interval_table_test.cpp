#include "views/interval_table.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/error.h"
#include "base/log.h"
#include "support/test_files.h"
#include "views/view_test_data.h"

namespace quorvane {
namespace {

using test::stationListOf;

// Sets slots from `firstSlot` on of one station.
void setSlots(StationTables& tables, int station, int firstSlot,
              const std::vector<int16_t>& volumes, const std::vector<float>& occupancies) {
    for (std::size_t i = 0; i < volumes.size(); ++i) {
        const std::size_t cell = StationTables::cell(firstSlot + static_cast<int>(i), station);
        tables.volume[cell] = volumes[i];
        tables.occupancy[cell] = occupancies[i];
    }
}

TEST(IntervalTable, RoundsTheRunningOccupancySumAndMeansOverSlotsWithVolume) {
    const struct {
        int interval;
        std::vector<int16_t> volumes;
        std::vector<float> occupancies;
        std::vector<IntervalValue> expected;  // the first intervals
    } cases[] = {
        // "30 sec": rounded, halves to even, where the volume is not 0.
        {0,
         {7, 0, 1, 1, 1},
         {12.4f, 35.0f, 2.5f, 1.5f, 12.5f},
         {{12.0f, 7}, {0.0f, 0}, {2.0f, 1}, {2.0f, 1}, {12.0f, 1}}},
        // "1 min": 12.4 + 12.4 gives 12, then 24 (24.4 rounded); 0.5 + 0.5 gives 0 twice;
        // 1.5 + 1.0 gives 2, then 3 over two slots.
        {1,
         {3, 4, 1, 1, 1, 1},
         {12.4f, 12.4f, 0.5f, 0.5f, 1.5f, 1.0f},
         {{12.0f, 7}, {0.0f, 2}, {1.5f, 2}}},
        // "2 min": the mean over the slots with volume (a negative one counts), divided in
        // single precision.
        {2,
         {0, 5, 0, 5, 0, 0, 0, 0, -2, 0, 0, 0, 1, 1, 1, 0},
         {50, 10, 50, 20, 50, 10, 50, 20, 9, 0, 0, 0, 10, 0, 0, 0},
         {{15.0f, 10}, {0.0f, 0}, {9.0f, -2}, {10.0f / 3.0f, 3}}},
    };
    for (const auto& c : cases) {
        StationTables tables = StationTables::zeroed(2);
        setSlots(tables, 1, 0, c.volumes, c.occupancies);
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
        const IntervalTable table =
            recomputeIntervals(tables, stationListOf({5, 6}), *intervalIndexForText(c.text), log);
        ASSERT_EQ(table.intervalCount, c.intervals);
        EXPECT_EQ(formatHms(table.startSeconds(1)), c.secondEntry);
        EXPECT_EQ(std::tuple(table.at(1, c.marked - 1).vol, table.at(1, c.marked).vol,
                             table.at(1, c.intervals - 1).vol, table.at(0, c.marked).vol),
                  std::tuple(c.slots, c.slots + 5, c.slots, 0));
    }
    EXPECT_EQ(intervalIndexForText("5 Min"), std::nullopt);
    // No entry selected is "30 sec".
    EXPECT_EQ(recomputeIntervals(tables, stationListOf({5, 6}), -1, log).intervalCount, 2880);
    EXPECT_EQ(log.logText(), "");
}

TEST(IntervalTable, ClampsAVolumeSumBeyond16BitsAndLogsWhere) {
    StationTables tables = StationTables::zeroed(2);
    // "1 hour": 120 slots of -300 in interval 0 of station 101, of 300 in interval 7 of 202.
    for (int slot = 0; slot < 120; ++slot) {
        tables.volume[StationTables::cell(slot, 0)] = -300;
        tables.volume[StationTables::cell(7 * 120 + slot, 1)] = 300;
    }
    Log log;
    const IntervalTable table = recomputeIntervals(tables, stationListOf({101, 202}), 9, log);
    EXPECT_EQ(std::pair(table.at(1, 7).vol, table.at(0, 0).vol),
              std::pair(int16_t{32767}, int16_t{-32768}));
    EXPECT_EQ(log.logText(),
              "Station 101, interval 00:00:00: volume sum -36000 clamped to -32768\r\n"
              "Station 202, interval 07:00:00: volume sum 36000 clamped to 32767\r\n");
}

TEST(IntervalTable, RefusesOccupanciesThatTakeTheSumOutOf32Bits) {
    const StationList list = stationListOf({101, 202});
    Log log;
    for (const float bad : {float(NAN), INFINITY, -INFINITY, 3.0e9f, -3.0e9f}) {
        StationTables tables = StationTables::zeroed(2);
        setSlots(tables, 1, 5, {1}, {bad});
        const Error e = test::errorOf([&] { recomputeIntervals(tables, list, 5, log); });
        EXPECT_EQ(e.number(), errc::kOverflow) << bad;
        EXPECT_NE(e.description().find("station 202, slot 5"), std::string::npos) << bad;
    }
    // Two large values that fit alone but not together; where the volume is 0, never read.
    StationTables tables = StationTables::zeroed(2);
    setSlots(tables, 0, 0, {1, 1}, {2.0e9f, 2.0e9f});
    EXPECT_THROW(recomputeIntervals(tables, list, 1, log), Error);
    setSlots(tables, 0, 0, {0, 0}, {NAN, 2.0e9f});
    EXPECT_EQ(recomputeIntervals(tables, list, 1, log).at(0, 0), IntervalValue{});
}

TEST(TimeText, FormatsAndParsesTimesOfDay) {
    EXPECT_EQ(formatHms(86399), "23:59:59");
    EXPECT_EQ(std::pair(parseTimeOfDay("07:05:30"), parseTimeOfDay("23:59")),
              std::pair(std::optional(25530), std::optional(86340)));
    for (const char* bad : {"", "7", "24:00", "12:60", "12:00:60", "12:3", "12:30:", " 12:30"}) {
        EXPECT_EQ(parseTimeOfDay(bad), std::nullopt) << bad;
    }
}

}  // namespace
}  // namespace quorvane
