#include "definitions/road_list.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "support/test_files.h"

namespace quorvane {
namespace {

using Stations = std::vector<int16_t>;

TEST(RoadList, ReadsNamesAsWrittenAndTheStationRun) {
    const RoadList list = RoadList::parse(
        "North Loop, 101, 102, 103,\r\n"
        "East Spur, 201, 202, end, 203,\r\n"
        "West Spur, 301, 302\r\n"
        "  South Loop , 401,\r\n"
        "; Hidden, 1,\r\n"
        "North Loop, 104,\r\n");
    ASSERT_EQ(list.count(), 5);
    EXPECT_EQ(list.staList(0), (Stations{101, 102, 103}));
    EXPECT_EQ(list.staList(1), (Stations{201, 202}));
    EXPECT_EQ(list.staList(2), (Stations{301}));
    EXPECT_EQ(list.roadByIndex(3), "  South Loop ");
    EXPECT_EQ(list.staList(3), (Stations{401}));
    EXPECT_EQ(list.roadByIndex(4), "North Loop");  // the same name twice: two records
    EXPECT_EQ(list.findRoad("North Loop"), 0);
    EXPECT_EQ(list.findRoad("  South Loop "), 3);
    EXPECT_FALSE(list.findRoad("South Loop").has_value());
    EXPECT_THROW(list.roadByIndex(5), Error);
    EXPECT_THROW(list.staList(-1), Error);
}

TEST(RoadList, LfFilesReadLikeCrLfFiles) {
    EXPECT_EQ(RoadList::parse("A, 1, 2,\nB, 3,\n").roadDefs(),
              RoadList::parse("A, 1, 2,\r\nB, 3,\r\n").roadDefs());
}

TEST(RoadList, MalformedLinesAreErrorsNamingTheLine) {
    const struct {
        const char* text;
        int number;
        const char* mentions;
    } cases[] = {
        {"\r\n;x\r\n", 9, "no road line"},
        {"Road A\r\n", 9, "line 1: no \",\""},
        {"Road A, x, 1,\r\n", 9, "no station number"},
        {"Road A, 101\r\n", 9, "no station number"},
        {"Road A, 1,\r\nRoad B, 99999,\r\n", 6, "line 2: station number \"99999\""},
    };
    for (const auto& c : cases) {
        const Error e = test::errorOf([&] { RoadList::parse(c.text); });
        EXPECT_EQ(e.number(), c.number) << c.text;
        EXPECT_NE(e.description().find(c.mentions), std::string::npos) << e.description();
        EXPECT_NE(e.description().find("VURRoad2Sta.list"), std::string::npos);
    }
}

}  // namespace
}  // namespace quorvane
