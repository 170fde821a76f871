// Show Log, and ShutDown during a build or without a writable Log.txt.
#include <QPlainTextEdit>

#include "ui/log_window.h"
#include "window_fixture.h"

namespace quorvane::test {
namespace {

using ShowLog = WindowTest;

TEST_F(ShowLog, ShowsACopyOfTheLogAtEachClick) {
    click(c().btnShowlLog);
    auto* log = window->findChild<LogWindow*>("frmLog");
    ASSERT_NE(log, nullptr);
    EXPECT_TRUE(log->isVisible() && log->Text1->isReadOnly());
    log->resize(900, 200);
    QTest::qWait(0);
    EXPECT_EQ(log->Text1->geometry(), log->rect());  // the text fills the window
    build();
    EXPECT_TRUE(log->Text1->toPlainText().isEmpty());  // a copy, not a live view
    click(c().btnShowlLog);
    EXPECT_EQ(window->findChildren<LogWindow*>().size(), 1);
    EXPECT_TRUE(log->Text1->toPlainText().contains("Sta count=40\nRoad count=3\n"));
}

// Exit with the log and graph windows open: GraphButtons.ExitWritesTheLogAndClosesEveryWindow.
using ShutDown = WindowTest;

TEST_F(ShutDown, ExitDuringABuildEndsTheBuildSilently) {
    const auto progressShown = [&] {
        auto* progress = window->findChild<QWidget*>("frmProgress");
        return progress != nullptr && progress->isVisible();
    };
    dialogs.answer(archive.string());
    ASSERT_TRUE(meanwhile(
        progressShown, [&] { c().btnExit->click(); }, [&] { click(c().btnBuildStationData); }));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(window->isVisible() || window->findChild<QWidget*>("frmProgress")->isVisible());
    EXPECT_EQ(workspace().day, nullptr);
    EXPECT_TRUE(std::filesystem::exists(dir / "Log.txt"));
}

TEST(ShutDownUnwritableLog, StillClosesAndSaysWhyOnStandardError) {
    TempDir dir;
    ScriptedDialogs dialogs;
    MainWindow window(dialogs, Environment{dir.path(), dir / "gone"});
    window.show();
    QWidget other;
    other.show();
    testing::internal::CaptureStderr();
    window.close();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(window.isVisible() || other.isVisible());
    EXPECT_NE(err.find("Error No: "), std::string::npos) << err;
    EXPECT_NE(err.find("Log.txt"), std::string::npos) << err;
}

}  // namespace
}  // namespace quorvane::test
