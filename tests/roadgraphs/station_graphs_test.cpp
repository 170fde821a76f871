#include <gtest/gtest.h>

#include "graph_fixtures.h"
#include "roadgraphs/chart.h"
#include "views/station_graphs.h"

namespace quorvane::test {
namespace {

class StationGraphs : public GraphTest {
  protected:
    void SetUp() override {
        selection.station = 1;
        selection.stationText = "102";
        selection.start = 10;
        selection.end = 12;
    }
};

double fiveMinutes(int k) {
    return k * 300 / 86400.0;
}

TEST_F(StationGraphs, LineGraphPlotsVolumeLeftAndOccupancyRightForTheRange) {
    // The caption names the interval list's text when the graph is filled, not the table's.
    selection.intervalText = [] { return std::string("1 hour"); };
    GraphWindow* window = showLineGraph(data, selection, dialogs);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(window->objectName(), "frmGraphL");
    EXPECT_EQ(window->windowTitle(), "Vol/Occ Line Graph: 1 hour Data");
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->chart().titleLines(), QStringList{"Station: 102"});
    std::vector<ChartPoint> vol;
    std::vector<ChartPoint> occ;
    for (int k = 10; k <= 12; ++k) {
        vol.push_back({fiveMinutes(k), static_cast<double>(knownValue(1, k).vol)});
        occ.push_back({fiveMinutes(k), static_cast<double>(knownValue(1, k).occ)});
    }
    EXPECT_EQ(window->chart().points(0), vol);
    EXPECT_EQ(window->chart().points(1), occ);
}

TEST_F(StationGraphs, ScatterGraphPlotsOccupancyAcrossAndVolumeUp) {
    data.table = makeTable(5, 4, [](int s, int k) {
        return k == 11 ? IntervalValue{}
                       : IntervalValue{30.0f - static_cast<float>(k), static_cast<int16_t>(s + k)};
    });
    GraphWindow* window = showScatterGraph(data, selection, dialogs);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->objectName(), "frmGraphS");
    EXPECT_EQ(window->windowTitle(), "Vol/Occ Scatter Graph: 5 min Data");
    EXPECT_EQ(window->chart().titleLines(), QStringList{"Station: 102"});
    // Kept in ascending occupancy; an interval without traffic sits at (0, 0).
    const std::vector<ChartPoint> expected{{0, 0}, {18, 13}, {20, 11}};
    EXPECT_EQ(window->chart().points(0), expected);
}

TEST_F(StationGraphs, SelectionOutsideTheTableDrawsNothing) {
    selection.end = data.table->intervalCount;  // lists of another interval than the table's
    EXPECT_EQ(showLineGraph(data, selection, dialogs), nullptr);
    selection.end = 12;
    selection.station = 4;
    EXPECT_EQ(showScatterGraph(data, selection, dialogs), nullptr);
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace quorvane::test
