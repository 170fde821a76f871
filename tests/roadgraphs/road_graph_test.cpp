#include <gtest/gtest.h>

#include <set>

#include "graph_fixtures.h"
#include "roadgraphs/chart.h"
#include "roadgraphs/road_graph.h"

namespace quorvane::test {
namespace {

constexpr int kThirtySec = 0;
constexpr int kOneMin = 1;
constexpr int kR2 = 1;  // names the unknown station 1234
constexpr int kSolo = 2;
constexpr int kLoop = 3;

struct Kind {
    RoadGraphKind kind;
    RoadMeasure measure;
    const char* windowName;
    const char* caption;
};
constexpr Kind kKinds[] = {
    {RoadGraphKind::ColorGrid, RoadMeasure::Volume, "frmVolColorGrid",
     "Volume Color Grid Graph: 5 min Data"},
    {RoadGraphKind::ColorGrid, RoadMeasure::Occupancy, "frmOccColorGrid",
     "Occupancy Color Grid Graph: 5 min Data"},
    {RoadGraphKind::Contour, RoadMeasure::Volume, "frmContour", "Volume Contour Graph: 5 min Data"},
    {RoadGraphKind::Contour, RoadMeasure::Occupancy, "frmContour",
     "Occupancy Contour Graph: 5 min Data"},
};

class RoadGraphs : public GraphTest {
  protected:
    int eventRuns = 0;
    std::function<void()> letEventsRun = [this] { ++eventRuns; };

    RoadGraphResult plot(RoadGraphKind kind, RoadMeasure measure) {
        return plotRoadGraph(kind, measure, data, selection, dialogs, log, letEventsRun);
    }
    RoadGraphResult plotVolumeGrid() { return plot(RoadGraphKind::ColorGrid, RoadMeasure::Volume); }
    void wholeDayAt(int interval) {
        data.table = makeTable(interval, 4, knownValue);
        selection = wholeDaySelection(*data.table);
    }
    static std::set<double> distinctX(const Chart& chart) {
        std::set<double> xs;
        for (const GridPoint& p : chart.gridPoints(0)) {
            xs.insert(p.x);
        }
        return xs;
    }
};

TEST_F(RoadGraphs, EachKindDrawsOneCellPerIntervalAndRoadStation) {
    selection.station.reset();  // a road graph needs no station
    selection.start = 4;
    selection.end = 5;
    for (const Kind& at : kKinds) {
        SCOPED_TRACE(at.caption);
        eventRuns = 0;
        const RoadGraphResult result = plot(at.kind, at.measure);
        ASSERT_NE(result.window, nullptr);
        EXPECT_FALSE(result.newEnd);
        EXPECT_EQ(result.window->objectName(), at.windowName);
        EXPECT_EQ(result.window->windowTitle(), at.caption);
        EXPECT_TRUE(result.window->isVisible());
        const Chart& chart = result.window->chart();
        EXPECT_EQ(chart.titleLines(), QStringList{"Road: R1"});
        EXPECT_EQ(chart.rowLabels(), (QStringList{"103", "101", "102"}));
        // Interval order, road order within an interval; z is the road position + 1.
        std::vector<GridPoint> expected;
        for (int t = 4; t <= 5; ++t) {
            for (const auto& [row, station] : {std::pair{1, 2}, {2, 0}, {3, 1}}) {
                const IntervalValue value = knownValue(station, t);
                expected.push_back({t * 300 / 86400.0,
                                    at.measure == RoadMeasure::Volume
                                        ? static_cast<double>(value.vol)
                                        : static_cast<double>(value.occ),
                                    static_cast<double>(row)});
            }
        }
        EXPECT_EQ(chart.gridPoints(0), expected);
        EXPECT_EQ(eventRuns, 2);
        EXPECT_FALSE(chart.autoRepaint());
        // The colours every road graph sets when it runs, over the stored ones.
        const GridStyle& view = chart.gridView(0);
        EXPECT_EQ(view.startColor, QColor(255, 0, 0));
        EXPECT_EQ(view.endColor, QColor(0, 255, 0));
        EXPECT_TRUE(view.paletteFlag);
        EXPECT_TRUE(view.irregularGrid);
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(RoadGraphs, RangeRuleCutsLongRangesToAThousandIntervalsAfterTheStart) {
    const std::string first = std::string(kRangeTooLargeLine) + "\r\n";
    const std::string grid = first + std::string(kColorGridRangeLine);
    const std::string contour = first + std::string(kContourRangeLine);
    struct Case {
        RoadGraphKind kind;
        int interval;
        int start;
        int end;
        std::string message;  // empty: drawn whole
    };
    const Case cases[] = {
        {RoadGraphKind::ColorGrid, kThirtySec, 0, 2879, grid},
        {RoadGraphKind::Contour, kThirtySec, 0, 2879, contour},
        {RoadGraphKind::ColorGrid, kThirtySec, 0, 1440, ""},
        {RoadGraphKind::ColorGrid, kThirtySec, 100, 1541, grid},
        {RoadGraphKind::Contour, kThirtySec, 100, 1540, ""},
        {RoadGraphKind::Contour, kOneMin, 0, 1439, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.start) + ".." + std::to_string(c.end));
        wholeDayAt(c.interval);
        selection.start = c.start;
        selection.end = c.end;
        dialogs.messages.clear();
        eventRuns = 0;
        const RoadGraphResult result = plot(c.kind, RoadMeasure::Volume);
        ASSERT_NE(result.window, nullptr);
        const bool cut = !c.message.empty();
        const int last = cut ? c.start + 1000 : c.end;
        ASSERT_EQ(dialogs.messages.size(), cut ? 1u : 0u);
        if (cut) {
            EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Information);
            EXPECT_EQ(dialogs.messages[0].text, c.message);
        }
        // Only the colour grid moves the end selection.
        EXPECT_EQ(result.newEnd, cut && c.kind == RoadGraphKind::ColorGrid
                                     ? std::optional<int>(last)
                                     : std::nullopt);
        const std::set<double> xs = distinctX(result.window->chart());
        EXPECT_EQ(xs.size(), static_cast<std::size_t>(last - c.start + 1));
        EXPECT_DOUBLE_EQ(*xs.begin(), data.table->intervalTime(c.start));
        EXPECT_DOUBLE_EQ(*xs.rbegin(), data.table->intervalTime(last));
        EXPECT_EQ(eventRuns, last - c.start + 1);
        closeGraphWindows();
        flushDeletes();
    }
}

// The refusal itself, its log entry and message come from every road graph button alike (see
// GraphButtons.RoadGraphsRefuseARoadWithAMissingStation); it follows the range rule.
TEST_F(RoadGraphs, MissingStationAfterACutStillMovesTheEndSelection) {
    wholeDayAt(kThirtySec);
    selection.road = kR2;
    const RoadGraphResult result = plotVolumeGrid();
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

TEST_F(RoadGraphs, EveryEntryOfTheRoadIsARowEvenAloneOrTwice) {
    selection.end = 1;
    selection.road = kSolo;
    const RoadGraphResult solo = plot(RoadGraphKind::Contour, RoadMeasure::Volume);
    ASSERT_NE(solo.window, nullptr);
    EXPECT_EQ(solo.window->chart().gridPoints(0),
              (std::vector<GridPoint>{{0, 400, 1}, {300 / 86400.0, 401, 1}}));
    selection.road = kLoop;
    const RoadGraphResult loop = plotVolumeGrid();
    ASSERT_NE(loop.window, nullptr);
    const std::vector<GridPoint>& p = loop.window->chart().gridPoints(0);
    ASSERT_EQ(p.size(), 4u);
    EXPECT_EQ(p[0], (GridPoint{0, 200, 1}));
    EXPECT_EQ(p[1], (GridPoint{0, 200, 2}));
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
    const RoadGraphResult outer = plotVolumeGrid();
    ASSERT_NE(outer.window, nullptr);
    ASSERT_NE(inner.window, nullptr);
    EXPECT_EQ(inner.window->windowTitle(), "Volume Color Grid Graph: 1 hour Data");
    EXPECT_EQ(inner.window->chart().gridPoints(0).size(), 24u * 3);
    const std::vector<GridPoint>& points = outer.window->chart().gridPoints(0);
    ASSERT_EQ(points.size(), 12u);
    EXPECT_EQ(points.back().y, 200 + 3);  // station 102 at interval 3 of the 5-minute table
    EXPECT_EQ(graphWindows().size(), 2u);
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
    EXPECT_EQ(plotVolumeGrid().window, nullptr);
    EXPECT_EQ(eventRuns, 1);

    wholeDayAt(kThirtySec);
    dialogs.onMessage = closeAll;
    letEventsRun = [] { ADD_FAILURE() << "filled after the window was closed"; };
    EXPECT_EQ(plotVolumeGrid().window, nullptr);
    EXPECT_EQ(eventRuns, 2);
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

}  // namespace
}  // namespace quorvane::test
