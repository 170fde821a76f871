// Recomputation, the volume sum and the road lists of a built day.
#include <QScrollBar>

#include "window_fixture.h"

namespace quorvane::test {
namespace {

using Recompute = WindowTest;

TEST_F(Recompute, RefillsTheTimeListsAndKeepsTheDayAndItsLists) {
    build();
    const auto day = workspace().day;
    choose(c().cmbStaList, 7);
    choose(c().cmbRoadList, 1);
    const struct {
        int index;  // -1: "7 min" typed, which means "30 sec"
        int entries;
        const char* second;
        const char* last;
    } cases[] = {{9, 24, "01:00:00", "23:00:00"},
                 {0, 2880, "00:00:30", "23:59:30"},
                 {5, 288, "00:05:00", "23:55:00"},
                 {-1, 2880, "00:00:30", "23:59:30"}};
    for (const auto& at : cases) {
        SCOPED_TRACE(at.index);
        if (at.index < 0) {
            type(c().cmbPlotInterval, "7 min");
        } else {
            choose(c().cmbPlotInterval, at.index);
        }
        click(c().btnReCompute);
        EXPECT_TRUE(c().btnReCompute->isEnabled());
        EXPECT_EQ(workspace().intervals->intervalIndex, std::max(at.index, 0));
        for (QComboBox* list : {c().cmbStartTime, c().cmbEndTime}) {
            ASSERT_EQ(list->count(), at.entries);
            EXPECT_EQ(list->itemText(1), at.second);
        }
        EXPECT_EQ(c().cmbStartTime->currentText(), "00:00:00");
        EXPECT_EQ(c().cmbEndTime->currentIndex(), at.entries - 1);
        EXPECT_EQ(c().cmbEndTime->currentText(), at.last);
        EXPECT_EQ(workspace().day, day);
        EXPECT_EQ(c().cmbStaList->currentIndex(), 7);
        EXPECT_EQ(c().cmbRoadList->currentText(), "South");
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
    EXPECT_TRUE(c().btnVolSum->isEnabled());
    // A recomputation does not refresh the box.
    choose(c().cmbPlotInterval, 0);
    click(c().btnReCompute);
    EXPECT_EQ(c().txtVolSum->text(), "1320");
}

using RoadLists = WindowTest;

TEST_F(RoadLists, ChoosingARoadReplacesBothLists) {
    build();
    choose(c().cmbRoadList, 1);
    ASSERT_EQ(c().lstN->count(), 3);
    EXPECT_EQ(c().lstN->item(2)->text(), "3");
    EXPECT_EQ(c().lstSta->item(0)->text(), "140");
    EXPECT_EQ(c().lstSta->item(2)->text(), "138");
    type(c().cmbRoadList, "No road");
    EXPECT_EQ(c().lstSta->count(), 3);  // typed text is no choice
}

TEST_F(RoadLists, RowsOfBothListsStayTogether) {
    build();
    c().SSTab1->setCurrentIndex(kRoadTab);
    QListWidget* n = c().lstN;
    QListWidget* sta = c().lstSta;
    const auto expectScrolledTogether = [&] {
        EXPECT_EQ(n->verticalScrollBar()->value(), sta->verticalScrollBar()->value());
    };
    ASSERT_GT(sta->verticalScrollBar()->maximum(), 5) << "the list must scroll for this test";

    clickRow(n, 5);
    EXPECT_EQ(sta->currentRow(), 5);
    EXPECT_TRUE(sta->selectedItems().isEmpty());  // the stations chosen for export stay
    expectScrolledTogether();

    sta->verticalScrollBar()->setValue(12);
    EXPECT_EQ(n->verticalScrollBar()->value(), 12);

    clickRow(sta, 14);
    EXPECT_TRUE(sta->item(14)->isSelected());
    EXPECT_EQ(n->currentRow(), 14);
    expectScrolledTogether();

    QTest::keyClick(n, Qt::Key_End);
    EXPECT_EQ(sta->currentRow(), 29);
    expectScrolledTogether();
    EXPECT_EQ(sta->selectedItems().size(), 1);
}

}  // namespace
}  // namespace quorvane::test
