// The six graph buttons of a built day: the window each opens, its points, the refusals, the
// range rule and its end-time selection, and shutdown closing the graph windows. The graphs'
// own rules are the graph library's tests; these check what the window gives and keeps.
#include <QCoreApplication>
#include <QEvent>
#include <algorithm>

#include "roadgraphs/chart.h"
#include "roadgraphs/graph_window.h"
#include "roadgraphs/road_graph.h"
#include "ui/graph_wiring.h"
#include "views/request_checks.h"
#include "window_fixture.h"

namespace quorvane::test {
namespace {

constexpr int kThirtySec = 0;
constexpr int kFiveMin = 5;
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
        choose(c().cmbPlotInterval, interval);
        click(c().btnReCompute);
        dialogs.clear();
    }
    void range(int start, int end) {
        choose(c().cmbStartTime, start);
        choose(c().cmbEndTime, end);
    }
    std::vector<QPushButton*> roadButtons() {
        return {c().btnColorGrid, c().btnOccColorGrid, c().btnVolContour, c().btnContour};
    }
    std::vector<QPushButton*> graphButtons() {
        std::vector<QPushButton*> buttons = roadButtons();
        buttons.insert(buttons.begin(), {c().btnLinePlot, c().btnScatterPlot});
        return buttons;
    }
    static std::vector<GraphWindow*> shown() {
        std::vector<GraphWindow*> windows = graphWindows();
        std::erase_if(windows, [](GraphWindow* graph) { return !graph->isVisible(); });
        return windows;
    }
    // The one window a click opened; fails the test when there is not exactly one.
    GraphWindow* clickForWindow(QPushButton* button) {
        const auto before = shown();
        click(button);
        EXPECT_TRUE(button->isEnabled());
        std::vector<GraphWindow*> opened = shown();
        std::erase_if(opened,
                      [&](GraphWindow* graph) { return std::ranges::count(before, graph); });
        EXPECT_EQ(opened.size(), 1u) << button->objectName().toStdString();
        return opened.size() == 1 ? opened.front() : nullptr;
    }
    // A click that opens nothing and shows `message` (none when empty).
    void expectRefusal(QPushButton* button, std::string_view message) {
        SCOPED_TRACE(button->objectName().toStdString());
        dialogs.clear();
        click(button);
        EXPECT_TRUE(button->isEnabled());
        flushDeletes();
        EXPECT_TRUE(graphWindows().empty());
        std::vector<Message> expected;
        if (!message.empty()) {
            expected.push_back({MessageIcon::Exclamation, std::string(message)});
        }
        EXPECT_EQ(dialogs.messages, expected);
    }
};

TEST_F(GraphButtons, RefuseWithoutData) {
    // The data tabs are unavailable before a build; the checks still guard the buttons, and the
    // volume sum's too.
    c().SSTab1->setTabEnabled(kStationTab, true);
    c().SSTab1->setTabEnabled(kRoadTab, true);
    for (QPushButton* button : graphButtons()) {
        expectRefusal(button, "You must create data first befor plotting.");
    }
    expectRefusal(c().btnVolSum, "You must create data first befor plotting.");
    EXPECT_EQ(c().txtVolSum->text(), "0");
}

TEST_F(GraphButtons, RefuseARangeThatDoesNotEndAfterItsStart) {
    buildAt(kFiveMin);
    range(5, 5);
    for (QPushButton* button : graphButtons()) {
        expectRefusal(button, kBadRangeMessage);
    }
    range(5, 6);
    type(c().cmbEndTime, "01:00:00");  // a valid time, but typed
    expectRefusal(c().btnLinePlot, kBadRangeMessage);
    expectRefusal(c().btnColorGrid, kBadRangeMessage);
}

TEST_F(GraphButtons, StationGraphsNeedAStationWhereRoadGraphsDoNot) {
    buildAt(kFiveMin);
    type(c().cmbStaList, "104");
    expectRefusal(c().btnLinePlot, kNoStationMessage);
    expectRefusal(c().btnScatterPlot, kNoStationMessage);
    dialogs.clear();
    ASSERT_NE(clickForWindow(c().btnColorGrid), nullptr);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(GraphButtons, RoadGraphsDoNothingWithoutARoad) {
    buildAt(kFiveMin);
    type(c().cmbRoadList, "South");
    const std::string log = workspace().log.logText();
    for (QPushButton* button : roadButtons()) {
        expectRefusal(button, {});
    }
    EXPECT_EQ(workspace().log.logText(), log);
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

TEST_F(GraphButtons, StationGraphsOfThreeIntervals) {
    buildAt(kFiveMin);
    range(10, 12);              // 00:50, 00:55, 01:00
    choose(c().cmbStaList, 3);  // station 104
    GraphWindow* line = clickForWindow(c().btnLinePlot);
    choose(c().cmbStaList, 39);  // station 140
    GraphWindow* scatter = clickForWindow(c().btnScatterPlot);
    ASSERT_TRUE(line != nullptr && scatter != nullptr);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(line->objectName(), "frmGraphL");
    EXPECT_EQ(line->windowTitle(), "Vol/Occ Line Graph: 5 min Data");
    EXPECT_EQ(line->chart().titleLines(), QStringList{"Station: 104"});
    EXPECT_EQ(scatter->objectName(), "frmGraphS");
    EXPECT_EQ(scatter->windowTitle(), "Vol/Occ Scatter Graph: 5 min Data");
    EXPECT_EQ(scatter->chart().titleLines(), QStringList{"Station: 140"});
    std::vector<ChartPoint> volume, occ, scattered;
    for (int k = 10; k <= 12; ++k) {
        volume.push_back({k * 300 / kDay, fiveMinVolume(104, k)});
        occ.push_back({k * 300 / kDay, occupancy(104)});
        scattered.push_back({occupancy(140), fiveMinVolume(140, k)});
    }
    EXPECT_EQ(line->chart().points(0), volume);
    EXPECT_EQ(line->chart().points(1), occ);
    EXPECT_EQ(scatter->chart().points(0), scattered);
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
        EXPECT_EQ(graph->chart().titleLines(), QStringList{"Road: South"});
        // Interval order, road order within an interval; z is the road position + 1.
        std::vector<GridPoint> expected;
        for (int k = 0; k <= 2; ++k) {
            double z = 1;
            for (const int station : {140, 139, 138}) {
                const double value = at.volume ? fiveMinVolume(station, k) : occupancy(station);
                expected.push_back({k * 300 / kDay, value, z++});
            }
        }
        EXPECT_EQ(graph->chart().gridPoints(0), expected);
        EXPECT_EQ(c().cmbEndTime->currentIndex(), 2);
    }
}

TEST_F(GraphButtons, WholeDayAtThirtySecondsIsCutColourGridMovingTheEndTime) {
    buildAt(kThirtySec);
    choose(c().cmbRoadList, kSouth);
    struct Case {
        QPushButton* button;
        std::string_view secondLine;
        const char* endAfter;
    };
    for (const Case& at : {Case{c().btnColorGrid, kColorGridRangeLine, "08:20:00"},
                           Case{c().btnContour, kContourRangeLine, "23:59:30"}}) {
        SCOPED_TRACE(at.button->objectName().toStdString());
        range(0, 2879);
        dialogs.clear();
        // The message comes before the window, while the button is still held.
        dialogs.onMessage = [&](const Message&) {
            EXPECT_FALSE(at.button->isEnabled());
            EXPECT_TRUE(shown().empty());
            EXPECT_EQ(c().cmbEndTime->currentIndex(), 2879);
        };
        GraphWindow* graph = clickForWindow(at.button);
        dialogs.onMessage = nullptr;
        ASSERT_NE(graph, nullptr);
        const std::string text =
            std::string(kRangeTooLargeLine) + "\r\n" + std::string(at.secondLine);
        EXPECT_EQ(dialogs.onlyMessage(), (Message{MessageIcon::Information, text}));
        EXPECT_EQ(graph->chart().gridPoints(0).size(), 3u * 1001);  // cut to 1001 intervals
        EXPECT_EQ(c().cmbEndTime->currentText(), at.endAfter);
        closeGraphWindows();
    }
}

TEST_F(GraphButtons, RecomputationDuringTheRangeMessageKeepsItsOwnEndTime) {
    buildAt(kThirtySec);
    choose(c().cmbRoadList, kSouth);
    // While the message is up the user recomputes at "1 hour": the fill draws the table it
    // started on, the caption names the interval now shown, and the new time lists keep their
    // whole-day range.
    dialogs.onMessage = [&](const Message&) {
        choose(c().cmbPlotInterval, 9);
        click(c().btnReCompute);
    };
    GraphWindow* graph = clickForWindow(c().btnColorGrid);
    dialogs.onMessage = nullptr;
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(graph->windowTitle(), "Volume Color Grid Graph: 1 hour Data");
    EXPECT_EQ(graph->chart().gridPoints(0).size(), 3u * 1001);
    EXPECT_EQ(c().cmbEndTime->count(), 24);
    EXPECT_EQ(c().cmbEndTime->currentIndex(), 23);
}

TEST_F(GraphButtons, CaptionNamesTheIntervalListTextEvenTyped) {
    buildAt(kFiveMin);
    type(c().cmbPlotInterval, "7 min");
    GraphWindow* grid = clickForWindow(c().btnOccColorGrid);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->windowTitle(), "Occupancy Color Grid Graph: 7 min Data");
}

TEST_F(GraphButtons, TwoClicksGiveTwoWindowsThatKeepTheirPoints) {
    buildAt(kFiveMin);
    std::vector<std::pair<GraphWindow*, GraphWindow*>> pairs;
    for (QPushButton* button : {c().btnLinePlot, c().btnColorGrid}) {
        pairs.emplace_back(clickForWindow(button), clickForWindow(button));
    }
    // A recomputation replaces the table in force, not what the windows drew.
    choose(c().cmbPlotInterval, 9);
    click(c().btnReCompute);
    for (const auto& [first, second] : pairs) {
        ASSERT_TRUE(first != nullptr && second != nullptr);
        EXPECT_NE(first, second);
        EXPECT_EQ(first->chart().points(0), second->chart().points(0));
        EXPECT_EQ(first->chart().gridPoints(0), second->chart().gridPoints(0));
    }
    EXPECT_EQ(pairs[0].first->chart().points(0).size(), 288u);
    EXPECT_EQ(pairs[1].first->chart().gridPoints(0).size(), 288u * 30);
}

TEST_F(GraphButtons, ExitClosesEveryGraphWindow) {
    buildAt(kFiveMin);
    for (QPushButton* button : graphButtons()) {
        ASSERT_NE(clickForWindow(button), nullptr);
    }
    click(c().btnExit);
    EXPECT_TRUE(shown().empty());
    flushDeletes();
    EXPECT_TRUE(graphWindows().empty());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(GraphButtons, ClosingTheProgramDuringAFillDiscardsItsWindowSilently) {
    buildAt(kThirtySec);
    choose(c().cmbRoadList, kSouth);
    dialogs.onMessage = [&](const Message&) { click(c().btnExit); };
    click(c().btnVolContour);
    dialogs.onMessage = nullptr;
    flushDeletes();
    EXPECT_TRUE(graphWindows().empty());
    EXPECT_EQ(dialogs.onlyMessage().icon, MessageIcon::Information);  // the range message only
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace quorvane::test
