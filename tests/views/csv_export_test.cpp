#include "views/csv_export.h"

#include <gtest/gtest.h>

#include <limits>

#include "core/error.h"
#include "core/log.h"
#include "support/test_files.h"
#include "views/interval_table.h"
#include "views/view_test_data.h"

namespace quorvane {
namespace {

using test::TempDir;

// Stations 101 and 102 at "5 min", the first two intervals set.
IntervalTable fiveMinuteTable() {
    IntervalTable table;
    table.intervalIndex = 5;
    table.stationCount = 2;
    table.intervalCount = 288;
    table.data.assign(2 * 288, IntervalValue{});
    table.data[0] = {12.0f, 7};
    table.data[1] = {0.0f, 0};
    table.data[288] = {5.5f, 3};
    table.data[289] = {10.0f, 12};
    return table;
}

const std::vector<CsvColumn> kBothStations{{"101", 0}, {"102", 1}};

TEST(CsvExport, WritesTheTwoStationExampleByteForByte) {
    EXPECT_EQ(csvText(fiveMinuteTable(), kBothStations, 0, 1),
              ",101.occ,101.vol,102.occ,102.vol\r\n"
              "00:00:00,12.00, 7 ,05.50, 3 \r\n"
              "00:05:00,00.00, 0 ,10.00, 12 \r\n");
}

TEST(CsvExport, WritesOneOrNoStationColumns) {
    const IntervalTable table = fiveMinuteTable();
    const std::vector<CsvColumn> second{{"102", 1}};
    EXPECT_EQ(csvText(table, second, 1, 2),
              ",102.occ,102.vol\r\n"
              "00:05:00,10.00, 12 \r\n"
              "00:10:00,00.00, 0 \r\n");
    EXPECT_EQ(csvText(table, {}, 286, 287), "\r\n23:50:00\r\n23:55:00\r\n");
}

TEST(CsvExport, WritesTheWholeDayInTimeOrder) {
    Log log;
    const IntervalTable table =
        recomputeIntervals(StationTables::zeroed(1), test::stationListOf({7}), 9, log);
    const std::string text = csvText(table, std::vector<CsvColumn>{{"7", 0}}, 0, 23);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 25);
    EXPECT_TRUE(text.ends_with("\r\n22:00:00,00.00, 0 \r\n23:00:00,00.00, 0 \r\n")) << text;
}

TEST(CsvExport, RefusesRangesAndRowsOutsideTheTable) {
    const IntervalTable table = fiveMinuteTable();
    EXPECT_THROW(csvText(table, kBothStations, -1, 3), Error);
    EXPECT_THROW(csvText(table, kBothStations, 0, 288), Error);
    EXPECT_THROW(csvText(table, kBothStations, 3, 2), Error);
    EXPECT_THROW(csvText(table, std::vector<CsvColumn>{{"9", 2}}, 0, 1), Error);
}

TEST(OccupancyFormat, RoundsHalvesAwayFromZeroToTwoDecimals) {
    const std::vector<std::pair<float, std::string>> cases{
        {0.0f, "00.00"},          {5.5f, "05.50"},         {0.125f, "00.13"},  {12.345f, "12.35"},
        {100.0f, "100.00"},       {12.0f, "12.00"},        {9.995f, "10.00"},  {99.995f, "100.00"},
        {0.004f, "00.00"},        {0.005f, "00.01"},       {1e-30f, "00.00"},  {33.3333f, "33.33"},
        {-1.5f, "-01.50"},        {-0.125f, "-00.13"},     {-0.001f, "00.00"}, {-0.0f, "00.00"},
        {12345.678f, "12345.68"}, {3e9f, "3000000000.00"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(formatOccupancy(value), text) << value;
    }
    EXPECT_EQ(formatOccupancy(std::numeric_limits<float>::max()).size(), 39u + 3u);
}

TEST(VolumeFormat, WritesABlankOrMinusAndATrailingBlank) {
    EXPECT_EQ(formatVolume(7), " 7 ");
    EXPECT_EQ(formatVolume(0), " 0 ");
    EXPECT_EQ(formatVolume(123), " 123 ");
    EXPECT_EQ(formatVolume(-32768), "-32768 ");
}

TEST(CsvColumns, LooksTheLabelsUpInTheStationList) {
    const StationList list = test::stationListOf({300, 101, 102});
    Log log;
    const std::vector<std::string> labels{"102", "300", "102", " 101 "};
    const auto result = resolveCsvColumns(labels, list, log);
    ASSERT_TRUE(std::holds_alternative<std::vector<CsvColumn>>(result));
    const auto& columns = std::get<std::vector<CsvColumn>>(result);
    ASSERT_EQ(columns.size(), 4u);
    EXPECT_EQ(columns[0].row, 2);
    EXPECT_EQ(columns[1].row, 0);
    EXPECT_EQ(columns[2].row, 2);
    EXPECT_EQ(columns[3].row, 1);
    EXPECT_EQ(columns[3].label, " 101 ");  // the entry text stays the header label
    EXPECT_EQ(log.logText(), "");
}

TEST(CsvColumns, RefusesAMissingStationWithItsLogEntryAndMessage) {
    const StationList list = test::stationListOf({101, 102});
    Log log;
    log.appendLog("before\r\n");
    const std::vector<std::string> labels{"101", "555", "666"};
    const auto result = resolveCsvColumns(labels, list, log);
    ASSERT_TRUE(std::holds_alternative<CsvMissingStation>(result));
    const auto& missing = std::get<CsvMissingStation>(result);
    EXPECT_EQ(missing.label, "555");
    EXPECT_EQ(missing.message(),
              "Station: 555 does not exist.\r\nUnable to generate the csv file.");
    EXPECT_EQ(log.logText(), "before\r\nStation = 555 doesn't exist.\r\n");
}

TEST(CsvColumns, RefusesLabelsThatAreNoStationNumber) {
    const StationList list = test::stationListOf({101});
    for (const std::string bad : {"", "abc", "10 1", "1.5", "32768", "-32769", "101x"}) {
        Log log;
        const std::vector<std::string> labels{"101", bad};
        try {
            resolveCsvColumns(labels, list, log);
            ADD_FAILURE() << bad;
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), errc::kTypeMismatch) << bad;
        }
        EXPECT_EQ(log.logText(), "");
    }
}

TEST(CsvFile, ReplacesTheFileWhole) {
    TempDir dir;
    const auto path = dir / "day.csv";
    test::writeFile(path, std::string(100000, 'x'));
    writeCsvFile(path, fiveMinuteTable(), kBothStations, 0, 1);
    EXPECT_EQ(test::readFile(path), csvText(fiveMinuteTable(), kBothStations, 0, 1));
}

TEST(CsvFile, AFailedExportLeavesTheOldFileUntouched) {
    TempDir dir;
    const auto path = dir / "day.csv";
    test::writeFile(path, "old");
    EXPECT_THROW(writeCsvFile(path, fiveMinuteTable(), kBothStations, 5, 300), Error);
    EXPECT_EQ(test::readFile(path), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
    try {
        writeCsvFile(dir / "missing" / "day.csv", fiveMinuteTable(), kBothStations, 0, 1);
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), errc::kPathNotFound);
    }
}

}  // namespace
}  // namespace quorvane
