// Pictures of the windows for a person to look at; not run by default. Run with
//   QUORVANE_PNG_DIR=/tmp/png ui_window_test --gtest_also_run_disabled_tests
//       --gtest_filter='*RenderForReview*'
// and, for the graph windows of a sample day written by `quorvane-cli sample DIR`, with
//   QUORVANE_SAMPLE_DIR=DIR and --gtest_filter='*GraphsForReview*'
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
#include "roadgraphs/graph_window.h"
#include "ui/commands.h"
#include "ui/file_requests.h"
#include "ui/graph_wiring.h"
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

TEST_F(Review, DISABLED_GraphsForReview) {
    const std::filesystem::path sample = qEnvironmentVariable("QUORVANE_SAMPLE_DIR").toStdString();
    const QString out = qEnvironmentVariable("QUORVANE_PNG_DIR", QStringLiteral("."));
    ASSERT_TRUE(std::filesystem::exists(sample / "sample.traffic")) << sample;
    for (const char* list : {"VURSta2Det.list", "VURRoad2Sta.list"}) {
        std::filesystem::copy_file(sample / list, dir / list,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    window->setGraphCommand(graphWindowCommand());
    build(sample / "sample.traffic");
    // Each graph as its button opens it, drawn at a size a report would use.
    auto shoot = [&](QPushButton* button, const QString& name) {
        click(button);
        const std::vector<GraphWindow*> graphs = graphWindows();
        ASSERT_EQ(graphs.size(), 1u) << name.toStdString();
        renderGraphWindow(*graphs.front(), (out + "/" + name + ".png").toStdString(),
                          QSize(900, 560));
        graphs.front()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    choose(c().cmbPlotInterval, 5);  // "5 min"
    click(c().btnReCompute);
    choose(c().cmbStaList, 7);
    shoot(c().btnLinePlot, "line-5min");
    shoot(c().btnScatterPlot, "scatter-5min");
    for (int road = 0; road < c().cmbRoadList->count(); ++road) {
        choose(c().cmbRoadList, road);
        const QString suffix = QStringLiteral("-road%1-5min").arg(road);
        shoot(c().btnColorGrid, "volgrid" + suffix);
        shoot(c().btnOccColorGrid, "occgrid" + suffix);
        shoot(c().btnVolContour, "volcontour" + suffix);
        shoot(c().btnContour, "occcontour" + suffix);
    }
    // "30 sec", whole day: both road kinds cut to 08:20.
    choose(c().cmbPlotInterval, 0);
    click(c().btnReCompute);
    choose(c().cmbRoadList, 0);
    shoot(c().btnColorGrid, "volgrid-road0-30sec-cut");
    choose(c().cmbEndTime, 2879);
    shoot(c().btnContour, "occcontour-road0-30sec-cut");
    choose(c().cmbStartTime, 600);
    choose(c().cmbEndTime, 700);
    shoot(c().btnLinePlot, "line-30sec-range");
    dialogs.clear();
}

}  // namespace
}  // namespace quorvane::test
