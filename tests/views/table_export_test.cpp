#include "views/table_export.h"

#include <gtest/gtest.h>

#include <cmath>

#include "views/interval_table.h"
#include "views/speed.h"
#include "views/view_test_data.h"

namespace quorvane {
namespace {

// Stations 101 and 102 at "5 min", asked for in the order 102, 101: occupancy without the CSV
// export's zero padding, a gap as an empty speed, one decimal of speed and two of lanes.
TEST(TableExport, WritesIntervalsInTimeOrderAndTheStationsInTheirOrderWithin) {
    IntervalTable table{.intervalIndex = 5, .stationCount = 2, .intervalCount = 288, .data = {}};
    table.data.resize(2 * 288);
    table.data[0] = {5.5f, 7};
    table.data[1] = {12.0f, 30};
    table.data[288] = {0.004f, 0};
    table.data[289] = {-0.125f, -12};  // from a foreign station file
    SpeedTable speeds{.intervalIndex = 5,
                      .intervalCount = 288,
                      .unit = SpeedUnit::Kmh,
                      .rows = {1, 0},
                      .cells = {}};
    speeds.cells.resize(2 * 288);
    speeds.cells[0] = {NAN, 0.0f};
    speeds.cells[1] = {0.04f, 1.0f};
    speeds.cells[288] = {80.46f, 2.0f / 3.0f};
    speeds.cells[289] = {160.0f, 12.0f};
    const std::vector<CsvColumn> columns{{"102", 1}, {"101", 0}};
    EXPECT_EQ(tableText(table, speeds, test::stationListOf({101, 102}), columns, 0, 1),
              "time,station,volume,occupancy,speed_kmh,lanes\n"
              "00:00:00,102,0,0.00,,0.00\n"
              "00:00:00,101,7,5.50,80.5,0.67\n"
              "00:05:00,102,-12,-0.13,0.0,1.00\n"
              "00:05:00,101,30,12.00,160.0,12.00\n");
}

}  // namespace
}  // namespace quorvane
