// What assistive tools are told of the main window: the data tabs' availability, the log text.
#include <QAccessible>
#include <QPlainTextEdit>

#include "ui/log_window.h"
#include "ui/tab_accessibility.h"
#include "window_fixture.h"

namespace quorvane::test {
namespace {

class Accessibility : public WindowTest {
  protected:
    void SetUp() override {
        installTabAccessibility();
        WindowTest::SetUp();
    }
    QAccessibleInterface* tab(int index) {
        QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(c().SSTab1->tabBar());
        EXPECT_EQ(bar->role(), QAccessible::PageTabList);
        QAccessibleInterface* tab = bar->child(index);
        EXPECT_EQ(tab->role(), QAccessible::PageTab);
        EXPECT_EQ(bar->indexOfChild(tab), index);
        EXPECT_EQ(tab->parent(), bar);
        return tab;
    }
};

TEST_F(Accessibility, DataTabsAreUnavailableUntilTheFirstBuild) {
    EXPECT_EQ(tab(kStationTab)->text(QAccessible::Name), "View Station Data");
    for (const int index : {kStationTab, kRoadTab}) {
        EXPECT_TRUE(tab(index)->state().disabled) << index;
        EXPECT_TRUE(tab(index)->actionInterface()->actionNames().isEmpty());
    }
    EXPECT_FALSE(tab(kBuildTab)->state().disabled);
    EXPECT_TRUE(tab(kBuildTab)->state().selected);

    build();
    for (const int index : {kStationTab, kRoadTab, kBuildTab}) {
        EXPECT_FALSE(tab(index)->state().disabled) << index;
    }
    // Pressing a tab through the tool chooses it, as a click does.
    tab(kRoadTab)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(c().SSTab1->currentIndex(), kRoadTab);
    EXPECT_TRUE(tab(kRoadTab)->state().selected);
}

TEST_F(Accessibility, LogWindowTextIsReadable) {
    build();
    click(c().btnShowlLog);
    auto* log = window->findChild<LogWindow*>("frmLog");
    ASSERT_NE(log, nullptr);
    QAccessibleInterface* text = QAccessible::queryAccessibleInterface(log->Text1);
    ASSERT_NE(text->textInterface(), nullptr);
    EXPECT_EQ(text->text(QAccessible::Description), "Text1");
    const QString read = text->textInterface()->text(0, text->textInterface()->characterCount());
    EXPECT_TRUE(read.startsWith("Sta count=40\nRoad count=3\n")) << read.toStdString();
}

}  // namespace
}  // namespace quorvane::test
