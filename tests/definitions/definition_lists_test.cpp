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

TEST(StationList, ReadsTheDetectorRunAfterP) {
    const StationList list = StationList::parse(
        "101, P, 411, 412, 413,\r\n"
        "102, P, 421, 422, S, 425,\r\n"
        "103, P, 431, 432\r\n"
        "104, north, P, 441, 442,\r\n"
        "105, P, 451, x, 452,\r\n"
        "  ; 106, P, 461,\r\n");
    std::vector<std::vector<int16_t>> runs;
    for (const StationRecord& station : list.stationDefs()) {
        runs.push_back(station.primaryDets);
    }
    // The run stops at the first field that is no number and never takes the last field.
    EXPECT_EQ(runs, (std::vector<std::vector<int16_t>>{
                        {411, 412, 413}, {421, 422}, {431}, {441, 442}, {451}}));
    EXPECT_EQ(list.staNumByIndex(4), 105);
}

TEST(StationList, LfAndCrLfFilesReadAlike) {
    const StationList lf = StationList::parse("101,P,1,2,\n102,P,3,\n");
    EXPECT_EQ(lf.stationDefs(), StationList::parse("101,P,1,2,\r\n102,P,3,\r\n").stationDefs());
    EXPECT_EQ(lf.count(), 2);
}

TEST(StationList, StaIndexDoesNotDependOnFileOrder) {
    const StationList list = StationList::parse("300,P,1,\r\n100,P,2,\r\n200,P,3,\r\n100,P,4,\r\n");
    EXPECT_EQ(list.staIndex(300), 0);
    EXPECT_EQ(list.staIndex(100), 1);  // the first line that names it
    EXPECT_EQ(list.staIndex(200), 2);
    EXPECT_EQ(list.staIndex(400), -1);
}

TEST(StationList, MalformedLinesNameTheirLineAndKind) {
    const struct {
        std::string_view text;
        int number;
        const char* mentions;
    } cases[] = {
        {"", 9, "no station line"},
        {"; only a comment\r\n   \r\n", 9, "no station line"},
        {"101\r\n", 9, "line 1: no \",\""},
        {"101,1,2,\r\n", 9, "no \"P\""},
        {"101,1,P\r\n", 9, "no detector number after \"P\""},
        {"101,P,,\r\n", 9, "no detector number"},
        {"101,P,411\r\n", 9, "no detector number"},  // the only detector is the last field
        {"x1,P,1,\r\n", 13, "station number \"x1\""},
        {"\t\r\n", 13, "station number \"\\x09\""},
        // Skipped lines still count for the line number.
        {"; head\r\n\r\n101,P,1,\r\n40000,P,1,\r\n", 6, "line 4: station number \"40000\""},
        {"101,P,1,70000,\r\n", 6, "detector number \"70000\""},
        {"\x7f"
         "ELF\x02\x01,\x01\0,P,\xff,\r\n"sv,
         13, "\"\\x7FELF\\x02\\x01\""},  // binary
    };
    for (const auto& c : cases) {
        const Error e = errorOf([&] { StationList::parse(c.text); });
        EXPECT_EQ(e.number(), c.number) << c.text;
        EXPECT_NE(e.description().find(c.mentions), std::string::npos) << e.description();
        EXPECT_NE(e.description().find("VURSta2Det.list"), std::string::npos);
    }
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

TEST(RoadList, ReadsNamesAsWrittenAndTheStationRun) {
    const RoadList list = RoadList::parse(
        "North Loop, 101, 102, 103,\r\n"
        "East Spur, 201, 202, end, 203,\r\n"
        "West Spur, 301, 302\r\n"
        "  South Loop , 401,\r\n"
        "; Hidden, 1,\r\n"
        "North Loop, 104,\r\n");
    // The run stops at the first field that is no number and never takes the last field; the
    // same name twice makes two records.
    EXPECT_EQ(list.roadDefs(), (std::vector<RoadRecord>{{"North Loop", {101, 102, 103}},
                                                        {"East Spur", {201, 202}},
                                                        {"West Spur", {301}},
                                                        {"  South Loop ", {401}},
                                                        {"North Loop", {104}}}));
    EXPECT_EQ(list.findRoad("North Loop"), 0);
    EXPECT_EQ(list.findRoad("  South Loop "), 3);
    EXPECT_FALSE(list.findRoad("South Loop").has_value());
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
        const Error e = errorOf([&] { RoadList::parse(c.text); });
        EXPECT_EQ(e.number(), c.number) << c.text;
        EXPECT_NE(e.description().find(c.mentions), std::string::npos) << e.description();
        EXPECT_NE(e.description().find("VURRoad2Sta.list"), std::string::npos);
    }
}

TEST(ListText, LineEndsAtLfWithOrWithoutCr) {
    // The last line needs no end; a CR elsewhere stays part of its line.
    EXPECT_EQ(splitLines("a\r\nb"), (std::vector<std::string_view>{"a", "b"}));
    EXPECT_EQ(splitLines("a\rb\r\r\n"), (std::vector<std::string_view>{"a\rb\r"}));
    EXPECT_TRUE(splitLines("").empty());
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

TEST(ListText, LineLimitsAreOverflowErrors) {
    const auto error = [](const std::string& text) {
        return errorOf([&] { definitionLines(text, "f.list", "station"); });
    };
    std::string many;
    for (int i = 0; i < 32768; ++i) {
        many += "1,P,1,\n";
    }
    const Error lines = error(many);
    EXPECT_EQ(lines.number(), errc::kOverflow);
    EXPECT_NE(lines.description().find("32767 station lines"), std::string::npos);
    // Blank lines count towards the file's 32768 lines.
    EXPECT_EQ(error("1,P,1,\n" + std::string(32769, '\n')).number(), errc::kOverflow);
}

}  // namespace
}  // namespace quorvane
