#include "definitions/station_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/error.h"
#include "support/test_files.h"

namespace quorvane {
namespace {

using Dets = std::vector<int16_t>;

using test::errorOf;

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
    // Other keys give empty lists; positions outside the list are subscript errors.
    for (const char* key : {"S", "p", ""}) {
        EXPECT_TRUE(list.detList(0, key).empty()) << key;
    }
    for (int bad : {-1, 5, 32767}) {
        EXPECT_EQ(errorOf([&] { list.staNumByIndex(bad); }).number(), errc::kSubscriptOutOfRange);
        EXPECT_EQ(errorOf([&] { list.detList(bad, "P"); }).number(), errc::kSubscriptOutOfRange);
    }
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
    // Lists of every shape, ascending and descending: each station found, gaps not.
    for (int n : {1, 2, 3, 7, 100}) {
        for (int step : {3, -3}) {
            std::string text;
            for (int i = 0; i < n; ++i) {
                text += std::to_string(1000 + step * i) + ",P,1,\r\n";
            }
            const StationList big = StationList::parse(text);
            for (int i = 0; i < n; ++i) {
                EXPECT_EQ(big.staIndex(static_cast<int16_t>(1000 + step * i)), i) << n;
                EXPECT_EQ(big.staIndex(static_cast<int16_t>(1001 + step * i)), -1) << n;
            }
            EXPECT_EQ(big.staIndex(static_cast<int16_t>(1000 + step * n)), -1) << n;
        }
    }
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
    const struct {
        const char* text;
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
    };
    for (const auto& c : cases) {
        const Error e = errorOf([&] { StationList::parse(c.text); });
        EXPECT_EQ(e.number(), c.number) << c.text;
        EXPECT_NE(e.description().find(c.mentions), std::string::npos) << e.description();
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

}  // namespace
}  // namespace quorvane
