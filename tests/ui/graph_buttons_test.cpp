// The six graph buttons of a built day: the window each opens, its points, the refusals, the
// range rule and its end-time selection, and shutdown closing the graph windows.
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <algorithm>
#include <set>

#include "roadgraphs/chart.h"
#include "roadgraphs/graph_window.h"
#include "roadgraphs/road_graph.h"
#include "ui/graph_wiring.h"
#include "ui_test_day.h"
#include "views/request_checks.h"
#include "window_fixture.h"

namespace quorvane::test {
namespace {

constexpr int kThirtySec = 0;
constexpr int kFiveMin = 5;
constexpr int kOneHour = 9;
constexpr int kSouth = 1;  // stations 140, 139, 138
constexpr int kGhost = 2;  // 131 and the unknown 999

constexpr double kDay = 86400.0;

// The volume of a station in interval k at "5 min" (ten slots).
double fiveMinVolume(int station, int k) {
    return UiTestDay::volume(station, 10 * k, 10 * k + 9);
}
// Every slot counts (detector N1 is never empty): the mean of 10 % and 30 %, or 10 % alone for
// station 140, whose second detector is missing.
double occupancy(int station) {
    return station == 140 ? 10.0 : 20.0;
}

class GraphButtons : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        window->setGraphCommand(graphWindowCommand());
    }
    void TearDown() override {
        closeGraphWindows();
        flushDeletes();
        WindowTest::TearDown();
    }
    static void flushDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A built day re-aggregated at `interval`, without its messages.
    void buildAt(int interval) {
        build();
        if (interval != kThirtySec) {
            choose(c().cmbPlotInterval, interval);
            click(c().btnReCompute);
        }
        dialogs.clear();
    }
    void range(int start, int end) {
        choose(c().cmbStartTime, start);
        choose(c().cmbEndTime, end);
    }

    std::vector<QPushButton*> graphButtons() {
        return {c().btnLinePlot,     c().btnScatterPlot, c().btnColorGrid,
                c().btnOccColorGrid, c().btnVolContour,  c().btnContour};
    }
    std::vector<QPushButton*> roadButtons() {
        return {c().btnColorGrid, c().btnOccColorGrid, c().btnVolContour, c().btnContour};
    }

    static std::vector<GraphWindow*> shown() {
        std::vector<GraphWindow*> windows;
        for (GraphWindow* graph : graphWindows()) {
            if (graph->isVisible()) {
                windows.push_back(graph);
            }
        }
        return windows;
    }
    // The one window a click opened; fails the test when there is not exactly one.
    GraphWindow* clickForWindow(QPushButton* button) {
        const auto before = shown();
        click(button);
        EXPECT_TRUE(button->isEnabled());
        std::vector<GraphWindow*> opened;
        for (GraphWindow* graph : shown()) {
            if (std::find(before.begin(), before.end(), graph) == before.end()) {
                opened.push_back(graph);
            }
        }
        EXPECT_EQ(opened.size(), 1u) << button->objectName().toStdString();
        return opened.size() == 1 ? opened.front() : nullptr;
    }
    // A click that opens nothing and shows `message` (none when empty) with `icon`.
    void expectRefusal(QPushButton* button, std::string_view message,
                       MessageIcon icon = MessageIcon::Exclamation) {
        SCOPED_TRACE(button->objectName().toStdString());
        dialogs.clear();
        click(button);
        EXPECT_TRUE(button->isEnabled());
        flushDeletes();
        EXPECT_TRUE(graphWindows().empty());
        if (message.empty()) {
            EXPECT_TRUE(dialogs.messages.empty());
        } else {
            const auto shownMessage = dialogs.onlyMessage();
            EXPECT_EQ(shownMessage.icon, icon);
            EXPECT_EQ(shownMessage.text, message);
        }
    }

    static std::set<double> distinctX(const Chart& chart) {
        std::set<double> xs;
        for (const GridPoint& p : chart.gridPoints(0)) {
            xs.insert(p.x);
        }
        return xs;
    }
};

TEST_F(GraphButtons, RefuseWithoutData) {
    // The data tabs are unavailable before a build; the checks still guard the buttons.
    c().SSTab1->setTabEnabled(kStationTab, true);
    c().SSTab1->setTabEnabled(kRoadTab, true);
    for (QPushButton* button : graphButtons()) {
        expectRefusal(button, kNoDataMessage);
    }
}

TEST_F(GraphButtons, RefuseARangeThatDoesNotEndAfterItsStart) {
    buildAt(kFiveMin);
    for (const auto& [start, end] : {std::pair{5, 5}, {6, 5}}) {
        range(start, end);
        for (QPushButton* button : graphButtons()) {
            expectRefusal(button, kBadRangeMessage);
        }
    }
    range(5, 6);
    type(c().cmbEndTime, "01:00:00");  // a valid time, but typed
    expectRefusal(c().btnLinePlot, kBadRangeMessage);
    expectRefusal(c().btnColorGrid, kBadRangeMessage);
}

TEST_F(GraphButtons, StationGraphsNeedAStationWhereRoadGraphsDoNot) {
    buildAt(kFiveMin);
    range(0, 2);
    type(c().cmbStaList, "104");
    expectRefusal(c().btnLinePlot, kNoStationMessage);
    expectRefusal(c().btnScatterPlot, kNoStationMessage);
    choose(c().cmbRoadList, kSouth);
    dialogs.clear();
    ASSERT_NE(clickForWindow(c().btnColorGrid), nullptr);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(GraphButtons, RoadGraphsDoNothingWithoutARoad) {
    buildAt(kFiveMin);
    type(c().cmbRoadList, "South");
    for (QPushButton* button : roadButtons()) {
        expectRefusal(button, {});
    }
}

TEST_F(GraphButtons, RoadGraphsRefuseARoadWithAMissingStation) {
    buildAt(kFiveMin);
    choose(c().cmbRoadList, kGhost);
    for (QPushButton* button : roadButtons()) {
        const std::string before = workspace().log.logText();
        expectRefusal(button, "Station: 999 does not exist.\r\nUnable to plot the graph.");
        EXPECT_EQ(workspace().log.logText(), before + "Ghost :999doesn't exist.");
    }
}

TEST_F(GraphButtons, LineGraphOfThreeIntervals) {
    buildAt(kFiveMin);
    choose(c().cmbStaList, 3);  // station 104
    range(10, 12);
    GraphWindow* graph = clickForWindow(c().btnLinePlot);
    ASSERT_NE(graph, nullptr);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(graph->objectName(), "frmGraphL");
    EXPECT_EQ(graph->windowTitle(), "Vol/Occ Line Graph: 5 min Data");
    const Chart& chart = graph->chart();
    EXPECT_EQ(chart.titleLines(), QStringList{"Station: 104"});
    std::vector<ChartPoint> volume;
    std::vector<ChartPoint> occ;
    for (int k = 10; k <= 12; ++k) {  // 00:50, 00:55, 01:00
        volume.push_back({k * 300 / kDay, fiveMinVolume(104, k)});
        occ.push_back({k * 300 / kDay, occupancy(104)});
    }
    EXPECT_EQ(chart.points(0), volume);
    EXPECT_EQ(chart.points(1), occ);
}

TEST_F(GraphButtons, ScatterGraphOfThreeIntervals) {
    buildAt(kFiveMin);
    choose(c().cmbStaList, 39);  // station 140
    range(10, 12);
    GraphWindow* graph = clickForWindow(c().btnScatterPlot);
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(graph->objectName(), "frmGraphS");
    EXPECT_EQ(graph->windowTitle(), "Vol/Occ Scatter Graph: 5 min Data");
    EXPECT_EQ(graph->chart().titleLines(), QStringList{"Station: 140"});
    std::vector<ChartPoint> expected;
    for (int k = 10; k <= 12; ++k) {
        expected.push_back({occupancy(140), fiveMinVolume(140, k)});
    }
    EXPECT_EQ(graph->chart().points(0), expected);
}

TEST_F(GraphButtons, RoadGraphsOfThreeIntervals) {
    buildAt(kFiveMin);
    choose(c().cmbRoadList, kSouth);
    range(0, 2);
    struct Case {
        QPushButton* button;
        const char* kind;
        const char* caption;
        bool volume;
    };
    for (const Case& at :
         {Case{c().btnColorGrid, "frmVolColorGrid", "Volume Color Grid Graph: 5 min Data", true},
          Case{c().btnOccColorGrid, "frmOccColorGrid", "Occupancy Color Grid Graph: 5 min Data",
               false},
          Case{c().btnVolContour, "frmContour", "Volume Contour Graph: 5 min Data", true},
          Case{c().btnContour, "frmContour", "Occupancy Contour Graph: 5 min Data", false}}) {
        SCOPED_TRACE(at.caption);
        GraphWindow* graph = clickForWindow(at.button);
        ASSERT_NE(graph, nullptr);
        EXPECT_TRUE(dialogs.messages.empty());
        EXPECT_EQ(graph->objectName(), at.kind);
        EXPECT_EQ(graph->windowTitle(), at.caption);
        const Chart& chart = graph->chart();
        EXPECT_EQ(chart.titleLines(), QStringList{"Road: South"});
        EXPECT_EQ(chart.rowLabels(), (QStringList{"140", "139", "138"}));
        // Interval order, road order within an interval; z is the road position + 1.
        std::vector<GridPoint> expected;
        for (int k = 0; k <= 2; ++k) {
            double z = 1;
            for (const int station : {140, 139, 138}) {
                const double value = at.volume ? fiveMinVolume(station, k) : occupancy(station);
                expected.push_back({k * 300 / kDay, value, z++});
            }
        }
        EXPECT_EQ(chart.gridPoints(0), expected);
        EXPECT_EQ(c().cmbEndTime->currentIndex(), 2);
    }
}

TEST_F(GraphButtons, WholeDayAtThirtySecondsIsCutColourGridMovingTheEndTime) {
    buildAt(kThirtySec);
    choose(c().cmbRoadList, kSouth);
    ASSERT_EQ(c().cmbEndTime->currentIndex(), 2879);
    const std::string firstLine(kRangeTooLargeLine);
    struct Case {
        QPushButton* button;
        std::string_view secondLine;
        int endAfter;
        const char* endText;
    };
    for (const Case& at : {Case{c().btnColorGrid, kColorGridRangeLine, 1000, "08:20:00"},
                           Case{c().btnOccColorGrid, kColorGridRangeLine, 1000, "08:20:00"},
                           Case{c().btnVolContour, kContourRangeLine, 2879, "23:59:30"},
                           Case{c().btnContour, kContourRangeLine, 2879, "23:59:30"}}) {
        SCOPED_TRACE(at.button->objectName().toStdString());
        range(0, 2879);
        dialogs.clear();
        // The message comes before the window, while the button is still held.
        dialogs.onMessage = [&](const ScriptedDialogs::Message&) {
            EXPECT_FALSE(at.button->isEnabled());
            EXPECT_TRUE(shown().empty());
            EXPECT_EQ(c().cmbEndTime->currentIndex(), 2879);
        };
        GraphWindow* graph = clickForWindow(at.button);
        dialogs.onMessage = nullptr;
        ASSERT_NE(graph, nullptr);
        const auto message = dialogs.onlyMessage();
        EXPECT_EQ(message.icon, MessageIcon::Information);
        EXPECT_EQ(message.text, firstLine + "\r\n" + std::string(at.secondLine));
        const std::set<double> xs = distinctX(graph->chart());
        ASSERT_EQ(xs.size(), 1001u);
        EXPECT_EQ(*xs.begin(), 0.0);
        EXPECT_EQ(*xs.rbegin(), 1000 * 30 / kDay);
        EXPECT_EQ(graph->chart().gridPoints(0).size(), 3003u);
        EXPECT_EQ(c().cmbEndTime->currentIndex(), at.endAfter);
        EXPECT_EQ(c().cmbEndTime->currentText(), at.endText);
        closeGraphWindows();
        flushDeletes();
    }
}

TEST_F(GraphButtons, TwelveHoursAtThirtySecondsPassWhole) {
    buildAt(kThirtySec);
    choose(c().cmbRoadList, kSouth);
    range(0, 1440);
    GraphWindow* graph = clickForWindow(c().btnColorGrid);
    ASSERT_NE(graph, nullptr);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(distinctX(graph->chart()).size(), 1441u);
    EXPECT_EQ(c().cmbEndTime->currentIndex(), 1440);
}

TEST_F(GraphButtons, RecomputationDuringTheRangeMessageKeepsItsOwnEndTime) {
    buildAt(kThirtySec);
    choose(c().cmbRoadList, kSouth);
    // While the message is up the user recomputes at "1 hour": the fill draws the table it
    // started on, the caption names the interval now shown, and the new time lists keep their
    // whole-day range.
    dialogs.onMessage = [&](const ScriptedDialogs::Message&) {
        choose(c().cmbPlotInterval, kOneHour);
        click(c().btnReCompute);
    };
    GraphWindow* graph = clickForWindow(c().btnColorGrid);
    dialogs.onMessage = nullptr;
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(graph->windowTitle(), "Volume Color Grid Graph: 1 hour Data");
    EXPECT_EQ(distinctX(graph->chart()).size(), 1001u);
    EXPECT_EQ(c().cmbEndTime->count(), 24);
    EXPECT_EQ(c().cmbEndTime->currentIndex(), 23);
}

TEST_F(GraphButtons, CaptionNamesTheIntervalShownWhenTheGraphOpens) {
    buildAt(kFiveMin);
    range(10, 12);
    choose(c().cmbPlotInterval, kOneHour);  // picked, not recomputed
    GraphWindow* line = clickForWindow(c().btnLinePlot);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->windowTitle(), "Vol/Occ Line Graph: 1 hour Data");
    EXPECT_EQ(line->chart().points(0).front().x, 10 * 300 / kDay);  // still 5-minute points
    type(c().cmbPlotInterval, "7 min");
    GraphWindow* grid = clickForWindow(c().btnOccColorGrid);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->windowTitle(), "Occupancy Color Grid Graph: 7 min Data");
}

TEST_F(GraphButtons, TwoClicksGiveTwoWindows) {
    buildAt(kFiveMin);
    range(0, 5);
    for (QPushButton* button : {c().btnLinePlot, c().btnColorGrid}) {
        GraphWindow* first = clickForWindow(button);
        GraphWindow* second = clickForWindow(button);
        ASSERT_NE(first, nullptr);
        ASSERT_NE(second, nullptr);
        EXPECT_NE(first, second);
        EXPECT_EQ(first->windowTitle(), second->windowTitle());
        EXPECT_EQ(first->chart().points(0), second->chart().points(0));
        EXPECT_EQ(first->chart().gridPoints(0), second->chart().gridPoints(0));
    }
    EXPECT_EQ(shown().size(), 4u);
}

TEST_F(GraphButtons, ExitClosesEveryGraphWindow) {
    buildAt(kFiveMin);
    range(0, 5);
    for (QPushButton* button : graphButtons()) {
        ASSERT_NE(clickForWindow(button), nullptr);
    }
    ASSERT_EQ(shown().size(), 6u);
    click(c().btnExit);
    EXPECT_TRUE(shown().empty());
    flushDeletes();
    EXPECT_TRUE(graphWindows().empty());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(GraphButtons, ClosingTheProgramDuringAFillDiscardsItsWindowSilently) {
    buildAt(kThirtySec);
    choose(c().cmbRoadList, kSouth);
    dialogs.onMessage = [&](const ScriptedDialogs::Message&) { click(c().btnExit); };
    click(c().btnVolContour);
    dialogs.onMessage = nullptr;
    flushDeletes();
    EXPECT_TRUE(graphWindows().empty());
    EXPECT_EQ(dialogs.onlyMessage().icon, MessageIcon::Information);  // the range message only
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace quorvane::test
