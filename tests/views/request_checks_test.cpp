#include "views/request_checks.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "views/interval_table.h"
#include "views/volume_sum.h"

namespace quorvane {
namespace {

TEST(RequestChecks, WithoutStationDataEveryCommandAsksForDataFirst) {
    // Nothing else is checked: the other selections are missing too.
    EXPECT_EQ(checkStationRequest({}), kNoDataMessage);
    EXPECT_EQ(checkRangeRequest({}), kNoDataMessage);
}

TEST(RequestChecks, StationCommandsNeedAStationThenEveryCommandAnEndAfterTheStart) {
    using Index = std::optional<int>;
    using Message = std::optional<std::string_view>;
    const struct {
        Index station, start, end;
        Message stationMessage, rangeMessage;
    } cases[] = {
        {1, 0, 2879, std::nullopt, std::nullopt},  // the whole-day preset
        {1, 5, 6, std::nullopt, std::nullopt},     // the shortest range
        {std::nullopt, 0, 2879, kNoStationMessage, std::nullopt},
        {-1, 0, 2879, kNoStationMessage, std::nullopt},
        {std::nullopt, 5, 5, kNoStationMessage, kBadRangeMessage},  // the station comes first
        {1, 5, 5, kBadRangeMessage, kBadRangeMessage},
        {1, std::nullopt, 5, kBadRangeMessage, kBadRangeMessage},  // a time typed, not chosen
        {1, 0, std::nullopt, kBadRangeMessage, kBadRangeMessage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        const RequestSelection selection{3, c.station, c.start, c.end};
        EXPECT_EQ(checkStationRequest(selection), c.stationMessage);
        EXPECT_EQ(checkRangeRequest(selection), c.rangeMessage);
    }
}

// Hours of station 2 at 32767 vehicles each, the first at -32768: the sum leaves 16 bits.
TEST(VolumeSum, AddsTheIntervalVolumesOfTheRangeBeyond16Bits) {
    IntervalTable table{.intervalIndex = 9, .stationCount = 2, .intervalCount = 24, .data = {}};
    table.data.assign(48, IntervalValue{0.0f, 32767});
    table.data[24].vol = -32768;
    EXPECT_EQ(volumeSum(table, 1, 1, 23), 23 * 32767);
    EXPECT_EQ(volumeSum(table, 1, 0, 1), -1);
    for (const auto& [row, start, end] : {std::tuple{2, 0, 1}, {-1, 0, 1}, {0, 0, 24}}) {
        EXPECT_THROW(volumeSum(table, row, start, end), Error) << row << " " << end;
    }
}

}  // namespace
}  // namespace quorvane
