// Pictures of the main window, its secondary windows and dialogs for a person to look at; not
// run by default. Run with
//   QUORVANE_PNG_DIR=/tmp/png ui_window_test --gtest_also_run_disabled_tests
//       --gtest_filter='*RenderForReview*'
// The graph windows are drawn the same way by `quorvane-cli plot`.
#include <QApplication>
#include <QDialog>
#include <QProgressBar>

#include "base/error.h"
#include "ui/file_requests.h"
#include "ui/log_window.h"
#include "ui/progress_window.h"
#include "ui/qt_dialogs.h"
#include "window_fixture.h"

namespace quorvane::test {
namespace {

void shoot(QWidget* widget, const QString& name) {
    QTest::qWait(20);
    const QString folder = qEnvironmentVariable("QUORVANE_PNG_DIR", QStringLiteral("."));
    EXPECT_TRUE(widget->grab().save(folder + "/" + name + ".png"));
}

using Review = WindowTest;

TEST_F(Review, DISABLED_RenderForReview) {
    shoot(window.get(), "start");
    build();
    for (int tab : {0, 1, 2}) {
        c().SSTab1->setCurrentIndex(tab);
        c().lstSta->item(2)->setSelected(tab == 2);
        shoot(window.get(), QStringLiteral("built-tab%1").arg(tab));
    }
    click(c().btnShowlLog);
    shoot(window->findChild<LogWindow*>("frmLog"), "log");
    auto* progress = window->findChild<ProgressWindow*>("frmProgress");
    progress->Label1->setText("Unzip and computation of staton data");
    progress->Label2->setText("17 of 40 Stations");
    progress->ProgressBar1->setValue(17);
    progress->show();
    shoot(progress, "progress");

    // A large font: the layouts must grow with it.
    const QFont standard = QApplication::font();
    QFont large = standard;
    large.setPointSizeF(standard.pointSizeF() * 1.6);
    QApplication::setFont(large);
    MainWindow big(dialogs, Environment{dir.path(), dir.path()});
    big.show();
    shoot(&big, "large-font");
    big.close();
    QApplication::setFont(standard);

    // The Qt dialogs as the commands show them.
    QtDialogs qtDialogs(window.get());
    const auto shootModal = [](const QString& name) {
        QTimer::singleShot(100, [name] {
            QWidget* modal = QApplication::activeModalWidget();
            shoot(modal, name);
            modal->close();
        });
    };
    shootModal("message");
    qtDialogs.message(MessageIcon::Critical,
                      buildErrorMessage("Error No: 53, File not found: /days/VURSta2Det.list."));
    shootModal("file-dialog");
    EXPECT_THROW(qtDialogs.chooseFile(stationSaveRequest(archive.string())), Error);
}

}  // namespace
}  // namespace quorvane::test
