// Recomputation, the volume sum and the road lists of a built day.
#include <QScrollBar>

#include "window_fixture.h"

namespace quorvane::test {
namespace {

using Recompute = WindowTest;

// The time lists follow the interval ("7 min" typed means "30 sec"); the day, the station and
// the road stay chosen.
TEST_F(Recompute, RefillsTheTimeListsAndKeepsTheDayAndItsLists) {
    build();
    const auto day = workspace().day;
    choose(c().cmbStaList, 7);
    choose(c().cmbRoadList, 1);
    const std::tuple<int, int, std::string, std::string> cases[] = {
        {9, 24, "01:00:00", "23:00:00"},
        {5, 288, "00:05:00", "23:55:00"},
        {-1, 2880, "00:00:30", "23:59:30"}};  // -1: "7 min" typed
    for (const auto& [index, entries, second, last] : cases) {
        SCOPED_TRACE(index);
        index < 0 ? type(c().cmbPlotInterval, "7 min") : choose(c().cmbPlotInterval, index);
        click(c().btnReCompute);
        EXPECT_TRUE(c().btnReCompute->isEnabled());
        EXPECT_EQ(std::pair(c().cmbStartTime->count(), c().cmbEndTime->count()),
                  std::pair(entries, entries));
        EXPECT_EQ(std::tuple(c().cmbStartTime->currentText().toStdString(),
                             c().cmbEndTime->itemText(1).toStdString(),
                             c().cmbEndTime->currentText().toStdString()),
                  std::tuple("00:00:00", second, last));
        EXPECT_EQ(workspace().day, day);
        EXPECT_EQ(std::pair(c().cmbStaList->currentIndex(), c().cmbRoadList->currentText()),
                  std::pair(7, QString("South")));
    }
    EXPECT_EQ(dialogs.onlyMessage().text, kBuildDoneMessage);
}

using VolumeSum = WindowTest;

TEST_F(VolumeSum, OfTwoHoursOfOneStationUntilTheNextClick) {
    buildAt(9);                 // "1 hour"
    choose(c().cmbStaList, 3);  // station 104
    choose(c().cmbStartTime, 7);
    choose(c().cmbEndTime, 8);
    click(c().btnVolSum);
    // 07:00 to 09:00, 240 slots of 4 vehicles and of slot % 4 (6 in every 4 slots).
    EXPECT_EQ(c().txtVolSum->text(), "1320");
    EXPECT_TRUE(dialogs.messages.empty());
    // A recomputation does not refresh the box.
    choose(c().cmbPlotInterval, 0);
    click(c().btnReCompute);
    EXPECT_EQ(c().txtVolSum->text(), "1320");
}

using RoadLists = WindowTest;

// Choosing a road replaces both lists; rows, scrolling and the current row stay together,
// and moving in the numbers' list keeps the stations chosen for export.
TEST_F(RoadLists, ChoosingARoadReplacesBothListsWhoseRowsStayTogether) {
    build();
    c().SSTab1->setCurrentIndex(kRoadTab);
    QListWidget* n = c().lstN;
    QListWidget* sta = c().lstSta;
    ASSERT_GT(sta->verticalScrollBar()->maximum(), 5) << "the list must scroll for this test";
    clickRow(sta, 14);
    EXPECT_EQ(n->currentRow(), 14);
    EXPECT_EQ(n->verticalScrollBar()->value(), sta->verticalScrollBar()->value());
    sta->verticalScrollBar()->setValue(12);
    EXPECT_EQ(n->verticalScrollBar()->value(), 12);
    QTest::keyClick(n, Qt::Key_End);
    EXPECT_EQ(sta->currentRow(), 29);
    EXPECT_EQ(n->verticalScrollBar()->value(), sta->verticalScrollBar()->value());
    EXPECT_EQ(sta->selectedItems(), QList<QListWidgetItem*>{sta->item(14)});

    choose(c().cmbRoadList, 1);
    EXPECT_EQ(std::tuple(n->count(), n->item(2)->text(), sta->item(0)->text()),
              std::tuple(3, QString("3"), QString("140")));
    type(c().cmbRoadList, "No road");
    EXPECT_EQ(sta->count(), 3);  // typed text is no choice
}

}  // namespace
}  // namespace quorvane::test
