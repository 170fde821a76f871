#include <gtest/gtest.h>

#include "graph_fixtures.h"
#include "roadgraphs/chart.h"
#include "views/request_checks.h"
#include "views/station_graph_windows.h"
#include "views/station_graphs.h"

namespace quorvane::test {
namespace {

constexpr int kFiveMin = 5;

class StationGraphs : public GraphWindowTest {
  protected:
    GraphData data{makeDay(3, "R1,101,102,103,\r\n"), makeTable(kFiveMin, 3, knownValue)};
    GraphSelection selection = wholeDaySelection(*data.table);
    RecordingDialogs dialogs;

    void SetUp() override {
        selection.station = 1;
        selection.stationText = "102";
        selection.start = 10;
        selection.end = 12;
    }
};

double minutes(double m) {
    return m * 60 / 86400.0;
}

TEST_F(StationGraphs, LineGraphPlotsVolumeLeftAndOccupancyRightForTheRange) {
    GraphWindow* window = showLineGraph(data, selection, dialogs);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(window->objectName(), "frmGraphL");
    EXPECT_EQ(window->windowTitle(), "Vol/Occ Line Graph: 5 min Data");
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_TRUE(window->testAttribute(Qt::WA_DeleteOnClose));
    const Chart& chart = window->chart();
    EXPECT_EQ(chart.titleLines(), QStringList{"Station: 102"});
    const std::vector<ChartPoint> vol{{minutes(50), 210}, {minutes(55), 211}, {minutes(60), 212}};
    EXPECT_EQ(chart.points(0), vol);
    ASSERT_EQ(chart.points(1).size(), 3u);
    EXPECT_DOUBLE_EQ(chart.points(1)[0].x, minutes(50));
    EXPECT_FLOAT_EQ(static_cast<float>(chart.points(1)[2].y), 1.0f + 1.2f);
    EXPECT_EQ(formatTimeOfDay(chart.points(0)[0].x, "hh:mm"), "00:50");
    EXPECT_EQ(formatTimeOfDay(chart.points(0)[2].x, "hh:mm"), "01:00");
}

TEST_F(StationGraphs, ScatterGraphPlotsOccupancyAcrossAndVolumeUp) {
    data.table = makeTable(kFiveMin, 3, [](int s, int k) {
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

TEST_F(StationGraphs, CaptionNamesTheIntervalListTextShownWhenTheGraphIsFilled) {
    selection.intervalText = [] { return std::string("1 hour"); };
    GraphWindow* window = showLineGraph(data, selection, dialogs);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Vol/Occ Line Graph: 1 hour Data");
    EXPECT_EQ(window->chart().points(0).size(), 3u);
}

TEST_F(StationGraphs, RefusalsShowTheCheckMessageAndOpenNoWindow) {
    struct Case {
        GraphSelection selection;
        std::string_view message;
    };
    GraphSelection noData = selection;
    noData.stationEntries = 0;
    GraphSelection noStation = selection;
    noStation.station.reset();
    GraphSelection sameTime = selection;
    sameTime.end = sameTime.start;
    GraphSelection typedTime = selection;
    typedTime.start.reset();
    for (const Case& c : {Case{noData, kNoDataMessage}, Case{noStation, kNoStationMessage},
                          Case{sameTime, kBadRangeMessage}, Case{typedTime, kBadRangeMessage}}) {
        for (auto show : {&showLineGraph, &showScatterGraph}) {
            dialogs.messages.clear();
            EXPECT_EQ(show(data, c.selection, dialogs), nullptr);
            ASSERT_EQ(dialogs.messages.size(), 1u);
            EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Exclamation);
            EXPECT_EQ(dialogs.messages[0].text, c.message);
        }
    }
    flushDeletes();
    EXPECT_TRUE(graphWindows().empty());
}

TEST_F(StationGraphs, TwoRequestsGiveTwoWindowsWithTheSameContent) {
    GraphWindow* first = showLineGraph(data, selection, dialogs);
    GraphWindow* second = showLineGraph(data, selection, dialogs);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(first->chart().points(0), second->chart().points(0));
    EXPECT_EQ(first->chart().points(1), second->chart().points(1));
    EXPECT_EQ(graphWindows().size(), 2u);
    closeGraphWindows();
    flushDeletes();
    EXPECT_TRUE(graphWindows().empty());
}

TEST_F(StationGraphs, WindowKeepsItsPointsWhenTheTableInForceIsReplaced) {
    GraphWindow* window = showLineGraph(data, selection, dialogs);
    ASSERT_NE(window, nullptr);
    data.table = makeTable(9, 3, [](int, int) { return IntervalValue{}; });
    EXPECT_EQ(window->chart().points(0)[0].y, 210);
}

TEST_F(StationGraphs, SelectionOutsideTheTableDrawsNothing) {
    selection.end = data.table->intervalCount;  // lists of another interval than the table's
    EXPECT_EQ(showLineGraph(data, selection, dialogs), nullptr);
    selection.end = 12;
    selection.station = 3;
    EXPECT_EQ(showScatterGraph(data, selection, dialogs), nullptr);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(StationGraphWindows, LineGraphStoredSettings) {
    std::unique_ptr<GraphWindow> window(newLineGraphWindow());
    EXPECT_EQ(window->size(), QSize(592, 358));
    EXPECT_EQ(window->windowTitle(), "Line Graph of vol and occ");
    const Chart& chart = window->chart();
    EXPECT_EQ(chart.titleLines(), QStringList{"TeeChart"});
    EXPECT_TRUE(chart.look().gradientVisible);
    EXPECT_EQ(chart.look().gradientEnd, QColor(255, 255, 128));
    EXPECT_TRUE(chart.look().border);
    EXPECT_TRUE(chart.look().panHorizontal);
    EXPECT_TRUE(chart.look().legendVisible);
    EXPECT_EQ(chart.axis(ChartAxis::Bottom).title, "Time");
    EXPECT_TRUE(chart.axis(ChartAxis::Bottom).timeOfDay);
    EXPECT_EQ(chart.axis(ChartAxis::Bottom).timeFormat, "hh:mm");
    EXPECT_EQ(chart.axis(ChartAxis::Left).title, "Volume");
    EXPECT_EQ(chart.axis(ChartAxis::Right).title, "Occupancy");
    ASSERT_EQ(chart.seriesCount(), 2);
    const SeriesStyle& vol = chart.seriesStyle(0);
    const SeriesStyle& occ = chart.seriesStyle(1);
    EXPECT_EQ(chart.seriesKind(0), SeriesKind::Line);
    EXPECT_EQ(vol.title, "Vol");
    EXPECT_EQ(vol.color, QColor(Qt::red));
    EXPECT_EQ(vol.yAxis, ChartAxis::Left);
    EXPECT_EQ(vol.marker, Marker::None);
    EXPECT_EQ(vol.xOrder, ValueOrder::Ascending);
    EXPECT_EQ(occ.title, "Occ");
    EXPECT_EQ(occ.color, QColor(0, 128, 0));
    EXPECT_EQ(occ.yAxis, ChartAxis::Right);
    EXPECT_EQ(occ.xOrder, ValueOrder::None);
    EXPECT_TRUE(vol.inLegend && occ.inLegend);
}

TEST(StationGraphWindows, ScatterGraphStoredSettings) {
    std::unique_ptr<GraphWindow> window(newScatterGraphWindow());
    EXPECT_EQ(window->size(), QSize(441, 323));
    EXPECT_EQ(window->windowTitle(), "vol/occ scatter graph");
    const Chart& chart = window->chart();
    EXPECT_EQ(chart.look().gradientEnd, QColor(128, 255, 255));
    EXPECT_EQ(chart.axis(ChartAxis::Bottom).title, "Occupancy");
    EXPECT_FALSE(chart.axis(ChartAxis::Bottom).timeOfDay);
    EXPECT_EQ(chart.axis(ChartAxis::Left).title, "Volume");
    ASSERT_EQ(chart.seriesCount(), 1);
    const SeriesStyle& points = chart.seriesStyle(0);
    EXPECT_EQ(chart.seriesKind(0), SeriesKind::Point);
    EXPECT_EQ(points.color, QColor(Qt::red));
    EXPECT_EQ(points.marker, Marker::Square);
    EXPECT_EQ(points.markerHalfWidth, 3);
    EXPECT_EQ(points.markerHalfHeight, 3);
    EXPECT_EQ(points.lineWidth, 0);
    EXPECT_FALSE(points.inLegend);
}

}  // namespace
}  // namespace quorvane::test
