// Pictures of the windows for a person to look at; not run by default. Run with
//   QUORVANE_PNG_DIR=/tmp/png ui_window_test --gtest_also_run_disabled_tests
//       --gtest_filter='*RenderForReview*'
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "core/error.h"
#include "ui/commands.h"
#include "ui/file_requests.h"
#include "ui/log_window.h"
#include "ui/progress_window.h"
#include "ui/qt_dialogs.h"
#include "window_fixture.h"

namespace quorvane::test {
namespace {

using Review = WindowTest;

TEST_F(Review, DISABLED_RenderForReview) {
    const QString out = qEnvironmentVariable("QUORVANE_PNG_DIR", QStringLiteral("."));
    auto shoot = [&](QWidget* widget, const char* name) {
        QTest::qWait(20);
        EXPECT_TRUE(widget->grab().save(out + "/" + name + ".png"));
    };
    shoot(window.get(), "start");
    for (int tab : {1, 2}) {
        c().SSTab1->setCurrentIndex(tab);  // greyed tabs cannot be chosen
    }
    build();
    shoot(window.get(), "built-tab0");
    c().SSTab1->setCurrentIndex(1);
    shoot(window.get(), "built-tab1");
    c().SSTab1->setCurrentIndex(2);
    c().lstSta->item(2)->setSelected(true);
    c().lstSta->item(3)->setSelected(true);
    shoot(window.get(), "built-tab2");
    window->resize(1100, 700);
    shoot(window.get(), "built-tab2-large");
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
    shoot(&big, "large-font-tab0");
    big.controls().SSTab1->setTabEnabled(1, true);
    big.controls().SSTab1->setCurrentIndex(1);
    shoot(&big, "large-font-tab1");
    big.close();
    QApplication::setFont(standard);

    // The Qt dialogs as the commands show them.
    QtDialogs qtDialogs(window.get());
    QTimer::singleShot(100, [&] {
        QWidget* box = QApplication::activeModalWidget();
        shoot(box, "message");
        box->close();
    });
    qtDialogs.message(MessageIcon::Critical,
                      buildErrorMessage("Error No: 53, File not found: /days/VURSta2Det.list."));
    QTimer::singleShot(100, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        shoot(dialog, "file-dialog");
        dialog->reject();
    });
    EXPECT_THROW(qtDialogs.chooseFile(stationSaveRequest(archive.string())), Error);
}

}  // namespace
}  // namespace quorvane::test
