#include "views/table_export.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/error.h"
#include "base/log.h"
#include "core/day.h"
#include "support/test_files.h"
#include "views/interval_table.h"
#include "views/speed.h"
#include "views/view_test_data.h"

namespace quorvane {
namespace {

using test::TempDir;

constexpr int k5Min = 5;

TEST(TableExport, OccupancyHasTwoDecimalsWithoutZeroPadding) {
    const std::pair<float, std::string> cases[] = {
        {5.5f, "5.50"},      {0.0f, "0.00"},   {0.004f, "0.00"},   {12.345f, "12.35"},
        {99.995f, "100.00"}, {-1.5f, "-1.50"}, {-0.125f, "-0.13"}, {0.125f, "0.13"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(unpaddedOccupancy(value), text) << value;
    }
}

// Stations 101 and 102 at "5 min": two intervals of an interval table and its speeds, the
// stations asked for in the order 102, 101.
TEST(TableExport, WritesIntervalsInTimeOrderAndTheStationsInTheirOrderWithin) {
    IntervalTable table{
        .intervalIndex = k5Min, .stationCount = 2, .intervalCount = 288, .data = {}};
    table.data.resize(2 * 288);
    table.data[0] = {5.5f, 7};
    table.data[1] = {12.0f, 30};
    table.data[288] = {0.0f, 0};
    table.data[289] = {100.0f, -12};
    const std::vector<CsvColumn> columns{{"102", 1}, {"101", 0}};
    SpeedTable speeds{.intervalIndex = k5Min,
                      .intervalCount = 288,
                      .unit = SpeedUnit::Kmh,
                      .rows = {1, 0},
                      .cells = {}};
    speeds.cells.resize(2 * 288);
    speeds.cells[0] = {std::numeric_limits<float>::quiet_NaN(), 0.0f};  // 102: a gap
    speeds.cells[1] = {0.04f, 1.0f};
    speeds.cells[288] = {80.46f, 2.0f / 3.0f};
    speeds.cells[289] = {160.0f, 12.0f};
    const StationList stations = test::stationListOf({101, 102});
    EXPECT_EQ(tableText(table, speeds, stations, columns, 0, 1),
              "time,station,volume,occupancy,speed_kmh,lanes\n"
              "00:00:00,102,0,0.00,,0.00\n"
              "00:00:00,101,7,5.50,80.5,0.67\n"
              "00:05:00,102,-12,100.00,0.0,1.00\n"
              "00:05:00,101,30,12.00,160.0,12.00\n");
}

TEST(TableExport, RefusesWhatTheCsvExportRefusesBeforeTouchingTheFile) {
    const TempDir dir;
    const auto path = dir / "table.csv";
    test::writeFile(path, "earlier table");
    Day day;
    day.stations = test::stationListOf({101, 102});
    day.tables = StationTables::zeroed(2);
    Log log;
    const IntervalTable table = recomputeIntervals(day.tables, day.stations, k5Min, log);
    const auto run = [&](const std::vector<std::string>& labels, int start, int end,
                         double metres) {
        return exportTable(path, day, table, labels, {2, std::nullopt, start, end}, metres, log);
    };
    EXPECT_EQ(run({"101"}, 4, 4, 6.7).value_or(Refusal{}).message, kBadRangeMessage);
    EXPECT_EQ(run({"101", "999", "998"}, 0, 4, 6.7).value_or(Refusal{}).message,
              "Station: 999 does not exist.\r\nUnable to generate the csv file.");
    EXPECT_EQ(log.logText(), "Station = 999 doesn't exist.\r\n");
    for (const double metres : {1.9, 30.5, std::nan("")}) {
        EXPECT_EQ(test::errorOf([&] { run({"101"}, 0, 4, metres); }).number(),
                  errc::kInvalidArgument)
            << metres;
    }
    EXPECT_EQ(test::readFile(path), "earlier table");
}

}  // namespace
}  // namespace quorvane
