#include <gtest/gtest.h>

#include <QApplication>
#include <set>

#include "core/log.h"
#include "graph_fixtures.h"
#include "roadgraphs/chart.h"
#include "roadgraphs/road_graph.h"
#include "views/request_checks.h"

namespace quorvane::test {
namespace {

constexpr int kThirtySec = 0;
constexpr int kFiveMin = 5;
const std::string kRangeMessageGrid =
    "Your selected time range is too large. Please use 1 min or higer intervals to display 24 "
    "hours.\r\nThe graph will automatically adjust to a displayable range. Click OK to continue.";
const std::string kRangeMessageContour =
    "Your selected time range is too large. Please use 1 min or higer intervals to display 24 "
    "hours.\r\nThe graph will display only a part of the selected time range. Click OK to "
    "continue.";

class RoadGraphs : public GraphWindowTest {
  protected:
    // Road R1 lists its stations out of list order, so rows follow the road, not the list.
    GraphData data{makeDay(4, "R1,103,101,102,\r\nR2,101,1234,103,\r\nSolo,104,\r\n"),
                   makeTable(kFiveMin, 4, knownValue)};
    GraphSelection selection = wholeDaySelection(*data.table);
    RecordingDialogs dialogs;
    Log log;
    int eventRuns = 0;
    std::function<void()> letEventsRun = [this] { ++eventRuns; };

    RoadGraphResult plot(RoadGraphKind kind, RoadMeasure measure) {
        return plotRoadGraph(kind, measure, data, selection, dialogs, log, letEventsRun);
    }
    static std::set<double> distinctX(const Chart& chart) {
        std::set<double> xs;
        for (const GridPoint& p : chart.gridPoints(0)) {
            xs.insert(p.x);
        }
        return xs;
    }
};

TEST_F(RoadGraphs, ColorGridHasOneCellPerIntervalAndRoadStation) {
    selection.start = 0;
    selection.end = 2;
    const RoadGraphResult result = plot(RoadGraphKind::ColorGrid, RoadMeasure::Volume);
    ASSERT_NE(result.window, nullptr);
    EXPECT_FALSE(result.newEnd);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(result.window->objectName(), "frmVolColorGrid");
    EXPECT_EQ(result.window->windowTitle(), "Volume Color Grid Graph: 5 min Data");
    EXPECT_TRUE(result.window->isVisible());
    const Chart& chart = result.window->chart();
    EXPECT_EQ(chart.titleLines(), QStringList{"Road: R1"});
    EXPECT_EQ(chart.rowLabels(), (QStringList{"103", "101", "102"}));
    // Interval order, road order within an interval; z is the road position + 1.
    std::vector<GridPoint> expected;
    for (int t = 0; t <= 2; ++t) {
        const double x = t * 300 / 86400.0;
        for (const auto& [row, station] : {std::pair{1, 2}, {2, 0}, {3, 1}}) {
            expected.push_back(
                {x, static_cast<double>(100 * (station + 1) + t), static_cast<double>(row)});
        }
    }
    EXPECT_EQ(chart.gridPoints(0), expected);
    EXPECT_EQ(eventRuns, 3);
    EXPECT_FALSE(chart.autoRepaint());
}

TEST_F(RoadGraphs, OccupancyTakesTheOccFieldWidened) {
    selection.start = 4;
    selection.end = 5;
    const RoadGraphResult result = plot(RoadGraphKind::ColorGrid, RoadMeasure::Occupancy);
    ASSERT_NE(result.window, nullptr);
    EXPECT_EQ(result.window->objectName(), "frmOccColorGrid");
    EXPECT_EQ(result.window->windowTitle(), "Occupancy Color Grid Graph: 5 min Data");
    const std::vector<GridPoint>& points = result.window->chart().gridPoints(0);
    ASSERT_EQ(points.size(), 6u);
    EXPECT_EQ(points[0].y, static_cast<double>(2.0f + 0.4f));  // station 103 is row 2 of the list
    EXPECT_EQ(points[5].y, static_cast<double>(1.0f + 0.5f));
}

TEST_F(RoadGraphs, ContourWindowsForBothMeasures) {
    selection.start = 0;
    selection.end = 1;
    const RoadGraphResult vol = plot(RoadGraphKind::Contour, RoadMeasure::Volume);
    const RoadGraphResult occ = plot(RoadGraphKind::Contour, RoadMeasure::Occupancy);
    ASSERT_NE(vol.window, nullptr);
    ASSERT_NE(occ.window, nullptr);
    EXPECT_NE(vol.window, occ.window);
    EXPECT_EQ(vol.window->objectName(), "frmContour");
    EXPECT_EQ(occ.window->objectName(), "frmContour");
    EXPECT_EQ(vol.window->windowTitle(), "Volume Contour Graph: 5 min Data");
    EXPECT_EQ(occ.window->windowTitle(), "Occupancy Contour Graph: 5 min Data");
    EXPECT_EQ(vol.window->chart().gridPoints(0).size(), 6u);
    EXPECT_EQ(vol.window->chart().gridPoints(0)[0].y, 300);
    EXPECT_EQ(occ.window->chart().gridPoints(0)[0].y, 2.0);
}

TEST_F(RoadGraphs, RunTimeColoursAreTheSameForEveryRoadGraph) {
    selection.end = 3;
    for (const RoadGraphKind kind : {RoadGraphKind::ColorGrid, RoadGraphKind::Contour}) {
        for (const RoadMeasure measure : {RoadMeasure::Volume, RoadMeasure::Occupancy}) {
            const RoadGraphResult result = plot(kind, measure);
            ASSERT_NE(result.window, nullptr);
            const GridStyle& view = result.window->chart().gridView(0);
            EXPECT_EQ(view.startColor, QColor(255, 0, 0));
            EXPECT_EQ(view.endColor, QColor(0, 255, 0));
            EXPECT_TRUE(view.paletteFlag);
            EXPECT_TRUE(view.irregularGrid);
        }
    }
}

TEST_F(RoadGraphs, ColorGridCutsALongRangeAndMovesTheEndSelection) {
    data.table = makeTable(kThirtySec, 4, knownValue);
    selection = wholeDaySelection(*data.table);
    const RoadGraphResult result = plot(RoadGraphKind::ColorGrid, RoadMeasure::Volume);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(dialogs.messages[0].text, kRangeMessageGrid);
    ASSERT_NE(result.window, nullptr);
    EXPECT_EQ(result.newEnd, 1000);
    EXPECT_EQ(result.window->windowTitle(), "Volume Color Grid Graph: 30 sec Data");
    const std::set<double> xs = distinctX(result.window->chart());
    EXPECT_EQ(xs.size(), 1001u);
    EXPECT_EQ(formatTimeOfDay(*xs.rbegin(), "hh:mm:ss"), "08:20:00");
    EXPECT_EQ(result.window->chart().gridPoints(0).size(), 1001u * 3);
    EXPECT_EQ(eventRuns, 1001);
}

TEST_F(RoadGraphs, ContourCutsALongRangeButLeavesTheEndSelection) {
    data.table = makeTable(kThirtySec, 4, knownValue);
    selection = wholeDaySelection(*data.table);
    const RoadGraphResult result = plot(RoadGraphKind::Contour, RoadMeasure::Occupancy);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(dialogs.messages[0].text, kRangeMessageContour);
    ASSERT_NE(result.window, nullptr);
    EXPECT_FALSE(result.newEnd);
    EXPECT_EQ(distinctX(result.window->chart()).size(), 1001u);
}

TEST_F(RoadGraphs, RangeRuleBoundaries) {
    data.table = makeTable(kThirtySec, 4, knownValue);
    struct Case {
        int start;
        int end;
        bool cut;
        int firstColumn;
        std::size_t columns;
    };
    for (const Case& c : {Case{0, 1440, false, 0, 1441}, Case{100, 1541, true, 100, 1001},
                          Case{100, 1540, false, 100, 1441}}) {
        dialogs.messages.clear();
        selection.start = c.start;
        selection.end = c.end;
        const RoadGraphResult result = plot(RoadGraphKind::ColorGrid, RoadMeasure::Volume);
        ASSERT_NE(result.window, nullptr);
        EXPECT_EQ(dialogs.messages.size(), c.cut ? 1u : 0u) << c.start << ".." << c.end;
        EXPECT_EQ(result.newEnd.has_value(), c.cut);
        const std::set<double> xs = distinctX(result.window->chart());
        EXPECT_EQ(xs.size(), c.columns);
        EXPECT_DOUBLE_EQ(*xs.begin(), data.table->intervalTime(c.firstColumn));
    }
}

TEST_F(RoadGraphs, OneMinuteWholeDayIsNeverCut) {
    data.table = makeTable(1, 4, knownValue);
    selection = wholeDaySelection(*data.table);
    const RoadGraphResult result = plot(RoadGraphKind::Contour, RoadMeasure::Volume);
    EXPECT_TRUE(dialogs.messages.empty());
    ASSERT_NE(result.window, nullptr);
    EXPECT_EQ(distinctX(result.window->chart()).size(), 1440u);
}

TEST_F(RoadGraphs, MissingStationRefusesWithLogEntryAndWarning) {
    selection.road = 1;
    for (const RoadGraphKind kind : {RoadGraphKind::ColorGrid, RoadGraphKind::Contour}) {
        for (const RoadMeasure measure : {RoadMeasure::Volume, RoadMeasure::Occupancy}) {
            dialogs.messages.clear();
            const std::string before = log.logText();
            const RoadGraphResult result = plot(kind, measure);
            EXPECT_EQ(result.window, nullptr);
            EXPECT_EQ(log.logText(), before + "R2 :1234doesn't exist.");
            ASSERT_EQ(dialogs.messages.size(), 1u);
            EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Exclamation);
            EXPECT_EQ(dialogs.messages[0].text,
                      "Station: 1234 does not exist.\r\nUnable to plot the graph.");
        }
    }
    flushDeletes();
    EXPECT_TRUE(graphWindows().empty());
    EXPECT_EQ(eventRuns, 0);
}

TEST_F(RoadGraphs, MissingStationAfterACutStillMovesTheEndSelection) {
    data.table = makeTable(kThirtySec, 4, knownValue);
    selection = wholeDaySelection(*data.table);
    selection.road = 1;
    const RoadGraphResult result = plot(RoadGraphKind::ColorGrid, RoadMeasure::Volume);
    EXPECT_EQ(result.window, nullptr);
    EXPECT_EQ(result.newEnd, 1000);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text,
              "Station: 1234 does not exist.\r\nUnable to plot the graph.");
}

TEST_F(RoadGraphs, RefusalsOfTheRangeCheckOpenNoWindow) {
    GraphSelection noData = selection;
    noData.stationEntries = 0;
    GraphSelection sameTime = selection;
    sameTime.start = 5;
    sameTime.end = 5;
    GraphSelection backwards = selection;
    backwards.start = 6;
    backwards.end = 5;
    for (const auto& [sel, message] : {std::pair{noData, kNoDataMessage},
                                       {sameTime, kBadRangeMessage},
                                       {backwards, kBadRangeMessage}}) {
        dialogs.messages.clear();
        selection = sel;
        EXPECT_EQ(plot(RoadGraphKind::ColorGrid, RoadMeasure::Volume).window, nullptr);
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, message);
    }
    flushDeletes();
    EXPECT_TRUE(graphWindows().empty());
}

TEST_F(RoadGraphs, RoadCommandPassesWithoutAStationSelected) {
    selection.station.reset();
    selection.end = 1;
    EXPECT_NE(plot(RoadGraphKind::ColorGrid, RoadMeasure::Volume).window, nullptr);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(RoadGraphs, NoRoadSelectedDoesNothing) {
    selection.road.reset();
    const RoadGraphResult result = plot(RoadGraphKind::ColorGrid, RoadMeasure::Volume);
    EXPECT_EQ(result.window, nullptr);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(log.logText().empty());
    flushDeletes();
    EXPECT_TRUE(graphWindows().empty());
}

TEST_F(RoadGraphs, RoadOfOneStationHasOneRow) {
    selection.road = 2;
    selection.end = 3;
    const RoadGraphResult result = plot(RoadGraphKind::Contour, RoadMeasure::Volume);
    ASSERT_NE(result.window, nullptr);
    for (const GridPoint& p : result.window->chart().gridPoints(0)) {
        EXPECT_EQ(p.z, 1.0);
    }
    EXPECT_EQ(result.window->chart().gridPoints(0).size(), 4u);
}

TEST_F(RoadGraphs, NestedFillKeepsItsOwnTableAndSelection) {
    selection.start = 0;
    selection.end = 3;
    RoadGraphResult inner;
    bool nested = false;
    letEventsRun = [&] {
        if (nested) {
            return;
        }
        nested = true;
        // A recomputation puts a coarser table in force, then another graph is started.
        GraphData later{data.day, makeTable(9, 4, [](int, int) { return IntervalValue{1.0f, 1}; })};
        GraphSelection laterSelection = wholeDaySelection(*later.table);
        inner = plotRoadGraph(RoadGraphKind::ColorGrid, RoadMeasure::Volume, later, laterSelection,
                              dialogs, log, {});
        data = later;
    };
    const RoadGraphResult outer = plot(RoadGraphKind::ColorGrid, RoadMeasure::Volume);
    ASSERT_NE(outer.window, nullptr);
    ASSERT_NE(inner.window, nullptr);
    EXPECT_EQ(inner.window->windowTitle(), "Volume Color Grid Graph: 1 hour Data");
    EXPECT_EQ(inner.window->chart().gridPoints(0).size(), 24u * 3);
    const std::vector<GridPoint>& points = outer.window->chart().gridPoints(0);
    ASSERT_EQ(points.size(), 12u);
    EXPECT_EQ(points.back().y, 200 + 3);  // station 102 at interval 3 of the 5-minute table
    EXPECT_EQ(graphWindows().size(), 2u);
}

TEST_F(RoadGraphs, WindowClosedDuringTheFillEndsIt) {
    selection.end = 10;
    letEventsRun = [&] {
        ++eventRuns;
        closeGraphWindows();  // the program shuts down while the graph is filled
        flushDeletes();
    };
    const RoadGraphResult result = plot(RoadGraphKind::ColorGrid, RoadMeasure::Volume);
    EXPECT_EQ(result.window, nullptr);
    EXPECT_EQ(eventRuns, 1);
}

TEST_F(RoadGraphs, WindowClosedWhileTheRangeMessageIsUpEndsTheFill) {
    data.table = makeTable(kThirtySec, 4, knownValue);
    selection = wholeDaySelection(*data.table);
    dialogs.onMessage = [] {
        closeGraphWindows();
        flushDeletes();
    };
    const RoadGraphResult result = plot(RoadGraphKind::ColorGrid, RoadMeasure::Volume);
    EXPECT_EQ(result.window, nullptr);
    EXPECT_EQ(eventRuns, 0);
}

TEST_F(RoadGraphs, CaptionIntervalIsReadAfterTheFill) {
    selection.end = 2;
    std::string shown = "5 min";
    selection.intervalText = [&shown] { return shown; };
    letEventsRun = [&shown] { shown = "10 min"; };  // the user picks another interval meanwhile
    const RoadGraphResult result = plot(RoadGraphKind::Contour, RoadMeasure::Volume);
    ASSERT_NE(result.window, nullptr);
    EXPECT_EQ(result.window->windowTitle(), "Volume Contour Graph: 10 min Data");
}

TEST_F(RoadGraphs, SameStationTwiceGivesTwoEqualRows) {
    data.day = makeDay(4, "Loop,102,102,\r\n");
    selection.end = 1;
    const RoadGraphResult result = plot(RoadGraphKind::ColorGrid, RoadMeasure::Volume);
    ASSERT_NE(result.window, nullptr);
    const std::vector<GridPoint>& p = result.window->chart().gridPoints(0);
    ASSERT_EQ(p.size(), 4u);
    EXPECT_EQ(p[0].y, p[1].y);
    EXPECT_EQ(p[0].z, 1);
    EXPECT_EQ(p[1].z, 2);
}

TEST(RoadGraphWindows, StoredSettings) {
    struct Case {
        GraphWindow* window;
        const char* name;
        QSize size;
        SeriesKind kind;
        const char* format;
        bool irregular;
    };
    for (const Case& c :
         {Case{newColorGridWindow(RoadMeasure::Volume),
               "frmVolColorGrid",
               {566, 334},
               SeriesKind::ColorGrid,
               "#,##0.",
               true},
          Case{newColorGridWindow(RoadMeasure::Occupancy),
               "frmOccColorGrid",
               {575, 335},
               SeriesKind::ColorGrid,
               "#,##0",
               false},
          Case{
              newContourWindow(), "frmContour", {575, 334}, SeriesKind::Contour, "#,##0", false}}) {
        const std::unique_ptr<GraphWindow> window(c.window);
        SCOPED_TRACE(c.name);
        EXPECT_EQ(window->objectName(), c.name);
        EXPECT_EQ(window->size(), c.size);
        EXPECT_TRUE(window->testAttribute(Qt::WA_DeleteOnClose));
        const Chart& chart = window->chart();
        EXPECT_EQ(chart.titleLines(), QStringList{"TeeChart"});
        EXPECT_EQ(chart.axis(ChartAxis::Left).title, "Traffic direction ----->");
        EXPECT_TRUE(chart.axis(ChartAxis::Bottom).timeOfDay);
        ASSERT_EQ(chart.seriesCount(), 1);
        EXPECT_EQ(chart.seriesKind(0), c.kind);
        EXPECT_EQ(chart.seriesStyle(0).color, QColor(Qt::red));
        const GridStyle& grid = chart.gridView(0);
        EXPECT_EQ(grid.valueFormat, c.format);
        EXPECT_EQ(grid.startColor, QColor(Qt::red));
        EXPECT_EQ(grid.endColor, QColor(0, 255, 128));
        EXPECT_EQ(grid.irregularGrid, c.irregular);
        EXPECT_EQ(grid.numLevels, 12);
        EXPECT_TRUE(chart.look().legendVisible);
    }
}

}  // namespace
}  // namespace quorvane::test
