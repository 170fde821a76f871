#include "views/request_checks.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/error.h"
#include "support/test_files.h"
#include "views/interval_table.h"
#include "views/volume_sum.h"

namespace quorvane {
namespace {

TEST(RequestChecks, WithoutStationDataEveryCommandAsksForDataFirst) {
    // Nothing else is checked: the other selections are missing too.
    const RequestSelection none{};
    EXPECT_EQ(checkStationRequest(none), kNoDataMessage);
    EXPECT_EQ(checkRangeRequest(none), kNoDataMessage);
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
        {1, 6, 5, kBadRangeMessage, kBadRangeMessage},
        {1, std::nullopt, 5, kBadRangeMessage, kBadRangeMessage},
        {1, 0, std::nullopt, kBadRangeMessage, kBadRangeMessage},
        {1, -1, 5, kBadRangeMessage, kBadRangeMessage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        const RequestSelection selection{3, c.station, c.start, c.end};
        EXPECT_EQ(checkStationRequest(selection), c.stationMessage);
        EXPECT_EQ(checkRangeRequest(selection), c.rangeMessage);
    }
}

// Station 2's volume in hour k is k + 1, then 32767 in every hour; a negative one counts.
TEST(VolumeSum, AddsTheIntervalVolumesOfTheRangeBeyond16Bits) {
    IntervalTable table{.intervalIndex = 9, .stationCount = 2, .intervalCount = 24, .data = {}};
    table.data.resize(48);
    for (int k = 0; k < 24; ++k) {
        table.data[static_cast<std::size_t>(24 + k)].vol = static_cast<int16_t>(k + 1);
    }
    EXPECT_EQ(std::tuple(volumeSum(table, 1, 7, 8), volumeSum(table, 1, 0, 23),
                         volumeSum(table, 0, 0, 23)),
              std::tuple(8 + 9, 300, 0));
    for (const auto& [row, start, end] : {std::tuple{2, 0, 1}, {-1, 0, 1}, {0, 0, 24}, {0, 5, 4}}) {
        EXPECT_THROW(volumeSum(table, row, start, end), Error) << row << " " << start << " " << end;
    }
    std::fill_n(table.data.begin() + 24, 24, IntervalValue{0.0f, 32767});
    EXPECT_EQ(volumeSum(table, 1, 0, 23), 24 * 32767);
    table.data[24].vol = -32768;
    EXPECT_EQ(volumeSum(table, 1, 0, 1), -1);
}

}  // namespace
}  // namespace quorvane
