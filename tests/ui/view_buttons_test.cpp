// The view buttons of a built day: the refusals of the eight graph buttons, the volume sum and
// the CSV export, the window each graph button opens, the range rule's message and end-time
// selection, and Exit closing the graph windows. The graphs' own tests check their series and
// a fill that meets the shutdown; these check what the window passes to them and keeps.
#include <algorithm>

#include "charts/chart.h"
#include "charts/graph_window.h"
#include "ui/log_window.h"
#include "window_fixture.h"

namespace quorvane::test {
namespace {

constexpr int kThirtySec = 0;
constexpr int kFiveMin = 5;
constexpr int kSouth = 1;  // stations 140, 139, 138
constexpr int kGhost = 2;  // 131 and the unknown 999
constexpr std::string_view kBadRange = "The end time must be greater than the start time.";

class ViewButtons : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        road = {c().btnColorGrid, c().btnOccColorGrid,   c().btnVolContour,
                c().btnContour,   c().btnSpeedColorGrid, c().btnSpeedContour};
        graphs = {c().btnLinePlot, c().btnScatterPlot};
        graphs.insert(graphs.end(), road.begin(), road.end());
    }
    void range(int start, int end) {
        choose(c().cmbStartTime, start);
        choose(c().cmbEndTime, end);
    }
    // The one window a click opened; fails the test when there is not exactly one.
    GraphWindow* clickForWindow(QPushButton* button) {
        const auto before = graphWindows();
        click(button);
        std::vector<GraphWindow*> opened = graphWindows();
        std::erase_if(opened, [&](GraphWindow* graph) {
            return !graph->isVisible() || std::ranges::count(before, graph);
        });
        EXPECT_EQ(opened.size(), 1u) << button->objectName().toStdString();
        return opened.size() == 1 ? opened.front() : nullptr;
    }
    // Clicks that open no window, show `message` (none when empty) and write nothing: the
    // volume sum shows 0, the CSV export leaves the file chosen for it as it was.
    void expectRefusals(const std::vector<QPushButton*>& buttons, std::string_view message) {
        for (QPushButton* button : buttons) {
            SCOPED_TRACE(button->objectName().toStdString());
            dialogs.clear();
            const auto csv = dir / "earlier.csv";
            writeFile(csv, "earlier export");
            if (button == c().btnCSVfile) {
                dialogs.answer(csv.string());
            }
            click(button);
            EXPECT_TRUE(button->isEnabled());
            flushDeletes();
            EXPECT_TRUE(graphWindows().empty());
            if (button == c().btnVolSum) {
                EXPECT_EQ(c().txtVolSum->text(), "0");
            }
            EXPECT_EQ(readFile(csv), "earlier export");
            std::vector<Message> expected;
            if (!message.empty()) {
                expected.push_back({MessageIcon::Exclamation, std::string(message)});
            }
            EXPECT_EQ(dialogs.messages, expected);
        }
    }
    std::vector<QPushButton*> road, graphs;
};

TEST_F(ViewButtons, RefuseWithoutData) {
    // The data tabs are unavailable before a build; the checks still guard the buttons.
    c().SSTab1->setTabEnabled(kStationTab, true);
    c().SSTab1->setTabEnabled(kRoadTab, true);
    graphs.push_back(c().btnVolSum);
    expectRefusals(graphs, "You must create data first befor plotting.");
}

TEST_F(ViewButtons, RefuseARangeThatDoesNotEndAfterItsStart) {
    buildAt(kFiveMin);
    clickRow(c().lstSta, 0);  // a station for the CSV export
    graphs.insert(graphs.end(), {c().btnVolSum, c().btnCSVfile});
    range(5, 5);
    expectRefusals(graphs, kBadRange);
    // Valid times, but typed.
    range(5, 6);
    type(c().cmbEndTime, "01:00:00");
    expectRefusals({c().btnLinePlot, c().btnColorGrid, c().btnCSVfile}, kBadRange);
}

TEST_F(ViewButtons, StationCommandsNeedAStationWhereRoadGraphsDoNot) {
    buildAt(kFiveMin);
    type(c().cmbStaList, "104");
    expectRefusals({c().btnLinePlot, c().btnScatterPlot, c().btnVolSum},
                   "You must select the station number.");
    dialogs.clear();
    ASSERT_NE(clickForWindow(c().btnColorGrid), nullptr);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ViewButtons, RoadGraphsDoNothingWithoutARoad) {
    buildAt(kFiveMin);
    type(c().cmbRoadList, "South");
    const std::string log = workspace().log.logText();
    expectRefusals(road, {});
    EXPECT_EQ(workspace().log.logText(), log);
}

TEST_F(ViewButtons, RoadCommandsRefuseARoadWithAMissingStation) {
    buildAt(kFiveMin);
    choose(c().cmbRoadList, kGhost);
    clickRow(c().lstSta, 0);
    clickRow(c().lstSta, 1);
    road.push_back(c().btnCSVfile);
    for (QPushButton* button : road) {
        const bool csv = button == c().btnCSVfile;
        const std::string before = workspace().log.logText();
        expectRefusals({button}, std::string("Station: 999 does not exist.\r\nUnable to ") +
                                     (csv ? "generate the csv file." : "plot the graph."));
        EXPECT_EQ(workspace().log.logText(),
                  before + (csv ? "Station = 999 doesn't exist.\r\n" : "Ghost :999doesn't exist."));
    }
}

using GraphButtons = ViewButtons;

// The series themselves are the graphs' tests: here the station or road, the interval and the
// range (three intervals, of three stations on the road) each window draws. Exit writes the log
// and closes them all.
TEST_F(GraphButtons, EachOpensItsWindowOnTheSelectedStationRoadAndRangeUntilExit) {
    buildAt(kFiveMin);
    click(c().btnShowlLog);
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
    for (std::size_t i = 0; i < graphs.size(); ++i) {
        const GraphWindow* graph = clickForWindow(graphs[i]);
        ASSERT_NE(graph, nullptr) << i;
        EXPECT_EQ(graph->objectName(), kinds[i].first);
        EXPECT_EQ(graph->windowTitle(), QString(kinds[i].second) + ": 5 min Data");
        EXPECT_EQ(graph->chart().dialogs(), &dialogs);  // "Save image..." asks through them
        EXPECT_EQ(graph->chart().titleLines(), QStringList{i < 2 ? "Station: 104" : "Road: South"});
        EXPECT_EQ(i < 2 ? graph->chart().points(0).size() : graph->chart().gridPoints(0).size(),
                  i < 2 ? 3u : 9u);
    }
    EXPECT_TRUE(dialogs.messages.empty());
    click(c().btnExit);
    EXPECT_FALSE(window->isVisible() || window->findChild<LogWindow*>("frmLog")->isVisible());
    flushDeletes();
    EXPECT_TRUE(graphWindows().empty());
    EXPECT_EQ(readFile(dir / "Log.txt"), workspace().log.logText() + "\r\n");
}

// The message comes before the window, while the button is still held; the colour grid moves
// the end time to the end of what it shows, the contour keeps it.
TEST_F(GraphButtons, WholeDayAtThirtySecondsIsCutColourGridMovingTheEndTime) {
    buildAt(kThirtySec);
    choose(c().cmbRoadList, kSouth);
    const std::string tooLarge =
        "Your selected time range is too large. Please use 1 min or higer intervals to display 24 "
        "hours.\r\n";
    const std::tuple<QPushButton*, std::string, const char*> cases[] = {
        {c().btnColorGrid,
         tooLarge +
             "The graph will automatically adjust to a displayable range. Click OK to continue.",
         "08:20:00"},
        {c().btnContour,
         tooLarge +
             "The graph will display only a part of the selected time range. Click OK to continue.",
         "23:59:30"}};
    for (const auto& [button, message, endAfter] : cases) {
        range(0, 2879);
        dialogs.clear();
        dialogs.onMessage = [&, button = button](const Message&) {
            EXPECT_FALSE(button->isEnabled());
            EXPECT_TRUE(std::ranges::none_of(graphWindows(), &QWidget::isVisible));
        };
        const GraphWindow* graph = clickForWindow(button);
        ASSERT_NE(graph, nullptr);
        EXPECT_EQ(dialogs.onlyMessage(), (Message{MessageIcon::Information, message}));
        EXPECT_EQ(graph->chart().gridPoints(0).size(), 3u * 1001);  // cut to 1001 intervals
        EXPECT_EQ(c().cmbEndTime->currentText(), endAfter);
        closeGraphWindows();
    }
}

}  // namespace
}  // namespace quorvane::test
