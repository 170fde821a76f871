#include "views/csv_export.h"

#include <gtest/gtest.h>

#include <limits>

#include "base/error.h"
#include "base/log.h"
#include "support/test_files.h"
#include "views/interval_table.h"
#include "views/view_test_data.h"

namespace quorvane {
namespace {

using test::TempDir;

// Stations 101 and 102 at "5 min", the first two intervals set.
IntervalTable fiveMinuteTable() {
    IntervalTable table{.intervalIndex = 5, .stationCount = 2, .intervalCount = 288, .data = {}};
    table.data.resize(2 * 288);
    table.data[0] = {12.0f, 7};
    table.data[288] = {5.5f, 3};
    table.data[289] = {10.0f, -12};  // negative volumes come from foreign station files
    return table;
}

const std::vector<CsvColumn> kBothStations{{"101", 0}, {"102", 1}};

// The file replaces a longer one whole.
TEST(CsvExport, WritesTheTwoStationExampleByteForByte) {
    TempDir dir;
    test::writeFile(dir / "day.csv", std::string(100000, 'x'));
    writeCsvFile(dir / "day.csv", fiveMinuteTable(), kBothStations, 0, 1);
    EXPECT_EQ(test::readFile(dir / "day.csv"),
              ",101.occ,101.vol,102.occ,102.vol\r\n"
              "00:00:00,12.00, 7 ,05.50, 3 \r\n"
              "00:05:00,00.00, 0 ,10.00,-12 \r\n");
    EXPECT_EQ(csvText(fiveMinuteTable(), std::vector<CsvColumn>{{"102", 1}}, 1, 2),
              ",102.occ,102.vol\r\n"
              "00:05:00,10.00,-12 \r\n"
              "00:10:00,00.00, 0 \r\n");
    EXPECT_EQ(csvText(fiveMinuteTable(), {}, 286, 287), "\r\n23:50:00\r\n23:55:00\r\n");
}

TEST(CsvExport, RefusesRangesAndRowsOutsideTheTable) {
    const IntervalTable table = fiveMinuteTable();
    for (const auto& [start, end] : {std::pair{-1, 3}, {0, 288}, {3, 2}}) {
        EXPECT_THROW(csvText(table, kBothStations, start, end), Error) << start << " " << end;
    }
    EXPECT_THROW(csvText(table, std::vector<CsvColumn>{{"9", 2}}, 0, 1), Error);
}

TEST(OccupancyFormat, RoundsHalvesAwayFromZeroToTwoDecimals) {
    const std::pair<float, std::string> cases[] = {
        {5.5f, "05.50"},     {0.125f, "00.13"},  {12.345f, "12.35"}, {9.995f, "10.00"},
        {99.995f, "100.00"}, {0.004f, "00.00"},  {0.005f, "00.01"},  {-1.5f, "-01.50"},
        {-0.125f, "-00.13"}, {-0.001f, "00.00"}, {-0.0f, "00.00"},   {3e9f, "3000000000.00"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(formatOccupancy(value), text) << value;
    }
    EXPECT_EQ(formatOccupancy(std::numeric_limits<float>::max()).size(), 39u + 3u);
}

TEST(CsvColumns, LooksTheLabelsUpAndStopsAtTheFirstMissingStation) {
    const StationList list = test::stationListOf({300, 101, 102});
    Log log;
    const std::vector<std::string> labels{"102", "300", "102", " 101 "};
    const auto result = resolveCsvColumns(labels, list, log);
    ASSERT_TRUE(std::holds_alternative<std::vector<CsvColumn>>(result));
    std::vector<std::pair<std::string, int>> columns;
    for (const CsvColumn& column : std::get<std::vector<CsvColumn>>(result)) {
        columns.emplace_back(column.label, column.row);
    }
    // The entry text stays the header label.
    EXPECT_EQ(columns, (std::vector<std::pair<std::string, int>>{
                           {"102", 2}, {"300", 0}, {"102", 2}, {" 101 ", 1}}));
    EXPECT_EQ(log.logText(), "");

    const std::vector<std::string> missing{"101", "555", "666"};
    const auto refused = resolveCsvColumns(missing, list, log);
    ASSERT_TRUE(std::holds_alternative<CsvMissingStation>(refused));
    EXPECT_EQ(std::get<CsvMissingStation>(refused).message(),
              "Station: 555 does not exist.\r\nUnable to generate the csv file.");
    EXPECT_EQ(log.logText(), "Station = 555 doesn't exist.\r\n");
}

}  // namespace
}  // namespace quorvane
