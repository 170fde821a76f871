// How the graphs are filled from the interval table (the speed's from the day's tables); their
// buttons, captions and refusal messages are the graph buttons' tests.
#include <gtest/gtest.h>

#include <qwt_plot.h>
#include <qwt_scale_div.h>

#include <cmath>

#include "charts/chart.h"
#include "charts/road_graph.h"
#include "charts/road_graph_windows.h"
#include "charts/station_graphs.h"
#include "graph_fixtures.h"

namespace quorvane::test {
namespace {

class RoadGraphs : public GraphTest {
  protected:
    int eventRuns = 0;
    std::function<void()> letEventsRun = [this] { ++eventRuns; };

    OpenedGraph plot(RoadGraphKind kind, RoadMeasure measure = RoadMeasure::Volume) {
        return plotRoadGraph(kind, measure, data, selection, dialogs, log, letEventsRun);
    }
};

// Interval order, road order within an interval (R1: 103, 101, 102); z is the road position + 1.
TEST_F(RoadGraphs, EachKindDrawsOneCellPerIntervalAndRoadStation) {
    selection.station.reset();  // a road graph needs no station
    selection.start = 4;
    selection.end = 5;
    const double t4 = 4 * 300 / 86400.0, t5 = 5 * 300 / 86400.0;
    for (const RoadGraphKind kind : {RoadGraphKind::ColorGrid, RoadGraphKind::Contour}) {
        eventRuns = 0;
        const Chart& volumes = plot(kind, RoadMeasure::Volume).window->chart();
        EXPECT_EQ(volumes.rowLabels(), (QStringList{"103", "101", "102"}));
        EXPECT_EQ(volumes.gridPoints(0), (std::vector<GridPoint>{{t4, 304, 1},
                                                                 {t4, 104, 2},
                                                                 {t4, 204, 3},
                                                                 {t5, 305, 1},
                                                                 {t5, 105, 2},
                                                                 {t5, 205, 3}}));
        EXPECT_EQ(eventRuns, 2);
        EXPECT_EQ(plot(kind, RoadMeasure::Occupancy).window->chart().gridPoints(0)[5],
                  (GridPoint{t5, 1.5f, 3}));
    }
    selection.road = 2;  // a station the road lists twice is two rows
    EXPECT_EQ(plot(RoadGraphKind::ColorGrid).window->chart().gridPoints(0),
              (std::vector<GridPoint>{{t4, 204, 1}, {t4, 204, 2}, {t5, 205, 1}, {t5, 205, 2}}));
    EXPECT_TRUE(dialogs.messages.empty());
}

// The road's estimates (see useSpeedDay) interval after interval from 00:50, on the unit's fixed
// scale: 101 has none before 01:00 (its occupancy is 0), 102 stands.
TEST_F(RoadGraphs, SpeedGraphsDrawTheEstimatesOnTheUnitsFixedScale) {
    useSpeedDay();
    selection.start = 10;
    selection.end = 13;
    // 1200 vehicles a lane and hour at 10 %; the bar's top; contour levels every 10 below it.
    const std::tuple<SpeedUnit, float, double, const char*, std::size_t> units[] = {
        {SpeedUnit::Kmh, 80.4f, 130, "Speed (km/h)", 12},
        {SpeedUnit::Mph, 50.0f, 80, "Speed (mph)", 7}};
    for (const auto& [unit, free, top, bar, levels] : units) {
        selection.speed = SpeedSettings::defaults(unit);
        selection.speed.estimate = SpeedEstimate::FixedLength;
        for (const RoadGraphKind kind : {RoadGraphKind::ColorGrid, RoadGraphKind::Contour}) {
            SCOPED_TRACE(bar);
            Chart& chart = plot(kind, RoadMeasure::Speed).window->chart();
            const std::vector<GridPoint>& points = chart.gridPoints(0);
            ASSERT_EQ(points.size(), 12u);
            EXPECT_EQ(points[0], (GridPoint{10 * 300 / 86400.0, free, 1}));
            EXPECT_TRUE(std::isnan(points[4].y));
            EXPECT_EQ(points[8], (GridPoint{12 * 300 / 86400.0, 0.0, 3}));
            EXPECT_EQ(chart.axis(ChartAxis::Right).title, bar);
            chart.replot();
            const QwtScaleDiv scale = chart.plot()->axisScaleDiv(QwtPlot::yRight);
            EXPECT_EQ(std::pair(scale.lowerBound(), scale.upperBound()), std::pair(0.0, top));
            if (kind == RoadGraphKind::Contour) {
                EXPECT_EQ(chart.contourLevels(0).size(), levels);
            }
        }
    }
}

// Around the longest range drawn whole; the message texts are the graph buttons' test. The
// refusal of a road with a missing station follows the range rule: the end moves all the same.
TEST_F(RoadGraphs, RangeRuleCutsLongRangesToAThousandIntervalsAfterTheStart) {
    useTable(makeTable(0, 4, knownValue));  // "30 sec"
    const std::tuple<RoadGraphKind, int, int, bool> cases[] = {
        {RoadGraphKind::ColorGrid, 0, 1440, false},
        {RoadGraphKind::ColorGrid, 100, 1541, true},
        {RoadGraphKind::Contour, 100, 1540, false},
        {RoadGraphKind::Contour, 100, 1541, true}};
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
        EXPECT_EQ(std::pair(points.size(), points.front().x),
                  std::pair(std::size_t(3) * (last - start + 1), data.table->intervalTime(start)));
        closeGraphWindows();
    }
    selection.start = 0;
    selection.road = 1;  // R2 names station 1234
    dialogs.clear();
    const OpenedGraph refused = plot(RoadGraphKind::ColorGrid);
    EXPECT_EQ(std::tuple(refused.window, refused.newEnd, dialogs.messages.size()),
              std::tuple(nullptr, std::optional<int>(1000), 2u));
    flushDeletes();
    EXPECT_TRUE(graphWindows().empty());  // its message and log are the graph buttons' test
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

    useTable(makeTable(0, 4, knownValue));
    dialogs.onMessage = [&](const Message&) { closeAll(); };
    letEventsRun = [] { ADD_FAILURE() << "filled after the window was closed"; };
    EXPECT_EQ(plot(RoadGraphKind::ColorGrid).window, nullptr);
    EXPECT_EQ(eventRuns, 2);
}

using GraphFill = RoadGraphs;

// Lists of another interval or day than the table's never read outside it.
TEST_F(GraphFill, SelectionOutsideTheTableDrawsNothing) {
    selection.end = data.table->intervalCount;
    EXPECT_EQ(showLineGraph(data, selection, dialogs), nullptr);
    EXPECT_EQ(plot(RoadGraphKind::Contour).window, nullptr);
    selection.end = 12;
    selection.station = 4;
    EXPECT_EQ(showScatterGraph(data, selection, dialogs), nullptr);
    data.table = makeTable(5, 2, knownValue);  // R1 names the third station
    EXPECT_EQ(plot(RoadGraphKind::ColorGrid).window, nullptr);
    flushDeletes();
    EXPECT_TRUE(dialogs.messages.empty() && graphWindows().empty());
}

// An interval without traffic sits at (0, 0); equal occupancies keep their time order.
TEST_F(GraphFill, ScatterGraphKeepsAscendingOccupancyInOrderOfArrival) {
    selection.station = 1;
    selection.start = 10;
    selection.end = 13;
    data.table = makeTable(5, 4, [](int s, int k) {
        return k == 11 ? IntervalValue{}
                       : IntervalValue{k == 10 ? 20.0f : 18.0f, static_cast<int16_t>(s + k)};
    });
    EXPECT_EQ(showScatterGraph(data, selection, dialogs)->chart().points(0),
              (std::vector<ChartPoint>{{0, 0}, {18, 13}, {18, 14}, {20, 11}}));
}

}  // namespace
}  // namespace quorvane::test
