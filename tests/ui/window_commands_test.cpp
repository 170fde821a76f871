// ShutDown during a build or without a writable Log.txt; Exit with graph windows open is the
// graph buttons' test.
#include <QAbstractButton>
#include <QLabel>
#include <QSet>

#include "window_fixture.h"

namespace quorvane::test {
namespace {

QChar mnemonicOf(const QString& caption) {
    const int at = caption.indexOf(QLatin1Char('&'));
    return at >= 0 && at + 1 < caption.size() ? caption[at + 1].toUpper() : QChar();
}

// Keyboard users reach every command of the visible tab by its own Alt key, none taken by a tab
// title; assistive tools find each control by its name.
TEST_F(WindowTest, EveryControlIsNamedAndHasItsOwnMnemonicOnItsTab) {
    QSet<QChar> titles;
    const int tabs = c().SSTab1->count();
    for (int tab = 0; tab < tabs; ++tab) {
        titles.insert(mnemonicOf(c().SSTab1->tabText(tab)));
    }
    ASSERT_EQ(titles.size(), tabs);
    for (int tab = 0; tab < tabs; ++tab) {
        QSet<QChar> used = titles;
        for (QWidget* widget : c().SSTab1->widget(tab)->findChildren<QWidget*>()) {
            const std::string name = widget->objectName().toStdString();
            if (!name.empty() && !name.starts_with("qt_")) {
                EXPECT_EQ(widget->accessibleDescription(), widget->objectName());
            }
            auto* button = qobject_cast<QAbstractButton*>(widget);
            auto* label = qobject_cast<QLabel*>(widget);
            const QString caption = button != nullptr                               ? button->text()
                                    : label != nullptr && label->buddy() != nullptr ? label->text()
                                                                                    : QString();
            if (!caption.isEmpty()) {
                const QChar key = mnemonicOf(caption);
                ASSERT_FALSE(key.isNull()) << name;
                EXPECT_FALSE(used.contains(key)) << name << " " << caption.toStdString();
                used.insert(key);
            }
        }
    }
}

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
