#include "definitions/station_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/error.h"
#include "support/test_files.h"

namespace quorvane {
namespace {

using Dets = std::vector<int16_t>;

// The error a parse raises, or a failure when it raises none.
Error parseError(std::string_view text) {
    try {
        StationList::parse(text);
    } catch (const Error& e) {
        return e;
    }
    ADD_FAILURE() << "no error for: " << text;
    return Error(0, "");
}

TEST(StationList, ReadsTheDetectorRunAfterP) {
    const StationList list = StationList::parse(
        "101, P, 411, 412, 413,\r\n"
        "102, P, 421, 422, S, 425,\r\n"
        "103, P, 431, 432\r\n"
        "104, north, P, 441, 442,\r\n"
        "105, P, 451, x, 452,\r\n"
        "  ; 106, P, 461,\r\n");
    ASSERT_EQ(list.count(), 5);
    EXPECT_EQ(list.detList(0, "P"), (Dets{411, 412, 413}));
    EXPECT_EQ(list.detList(1, "P"), (Dets{421, 422}));
    EXPECT_EQ(list.detList(2, "P"), (Dets{431}));  // the last field never belongs to the run
    EXPECT_EQ(list.detList(3, "P"), (Dets{441, 442}));
    EXPECT_EQ(list.detList(4, "P"), (Dets{451}));
    EXPECT_EQ(list.staNumByIndex(4), 105);
}

TEST(StationList, LfAndCrLfFilesReadAlike) {
    const std::string crlf = "101,P,1,2,\r\n102,P,3,\r\n";
    const std::string lf = "101,P,1,2,\n102,P,3,\n";
    const StationList a = StationList::parse(crlf);
    const StationList b = StationList::parse(lf);
    EXPECT_EQ(a.stationDefs(), b.stationDefs());
    EXPECT_EQ(b.count(), 2);
}

TEST(StationList, KeysOtherThanPGiveEmptyLists) {
    const StationList list = StationList::parse("101,P,1,2,\r\n");
    EXPECT_TRUE(list.detList(0, "S").empty());
    EXPECT_TRUE(list.detList(0, "p").empty());
    EXPECT_TRUE(list.detList(0, "").empty());
}

TEST(StationList, PositionsOutsideTheListAreSubscriptErrors) {
    const StationList list = StationList::parse("101,P,1,\r\n");
    for (int bad : {-1, 1, 32767}) {
        try {
            list.staNumByIndex(bad);
            FAIL();
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), 9);
        }
        EXPECT_THROW(list.detList(bad, "P"), Error);
    }
}

TEST(StationList, StaIndexFindsEveryStationOfSmallAndLargeLists) {
    for (int n : {1, 2, 3, 7, 100}) {
        std::string text;
        for (int i = 0; i < n; ++i) {
            text += std::to_string(100 + 3 * i) + ",P,1,\r\n";
        }
        const StationList list = StationList::parse(text);
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(list.staIndex(static_cast<int16_t>(100 + 3 * i)), i) << n;
        }
        EXPECT_EQ(list.staIndex(99), -1);
        EXPECT_EQ(list.staIndex(101), -1);
        EXPECT_EQ(list.staIndex(static_cast<int16_t>(100 + 3 * n)), -1);
    }
}

TEST(StationList, StaIndexDoesNotDependOnFileOrder) {
    const StationList list = StationList::parse("300,P,1,\r\n100,P,2,\r\n200,P,3,\r\n100,P,4,\r\n");
    EXPECT_EQ(list.staIndex(300), 0);
    EXPECT_EQ(list.staIndex(100), 1);  // the first line that names it
    EXPECT_EQ(list.staIndex(200), 2);
    EXPECT_EQ(list.staIndex(400), -1);
}

TEST(StationList, FindSortedIndexBisectsAscendingValues) {
    const std::vector<int16_t> values{-5, 0, 3, 3, 9};
    EXPECT_EQ(findSortedIndex(values, -5), 0);
    EXPECT_EQ(findSortedIndex(values, 9), 4);
    EXPECT_EQ(values[static_cast<std::size_t>(findSortedIndex(values, 3))], 3);
    EXPECT_EQ(findSortedIndex(values, 4), -1);
    EXPECT_EQ(findSortedIndex({}, 4), -1);
}

TEST(StationList, MalformedLinesNameTheirLineAndKind) {
    struct Case {
        const char* text;
        int number;
        const char* mentions;
    };
    const Case cases[] = {
        {"", 9, "no station line"},
        {"; only a comment\r\n   \r\n", 9, "no station line"},
        {"101\r\n", 9, "line 1: no \",\""},
        {"101,1,2,\r\n", 9, "no \"P\""},
        {"101,1,P\r\n", 9, "no detector number after \"P\""},
        {"101,P,,\r\n", 9, "no detector number"},
        {"101,P,411\r\n", 9, "no detector number"},  // the only detector is the last field
        {"x1,P,1,\r\n", 13, "station number \"x1\""},
        {"\t\r\n", 13, "station number \"\\x09\""},
        {"101,P,1,\r\n40000,P,1,\r\n", 6, "line 2: station number \"40000\""},
        {"101,P,1,70000,\r\n", 6, "detector number \"70000\""},
    };
    for (const Case& c : cases) {
        const Error e = parseError(c.text);
        EXPECT_EQ(e.number(), c.number) << c.text;
        EXPECT_NE(e.description().find(c.mentions), std::string::npos)
            << c.text << " -> " << e.description();
        EXPECT_NE(e.description().find("VURSta2Det.list"), std::string::npos);
    }
}

TEST(StationList, BinaryGarbageIsAnErrorNotACrash) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i) {
        garbage.push_back(static_cast<char>((i * 7919) % 256));
    }
    EXPECT_THROW(StationList::parse(garbage), Error);
}

TEST(StationList, BuildListReadsTheFileOfTheGivenFolder) {
    test::TempDir dir;
    test::writeFile(dir / "VURSta2Det.list", "101,P,1,2,\r\n");
    EXPECT_EQ(StationList::buildList(dir.path()).detList(0, "P"), (Dets{1, 2}));

    test::writeFile(dir / "VURSta2Det.list", "101,P,1,2,\r\n102,P,3,\r\n");
    EXPECT_EQ(StationList::buildList(dir.path()).count(), 2);  // edits take effect
}

TEST(StationList, MissingFileIsFileNotFoundNamingThePath) {
    test::TempDir dir;
    try {
        StationList::buildList(dir.path());
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 53);
        EXPECT_NE(e.description().find((dir / "VURSta2Det.list").string()), std::string::npos);
    }
    try {
        StationList::buildList(dir / "no-such-folder");
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 76);
    }
}

TEST(StationList, UnreadableFileIsAnAccessError) {
    test::TempDir dir;
    std::filesystem::create_directory(dir / "VURSta2Det.list");
    try {
        StationList::buildList(dir.path());
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 75);
    }
}

}  // namespace
}  // namespace quorvane
