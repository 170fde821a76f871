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
    // Speeds of other stations, at another interval or in mph are a fault of the caller.
    SpeedTable otherRows = speeds;
    otherRows.rows = {0, 1};
    SpeedTable otherInterval = speeds;
    otherInterval.intervalIndex = 0;
    SpeedTable inMph = speeds;
    inMph.unit = SpeedUnit::Mph;
    for (const SpeedTable& wrong : {otherRows, otherInterval, inMph}) {
        EXPECT_EQ(test::errorOf([&] { tableText(table, wrong, stations, columns, 0, 1); }).number(),
                  errc::kInternalError);
    }
}

class TableExportFlow : public ::testing::Test {
  protected:
    // Station 101 at 10 vehicles and 10 %, 102 at 5 vehicles and 25 %, in every slot; one
    // detector each, so a lane each.
    void SetUp() override {
        day.stations = test::stationListOf({101, 102});
        day.tables = StationTables::zeroed(2);
        for (int slot = 0; slot < kSlotsPerDay; ++slot) {
            test::setSlots(day.tables, 0, slot, {10}, {10.0f});
            test::setSlots(day.tables, 1, slot, {5}, {25.0f});
        }
        table = recomputeIntervals(day.tables, day.stations, k5Min, log);
    }
    std::optional<Refusal> run(const std::vector<std::string>& labels, int start, int end,
                               double metres = 6.7) {
        const RequestSelection selection{2, std::nullopt, start, end};
        return exportTable(path, day, table, labels, selection, metres, log);
    }

    TempDir dir;
    std::filesystem::path path = dir / "table.csv";
    Day day;
    IntervalTable table;
    Log log;
};

TEST_F(TableExportFlow, WritesTheSpeedsAtTheGivenVehicleLength) {
    ASSERT_EQ(run({"102", "101"}, 3, 4), std::nullopt);
    // 101: 1200 an hour at 10 %; 102: 600 at 25 %.
    EXPECT_EQ(test::readFile(path),
              "time,station,volume,occupancy,speed_kmh,lanes\n"
              "00:15:00,102,50,25.00,16.1,1.00\n"
              "00:15:00,101,100,10.00,80.4,1.00\n"
              "00:20:00,102,50,25.00,16.1,1.00\n"
              "00:20:00,101,100,10.00,80.4,1.00\n");
    ASSERT_EQ(run({" 101"}, 0, 1, 5.0), std::nullopt);
    EXPECT_EQ(test::readFile(path),
              "time,station,volume,occupancy,speed_kmh,lanes\n"
              "00:00:00,101,100,10.00,60.0,1.00\n"
              "00:05:00,101,100,10.00,60.0,1.00\n");
}

TEST_F(TableExportFlow, RefusesWhatTheCsvExportRefusesBeforeTouchingTheFile) {
    test::writeFile(path, "earlier table");
    const auto badRange = run({"101"}, 4, 4);
    ASSERT_TRUE(badRange);
    EXPECT_EQ(badRange->message, kBadRangeMessage);
    const auto missing = run({"101", "999", "998"}, 0, 4);
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->message, "Station: 999 does not exist.\r\nUnable to generate the csv file.");
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
