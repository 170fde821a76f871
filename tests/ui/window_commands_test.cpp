// ShutDown during a build or without a writable Log.txt; Exit with graph windows open is the
// graph buttons' test.
#include "window_fixture.h"

namespace quorvane::test {
namespace {

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
    EXPECT_TRUE(err.find("Error No: ") != err.npos && err.find("Log.txt") != err.npos) << err;
}

}  // namespace
}  // namespace quorvane::test
