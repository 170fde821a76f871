// The eight graph buttons of a built day: the window each opens, the refusals, the range rule
// and its end-time selection, and shutdown closing the graph windows. The graphs' own tests
// check their series and rules; these check what the window passes to them and keeps.
#include <QCoreApplication>
#include <QEvent>
#include <algorithm>

#include "charts/chart.h"
#include "charts/graph_window.h"
#include "charts/road_graph.h"
#include "ui/graph_commands.h"
#include "ui/log_window.h"
#include "views/request_checks.h"
#include "window_fixture.h"

namespace quorvane::test {
namespace {

constexpr int kThirtySec = 0;
constexpr int kFiveMin = 5;
constexpr int kSouth = 1;  // stations 140, 139, 138
constexpr int kGhost = 2;  // 131 and the unknown 999

// The time and volume of interval k at "5 min" (ten slots).
double fiveMinTime(int k) {
    return k * 300 / 86400.0;
}
double fiveMinVolume(int station, int k) {
    return UiTestDay::volume(station, 10 * k, 10 * k + 9);
}

class GraphButtons : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        road = {c().btnColorGrid, c().btnOccColorGrid,   c().btnVolContour,
                c().btnContour,   c().btnSpeedColorGrid, c().btnSpeedContour};
        all = {c().btnLinePlot, c().btnScatterPlot};
        all.insert(all.end(), road.begin(), road.end());
    }
    void TearDown() override {
        closeGraphWindows();
        flushDeletes();
        WindowTest::TearDown();
    }
    static void flushDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void range(int start, int end) {
        choose(c().cmbStartTime, start);
        choose(c().cmbEndTime, end);
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
    std::vector<QPushButton*> road, all;
};

TEST_F(GraphButtons, RefuseWithoutData) {
    // The data tabs are unavailable before a build; the checks still guard the buttons, and the
    // volume sum's too.
    c().SSTab1->setTabEnabled(kStationTab, true);
    c().SSTab1->setTabEnabled(kRoadTab, true);
    all.push_back(c().btnVolSum);
    for (QPushButton* button : all) {
        expectRefusal(button, "You must create data first befor plotting.");
    }
    EXPECT_EQ(c().txtVolSum->text(), "0");
}

TEST_F(GraphButtons, RefuseARangeThatDoesNotEndAfterItsStart) {
    buildAt(kFiveMin);
    range(5, 5);
    for (QPushButton* button : all) {
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
    for (QPushButton* button : road) {
        expectRefusal(button, {});
    }
    EXPECT_EQ(workspace().log.logText(), log);
}

TEST_F(GraphButtons, RoadGraphsRefuseARoadWithAMissingStation) {
    buildAt(kFiveMin);
    choose(c().cmbRoadList, kGhost);
    for (QPushButton* button : road) {
        const std::string before = workspace().log.logText();
        expectRefusal(button, "Station: 999 does not exist.\r\nUnable to plot the graph.");
        EXPECT_EQ(workspace().log.logText(), before + "Ghost :999doesn't exist.");
    }
}

TEST_F(GraphButtons, EachOpensItsWindowOnTheSelectedStationRoadAndRange) {
    buildAt(kFiveMin);
    choose(c().cmbStaList, 3);  // station 104
    choose(c().cmbRoadList, kSouth);
    range(10, 12);  // 00:50, 00:55, 01:00
    const std::pair<const char*, const char*> kinds[] = {
        {"frmGraphL", "Vol/Occ Line Graph"},
        {"frmGraphS", "Vol/Occ Scatter Graph"},
        {"frmVolColorGrid", "Volume Color Grid Graph"},
        {"frmOccColorGrid", "Occupancy Color Grid Graph"},
        {"frmContour", "Volume Contour Graph"},
        {"frmContour", "Occupancy Contour Graph"},
        {"frmSpeedColorGrid", "Speed Color Grid Graph"},
        {"frmSpeedContour", "Speed Contour Graph"}};
    std::vector<GraphWindow*> opened;
    for (std::size_t i = 0; i < all.size(); ++i) {
        opened.push_back(clickForWindow(all[i]));
        ASSERT_NE(opened[i], nullptr) << i;
        EXPECT_EQ(opened[i]->objectName(), kinds[i].first);
        EXPECT_EQ(opened[i]->windowTitle(), QString(kinds[i].second) + ": 5 min Data");
        EXPECT_EQ(opened[i]->chart().dialogs(), &dialogs);  // "Save image..." asks through them
    }
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(opened[0]->chart().titleLines(), QStringList{"Station: 104"});
    EXPECT_EQ(opened[1]->chart().titleLines(), QStringList{"Station: 104"});
    EXPECT_EQ(opened[5]->chart().titleLines(), QStringList{"Road: South"});
    // Every slot of station 104 counts: 20 %, the mean of its detectors' 10 % and 30 %.
    std::vector<ChartPoint> volume, occupancy, scatter;
    std::vector<GridPoint> grid;
    for (int k = 10; k <= 12; ++k) {
        volume.push_back({fiveMinTime(k), fiveMinVolume(104, k)});
        occupancy.push_back({fiveMinTime(k), 20.0});
        scatter.push_back({20.0, fiveMinVolume(104, k)});
        double z = 1;  // the road position + 1
        for (const int station : {140, 139, 138}) {
            grid.push_back({fiveMinTime(k), fiveMinVolume(station, k), z++});
        }
    }
    EXPECT_EQ(opened[0]->chart().points(0), volume);
    EXPECT_EQ(opened[0]->chart().points(1), occupancy);
    EXPECT_EQ(opened[1]->chart().points(0), scatter);
    EXPECT_EQ(opened[2]->chart().gridPoints(0), grid);
    // Station 140 lacks its second detector: 10 %, and one lane of 5 vehicles a slot, 600 an
    // hour: 40.2 km/h at 6.7 m.
    EXPECT_EQ(opened[3]->chart().gridPoints(0).front(), (GridPoint{fiveMinTime(10), 10.0, 1}));
    for (const std::size_t speed : {6u, 7u}) {
        EXPECT_EQ(opened[speed]->chart().gridPoints(0).front(),
                  (GridPoint{fiveMinTime(10), 40.2f, 1}));
        EXPECT_EQ(opened[speed]->chart().gridPoints(0).size(), 9u);
    }
}

TEST_F(GraphButtons, WholeDayAtThirtySecondsIsCutColourGridMovingTheEndTime) {
    buildAt(kThirtySec);
    choose(c().cmbRoadList, kSouth);
    const struct {
        QPushButton* button;
        std::string_view secondLine;
        const char* endAfter;
    } cases[] = {{c().btnColorGrid, kColorGridRangeLine, "08:20:00"},
                 {c().btnContour, kContourRangeLine, "23:59:30"}};
    for (const auto& at : cases) {
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

TEST_F(GraphButtons, EachFillKeepsItsOwnTableThroughARecomputationDuringTheRangeMessage) {
    buildAt(kThirtySec);
    choose(c().cmbRoadList, kSouth);
    // While the message is up the user recomputes at "1 hour", opens another graph, then types
    // another interval: each fill draws the table it started on, the caption names the list's
    // text when drawn, and the new time lists keep their whole-day range.
    GraphWindow* nested = nullptr;
    dialogs.onMessage = [&](const Message&) {
        choose(c().cmbPlotInterval, 9);
        click(c().btnReCompute);
        nested = clickForWindow(c().btnVolContour);
        type(c().cmbPlotInterval, "7 min");
    };
    click(c().btnColorGrid);
    dialogs.onMessage = nullptr;
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(nested->windowTitle(), "Volume Contour Graph: 1 hour Data");
    EXPECT_EQ(nested->chart().gridPoints(0).size(), 24u * 3);
    const std::vector<GraphWindow*> windows = shown();
    ASSERT_EQ(windows.size(), 2u);
    GraphWindow* graph = windows[0] == nested ? windows[1] : windows[0];
    EXPECT_EQ(graph->windowTitle(), "Volume Color Grid Graph: 7 min Data");
    EXPECT_EQ(graph->chart().gridPoints(0).size(), 3u * 1001);
    EXPECT_EQ(c().cmbEndTime->count(), 24);
    EXPECT_EQ(c().cmbEndTime->currentIndex(), 23);
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

TEST_F(GraphButtons, ExitWritesTheLogAndClosesEveryWindow) {
    buildAt(kFiveMin);
    click(c().btnShowlLog);
    for (QPushButton* button : all) {
        ASSERT_NE(clickForWindow(button), nullptr);
    }
    click(c().btnExit);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->findChild<LogWindow*>("frmLog")->isVisible());
    EXPECT_TRUE(shown().empty());
    flushDeletes();
    EXPECT_TRUE(graphWindows().empty());
    const std::string written = readFile(dir / "Log.txt");
    EXPECT_EQ(written, workspace().log.logText() + "\r\n");
    EXPECT_NE(written.find("Sta count=40"), std::string::npos);
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
