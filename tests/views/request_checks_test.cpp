#include "views/request_checks.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "core/log.h"
#include "views/interval_table.h"
#include "views/view_test_data.h"
#include "views/volume_sum.h"

namespace quorvane {
namespace {

RequestSelection wholeDay() {
    return {.stationEntries = 3, .station = 1, .start = 0, .end = 2879};
}

TEST(RequestChecks, PassTheWholeDayPresetRange) {
    EXPECT_EQ(checkStationRequest(wholeDay()), std::nullopt);
    EXPECT_EQ(checkRangeRequest(wholeDay()), std::nullopt);
}

TEST(RequestChecks, WithoutStationDataEveryCommandAsksForDataFirst) {
    // Nothing else is checked: the other selections are missing too.
    const RequestSelection none{};
    EXPECT_EQ(checkStationRequest(none), kNoDataMessage);
    EXPECT_EQ(checkRangeRequest(none), kNoDataMessage);
    EXPECT_EQ(kNoDataMessage, "You must create data first befor plotting.");
}

TEST(RequestChecks, OnlyStationCommandsNeedASelectedStation) {
    RequestSelection typed = wholeDay();
    typed.station.reset();
    EXPECT_EQ(checkStationRequest(typed), kNoStationMessage);
    EXPECT_EQ(checkRangeRequest(typed), std::nullopt);
    typed.start = 5;
    typed.end = 5;
    // The station check comes before the range check.
    EXPECT_EQ(checkStationRequest(typed), kNoStationMessage);
    EXPECT_EQ(checkRangeRequest(typed), kBadRangeMessage);
}

TEST(RequestChecks, RefuseRangesShorterThanTwoIntervals) {
    for (const auto& [start, end] : {std::pair<std::optional<int>, std::optional<int>>{5, 5},
                                     {6, 5},
                                     {std::nullopt, 5},
                                     {0, std::nullopt},
                                     {std::nullopt, std::nullopt}}) {
        RequestSelection selection = wholeDay();
        selection.start = start;
        selection.end = end;
        EXPECT_EQ(checkStationRequest(selection), kBadRangeMessage);
        EXPECT_EQ(checkRangeRequest(selection), kBadRangeMessage);
    }
    RequestSelection shortest = wholeDay();
    shortest.start = 5;
    shortest.end = 6;
    EXPECT_EQ(checkStationRequest(shortest), std::nullopt);
    EXPECT_EQ(kBadRangeMessage, "The end time must be greater than the start time.");
}

IntervalTable hourTable() {
    StationTables tables = StationTables::zeroed(2);
    for (int slot = 0; slot < kSlotsPerDay; ++slot) {
        tables.volume[StationTables::cell(slot, 1)] = static_cast<int16_t>(slot % 7 + 1);
    }
    Log log;
    return recomputeIntervals(tables, test::stationListOf({1, 2}), 9, log);
}

TEST(VolumeSum, AddsTheIntervalVolumesOfTheRange) {
    StationTables tables = StationTables::zeroed(2);
    int32_t dayTotal = 0;
    int32_t sevenToNine = 0;
    for (int slot = 0; slot < kSlotsPerDay; ++slot) {
        const auto vol = static_cast<int16_t>(slot % 7 + 1);
        tables.volume[StationTables::cell(slot, 1)] = vol;
        dayTotal += vol;
        if (slot >= 7 * 120 && slot < 9 * 120) {
            sevenToNine += vol;
        }
    }
    Log log;
    const StationList list = test::stationListOf({1, 2});
    // Any interval length gives the same total over the same span.
    for (const int interval : {0, 5, 9}) {
        const IntervalTable table = recomputeIntervals(tables, list, interval, log);
        EXPECT_EQ(volumeSum(table, 1, 0, table.intervalCount - 1), dayTotal);
        EXPECT_EQ(volumeSum(table, 0, 0, table.intervalCount - 1), 0);
    }
    EXPECT_EQ(volumeSum(recomputeIntervals(tables, list, 9, log), 1, 7, 8), sevenToNine);
}

TEST(VolumeSum, KeepsTheTotalBeyond16Bits) {
    IntervalTable table = hourTable();
    for (int k = 0; k < 24; ++k) {
        table.data[static_cast<std::size_t>(24 + k)].vol = 32767;
    }
    EXPECT_EQ(volumeSum(table, 1, 0, 23), 24 * 32767);
    table.data[24].vol = -32768;
    EXPECT_EQ(volumeSum(table, 1, 0, 1), -1);
}

TEST(VolumeSum, RefusesRowsAndRangesOutsideTheTable) {
    const IntervalTable table = hourTable();
    for (const auto& [row, start, end] :
         {std::tuple{2, 0, 1}, {-1, 0, 1}, {0, -1, 1}, {0, 0, 24}, {0, 5, 4}}) {
        try {
            volumeSum(table, row, start, end);
            ADD_FAILURE() << row << " " << start << " " << end;
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), errc::kSubscriptOutOfRange);
        }
    }
}

}  // namespace
}  // namespace quorvane
