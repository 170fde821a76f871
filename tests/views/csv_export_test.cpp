#include "views/csv_export.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "base/log.h"
#include "support/test_files.h"
#include "views/interval_table.h"
#include "views/view_test_data.h"

namespace quorvane {
namespace {

// Stations 101 and 102 at "5 min"; the file replaces a longer one whole.
TEST(CsvExport, WritesTheTwoStationExampleByteForByte) {
    IntervalTable table{.intervalIndex = 5, .stationCount = 2, .intervalCount = 288, .data = {}};
    table.data.resize(2 * 288);
    table.data[0] = {12.0f, 7};
    table.data[288] = {5.5f, 3};
    table.data[289] = {10.0f, -12};  // negative volumes come from foreign station files
    const std::vector<CsvColumn> columns{{"101", 0}, {"102", 1}};
    const test::TempDir dir;
    test::writeFile(dir / "day.csv", std::string(100000, 'x'));
    writeCsvFile(dir / "day.csv", table, columns, 0, 1);
    EXPECT_EQ(test::readFile(dir / "day.csv"),
              ",101.occ,101.vol,102.occ,102.vol\r\n"
              "00:00:00,12.00, 7 ,05.50, 3 \r\n"
              "00:05:00,00.00, 0 ,10.00,-12 \r\n");
    // Lists of another interval never read outside the table.
    for (const auto& [start, end] : {std::pair{-1, 3}, {0, 288}}) {
        EXPECT_THROW(csvText(table, columns, start, end), Error) << start << " " << end;
    }
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
}

// The entry text stays the header label; the first missing station is logged and refused.
TEST(CsvColumns, LooksTheLabelsUpAndStopsAtTheFirstMissingStation) {
    const StationList list = test::stationListOf({300, 101, 102});
    Log log;
    const std::vector<std::string> labels{"102", "300", " 101 "};
    const auto found = std::get<std::vector<CsvColumn>>(resolveCsvColumns(labels, list, log));
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(std::tuple(found[0].row, found[1].row, found[2].label, found[2].row),
              std::tuple(2, 0, std::string(" 101 "), 1));
    const std::vector<std::string> missing{"101", "555", "666"};
    const auto refused = std::get<CsvMissingStation>(resolveCsvColumns(missing, list, log));
    EXPECT_EQ(refused.message(),
              "Station: 555 does not exist.\r\nUnable to generate the csv file.");
    EXPECT_EQ(log.logText(), "Station = 555 doesn't exist.\r\n");
}

}  // namespace
}  // namespace quorvane
