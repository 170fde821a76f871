// The two definition lists and the line, field and number rules they share.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/error.h"
#include "definitions/list_text.h"
#include "definitions/road_list.h"
#include "definitions/station_list.h"
#include "support/test_files.h"

namespace quorvane {
namespace {

using test::errorOf;
using namespace std::string_view_literals;

std::string lf(std::string text) {
    std::erase(text, '\r');
    return text;
}

// A detector run stops at the first field that is no number and never takes the last field.
// LF line ends read like CR LF.
TEST(StationList, ReadsTheDetectorRunAfterPWithLfOrCrLf) {
    const std::string text =
        "101, P, 411, 412, 413,\r\n102, P, 421, 422, S, 425,\r\n103, P, 431, 432\r\n"
        "104, north, P, 441, 442,\r\n105, P, 451, x, 452,\r\n  ; 106, P, 461,\r\n";
    const std::vector<StationRecord> expected{
        {101, {411, 412, 413}}, {102, {421, 422}}, {103, {431}}, {104, {441, 442}}, {105, {451}}};
    EXPECT_EQ(StationList::parse(text).stationDefs(), expected);
    EXPECT_EQ(StationList::parse(lf(text)).stationDefs(), expected);
}

TEST(StationList, StaIndexDoesNotDependOnFileOrder) {
    const StationList list = StationList::parse("300,P,1,\r\n100,P,2,\r\n200,P,3,\r\n100,P,4,\r\n");
    // The first line that names a station counts.
    EXPECT_EQ(
        std::tuple(list.staIndex(300), list.staIndex(100), list.staIndex(200), list.staIndex(400)),
        std::tuple(0, 1, 2, -1));
}

TEST(StationList, MissingFileIsFileNotFoundNamingThePath) {
    test::TempDir dir;
    const Error missing = errorOf([&] { StationList::buildList(dir.path()); });
    EXPECT_EQ(missing.number(), errc::kFileNotFound);
    EXPECT_NE(missing.description().find((dir / "VURSta2Det.list").string()), std::string::npos);
    EXPECT_EQ(errorOf([&] { StationList::buildList(dir / "no-such-folder"); }).number(),
              errc::kPathNotFound);
    std::filesystem::create_directory(dir / "VURSta2Det.list");  // there, but unreadable
    EXPECT_EQ(errorOf([&] { StationList::buildList(dir.path()); }).number(), errc::kPathFileAccess);
}

// The same name twice makes two records; names keep their spaces.
TEST(RoadList, ReadsNamesAsWrittenAndTheStationRunWithLfOrCrLf) {
    const std::string text =
        "North Loop, 101, 102, 103,\r\nEast Spur, 201, 202, end, 203,\r\nWest Spur, 301, 302\r\n"
        "  South Loop , 401,\r\n; Hidden, 1,\r\nNorth Loop, 104,\r\n";
    const RoadList list = RoadList::parse(text);
    EXPECT_EQ(list.roadDefs(), (std::vector<RoadRecord>{{"North Loop", {101, 102, 103}},
                                                        {"East Spur", {201, 202}},
                                                        {"West Spur", {301}},
                                                        {"  South Loop ", {401}},
                                                        {"North Loop", {104}}}));
    EXPECT_EQ(RoadList::parse(lf(text)).roadDefs(), list.roadDefs());
    EXPECT_EQ(std::pair(list.findRoad("North Loop"), list.findRoad("  South Loop ")),
              std::pair(std::optional<int>(0), std::optional<int>(3)));
    EXPECT_FALSE(list.findRoad("South Loop").has_value());
}

// Errors name the file, the line (skipped lines count) and what is wrong with it; more than
// 32767 entries, or 32768 lines blank ones included, overflow.
TEST(DefinitionLists, MalformedLinesAreErrorsNamingFileLineAndKind) {
    std::string stations, roads;
    for (int i = 0; i < 32768; ++i) {
        stations += "1,P,1,\n";
        roads += "R,1,\n";
    }
    const std::string blanks = "1,P,1,\n" + std::string(32769, '\n');
    const struct {
        bool road;
        std::string_view text;
        int number;
        const char* mentions;
    } cases[] = {
        {false, "", 9, "VURSta2Det.list has no station line"},
        {false, "; only a comment\r\n   \r\n", 9, "no station line"},
        {false, "101\r\n", 9, "VURSta2Det.list line 1: no \",\""},
        {false, "101,1,2,\r\n", 9, "no \"P\""},
        {false, "101,1,P\r\n", 9, "no detector number after \"P\""},
        {false, "101,P,,\r\n", 9, "no detector number"},
        {false, "101,P,411\r\n", 9, "no detector number"},  // the only detector is the last field
        {false, "x1,P,1,\r\n", 13, "station number \"x1\""},
        {false, "\t\r\n", 13, "station number \"\\x09\""},
        {false, "; head\r\n\r\n101,P,1,\r\n40000,P,1,\r\n", 6, "line 4: station number \"40000\""},
        {false, "101,P,1,70000,\r\n", 6, "detector number \"70000\""},
        {false, "\x7f\x45LF\x02\x01,\x01\0,P,\xff,\r\n"sv, 13, "\"\\x7FELF\\x02\\x01\""},  // binary
        {true, "\r\n;x\r\n", 9, "VURRoad2Sta.list has no road line"},
        {true, "Road A\r\n", 9, "VURRoad2Sta.list line 1: no \",\""},
        {true, "Road A, x, 1,\r\n", 9, "no station number"},
        {true, "Road A, 101\r\n", 9, "no station number"},
        {true, "Road A, 1,\r\nRoad B, 99999,\r\n", 6, "line 2: station number \"99999\""},
        {false, stations, 6, "VURSta2Det.list has more than 32767 station lines"},
        {true, roads, 6, "VURRoad2Sta.list has more than 32767 road lines"},
        {false, blanks, 6, "has more than 32768 lines"},
    };
    for (const auto& c : cases) {
        const Error e = errorOf(
            [&] { c.road ? void(RoadList::parse(c.text)) : void(StationList::parse(c.text)); });
        EXPECT_EQ(e.number(), c.number) << c.text;
        EXPECT_NE(e.description().find(c.mentions), std::string::npos) << e.description();
    }
}

// A list field is a number only in plain decimal; fractions round with halves to even.
TEST(ListText, FieldsArePlainDecimalsRoundedHalvesToEven) {
    const std::pair<const char*, int> converted[] = {
        {"2.5", 2},           {"3.5", 4},  {"2.500001", 3}, {"-2.5", -2}, {"-2.6", -3},
        {" 32767 ", 32767},   {"+4", 4},   {".5", 0},       {"7.", 7},    {"-32768.5", -32768},
        {"000000000042", 42}, {"-0.5", 0},
    };
    for (const auto& [text, value] : converted) {
        EXPECT_TRUE(isNumeric(text)) << text;
        EXPECT_EQ(toInt16(text).value, value) << text;
    }
    for (const char* beyond : {"32767.5", "32768", "99999999999999999999"}) {
        EXPECT_TRUE(isNumeric(beyond) && toInt16(beyond).overflow) << beyond;
    }
    for (const char* no : {"", " ", "-", ".", "1e3", "0x10", "1,5", "\t1", "1 2", "P", "12a"}) {
        EXPECT_FALSE(isNumeric(no) || toInt16(no).value || toInt16(no).overflow) << no;
    }
}

}  // namespace
}  // namespace quorvane
