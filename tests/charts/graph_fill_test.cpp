// How the graphs are filled from the interval table; their windows, captions, titles and points
// for a built day and the refusals are the graph buttons' tests.
#include <gtest/gtest.h>

#include "graph_fixtures.h"
#include "charts/chart.h"
#include "charts/road_graph.h"
#include "charts/station_graphs.h"

namespace quorvane::test {
namespace {

constexpr int kThirtySec = 0;

class RoadGraphs : public GraphTest {
  protected:
    int eventRuns = 0;
    std::function<void()> letEventsRun = [this] { ++eventRuns; };

    OpenedGraph plot(RoadGraphKind kind, RoadMeasure measure = RoadMeasure::Volume) {
        return plotRoadGraph(kind, measure, data, selection, dialogs, log, letEventsRun);
    }
    void wholeDayAtThirtySeconds() {
        data.table = makeTable(kThirtySec, 4, knownValue);
        selection = wholeDaySelection(*data.table);
    }
};

// Interval order, road order within an interval (R1: 103, 101, 102); z is the road position + 1.
TEST_F(RoadGraphs, EachKindDrawsOneCellPerIntervalAndRoadStation) {
    selection.station.reset();  // a road graph needs no station
    selection.start = 4;
    selection.end = 5;
    const double t4 = 4 * 300 / 86400.0;
    const double t5 = 5 * 300 / 86400.0;
    const std::vector<GridPoint> volumes{{t4, 304, 1}, {t4, 104, 2}, {t4, 204, 3},
                                         {t5, 305, 1}, {t5, 105, 2}, {t5, 205, 3}};
    const std::vector<GridPoint> occupancies{{t4, 2.4f, 1}, {t4, 0.4f, 2}, {t4, 1.4f, 3},
                                             {t5, 2.5f, 1}, {t5, 0.5f, 2}, {t5, 1.5f, 3}};
    for (const RoadGraphKind kind : {RoadGraphKind::ColorGrid, RoadGraphKind::Contour}) {
        for (const RoadMeasure measure : {RoadMeasure::Volume, RoadMeasure::Occupancy}) {
            eventRuns = 0;
            const OpenedGraph result = plot(kind, measure);
            ASSERT_NE(result.window, nullptr);
            const Chart& chart = result.window->chart();
            EXPECT_EQ(chart.rowLabels(), (QStringList{"103", "101", "102"}));
            EXPECT_EQ(chart.gridPoints(0), measure == RoadMeasure::Volume ? volumes : occupancies);
            EXPECT_EQ(eventRuns, 2);
        }
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

// Around the longest range drawn whole; the message texts are the graph buttons' test.
TEST_F(RoadGraphs, RangeRuleCutsLongRangesToAThousandIntervalsAfterTheStart) {
    const std::tuple<RoadGraphKind, int, int, bool> cases[] = {
        {RoadGraphKind::ColorGrid, 0, 1440, false},
        {RoadGraphKind::ColorGrid, 100, 1541, true},
        {RoadGraphKind::Contour, 100, 1540, false},
        {RoadGraphKind::Contour, 100, 1541, true}};
    wholeDayAtThirtySeconds();
    for (const auto& [kind, start, end, cut] : cases) {
        SCOPED_TRACE(std::to_string(start) + ".." + std::to_string(end));
        selection.start = start;
        selection.end = end;
        dialogs.clear();
        const OpenedGraph result = plot(kind);
        ASSERT_NE(result.window, nullptr);
        const int last = cut ? start + 1000 : end;
        EXPECT_EQ(dialogs.messages.size(), cut ? 1u : 0u);
        // Only the colour grid moves the end selection.
        EXPECT_EQ(result.newEnd, cut && kind == RoadGraphKind::ColorGrid ? std::optional<int>(last)
                                                                         : std::nullopt);
        const std::vector<GridPoint>& points = result.window->chart().gridPoints(0);
        EXPECT_EQ(points.size(), 3u * (last - start + 1));
        EXPECT_DOUBLE_EQ(points.front().x, data.table->intervalTime(start));
        closeGraphWindows();
    }
}

// The refusal follows the range rule: the end selection moves all the same.
TEST_F(RoadGraphs, MissingStationAfterACutStillMovesTheEndSelection) {
    wholeDayAtThirtySeconds();
    selection.road = 1;  // R2 names station 1234
    const OpenedGraph result = plot(RoadGraphKind::ColorGrid);
    EXPECT_EQ(result.window, nullptr);
    EXPECT_EQ(result.newEnd, 1000);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text,
              "Station: 1234 does not exist.\r\nUnable to plot the graph.");
    EXPECT_EQ(log.logText(), "R2 :1234doesn't exist.");
    EXPECT_EQ(eventRuns, 0);
    flushDeletes();
    EXPECT_TRUE(graphWindows().empty());
}

TEST_F(RoadGraphs, StationListedTwiceIsTwoRows) {
    selection.end = 1;
    selection.road = 2;  // Loop: 102, 102
    const OpenedGraph loop = plot(RoadGraphKind::ColorGrid);
    ASSERT_NE(loop.window, nullptr);
    EXPECT_EQ(loop.window->chart().rowLabels(), (QStringList{"102", "102"}));
    EXPECT_EQ(loop.window->chart().gridPoints(0),
              (std::vector<GridPoint>{
                  {0, 200, 1}, {0, 200, 2}, {300 / 86400.0, 201, 1}, {300 / 86400.0, 201, 2}}));
}

// The program shuts down while the graph is filled, or while the range message is up.
TEST_F(RoadGraphs, ClosingTheWindowEndsTheFill) {
    const auto closeAll = [this] {
        ++eventRuns;
        closeGraphWindows();
        flushDeletes();
    };
    selection.end = 10;
    letEventsRun = closeAll;
    EXPECT_EQ(plot(RoadGraphKind::ColorGrid).window, nullptr);
    EXPECT_EQ(eventRuns, 1);

    wholeDayAtThirtySeconds();
    dialogs.onMessage = [&](const Message&) { closeAll(); };
    letEventsRun = [] { ADD_FAILURE() << "filled after the window was closed"; };
    EXPECT_EQ(plot(RoadGraphKind::ColorGrid).window, nullptr);
    EXPECT_EQ(eventRuns, 2);
}

using StationGraphs = GraphTest;

TEST_F(StationGraphs, ScatterGraphKeepsAscendingOccupancyInOrderOfArrival) {
    selection.station = 1;
    selection.start = 10;
    selection.end = 13;
    data.table = makeTable(5, 4, [](int s, int k) {
        return k == 11 ? IntervalValue{}
                       : IntervalValue{k == 10 ? 20.0f : 18.0f, static_cast<int16_t>(s + k)};
    });
    GraphWindow* window = showScatterGraph(data, selection, dialogs);
    ASSERT_NE(window, nullptr);
    // An interval without traffic sits at (0, 0); equal occupancies keep their time order.
    EXPECT_EQ(window->chart().points(0),
              (std::vector<ChartPoint>{{0, 0}, {18, 13}, {18, 14}, {20, 11}}));
}

// Lists of another interval or day than the table's never read outside it.
using GraphFill = RoadGraphs;
TEST_F(GraphFill, SelectionOutsideTheTableDrawsNothing) {
    selection.end = data.table->intervalCount;
    EXPECT_EQ(showLineGraph(data, selection, dialogs), nullptr);
    EXPECT_EQ(plot(RoadGraphKind::Contour).window, nullptr);
    selection.end = 12;
    selection.station = 4;
    EXPECT_EQ(showScatterGraph(data, selection, dialogs), nullptr);
    data.table = makeTable(5, 2, knownValue);  // R1 names the third station
    EXPECT_EQ(plot(RoadGraphKind::ColorGrid).window, nullptr);
    EXPECT_TRUE(dialogs.messages.empty());
    flushDeletes();
    EXPECT_TRUE(graphWindows().empty());
}

}  // namespace
}  // namespace quorvane::test
