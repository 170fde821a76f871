// quorvane-shots DIR: pictures of every window for a person to look at, without a display.
// Writes a sample day into DIR, builds it through the main window's button and saves the main
// window (at start, each tab, a large font), the log and progress windows, the graph windows,
// the road measures window and the Qt message box and file dialog as DIR/<name>.png.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "base/error.h"
#include "charts/graph_window.h"
#include "charts/offscreen_platform.h"
#include "sampleday/sample_day.h"
#include "ui/commands.h"
#include "ui/file_requests.h"
#include "ui/log_window.h"
#include "ui/main_controls.h"
#include "ui/main_window.h"
#include "ui/progress_window.h"
#include "ui/qt_dialogs.h"

namespace quorvane {
namespace {

// Answers every file choice with the sample archive and prints the messages.
class SampleDialogs : public Dialogs {
  public:
    explicit SampleDialogs(std::string archive) : archive_(std::move(archive)) {}
    void message(MessageIcon, std::string_view text) override {
        std::cout << "message: " << text << '\n';
    }
    // A folder asked for is the month of sample days beside the archive.
    std::string chooseFile(const FileDialogRequest& request) override {
        return request.folder ? (std::filesystem::path(archive_).parent_path() / "days").string()
                              : archive_;
    }

  private:
    std::string archive_;
};

std::filesystem::path folder;

void shoot(QWidget* widget, const QString& name) {
    QApplication::processEvents();
    const QString path = QString::fromStdString((folder / name.toStdString()).string()) + ".png";
    if (!widget->grab().save(path)) {
        std::cerr << "cannot write " << path.toStdString() << '\n';
    }
}

// Shoots the modal dialog the next call opens, then closes it.
void shootNextModal(const QString& name) {
    QTimer::singleShot(100, [name] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            shoot(modal, name);
            modal->close();
        }
    });
}

void shootWindows(MainWindow& window, QtDialogs& qtDialogs) {
    MainControls& c = window.controls();
    shoot(&window, "start");
    c.btnBuildStationData->click();
    for (int tab = 0; tab < c.SSTab1->count(); ++tab) {
        c.SSTab1->setCurrentIndex(tab);
        for (int row : {1, 2, 4}) {
            c.lstSta->item(row)->setSelected(true);
        }
        shoot(&window, QStringLiteral("tab%1").arg(tab));
    }
    c.cmbPlotInterval->setCurrentIndex(5);  // "5 min": the whole day fits every graph
    c.btnReCompute->click();
    for (QPushButton* button :
         {c.btnLinePlot, c.btnScatterPlot, c.btnColorGrid, c.btnOccColorGrid, c.btnVolContour,
          c.btnContour, c.btnSpeedColorGrid, c.btnSpeedContour}) {
        button->click();
    }
    for (GraphWindow* graph : graphWindows()) {
        shoot(graph, graph->windowTitle()
                         .section(QLatin1Char(':'), 0, 0)
                         .replace(QRegularExpression("[ /]"), "-"));
    }
    closeGraphWindows();
    c.btnRoadMeasures->click();
    if (QWidget* measures = window.findChild<QWidget*>("frmRoadMeasures")) {
        shoot(measures, "road-measures");
        measures->close();
    }
    c.btnFindBottlenecks->click();
    if (QWidget* bottlenecks = window.findChild<QWidget*>("frmBottlenecks")) {
        shoot(bottlenecks, "bottlenecks");
        bottlenecks->close();
    }
    // Five days of the same roads, the tab with them, their typical speed and the day in force
    // against it.
    c.btnDays->click();
    c.SSTab1->setCurrentIndex(kManyDaysTab);
    shoot(&window, "many-days");
    for (QPushButton* button : {c.btnTypicalGrid, c.btnDifferenceGrid}) {
        button->click();
    }
    for (GraphWindow* graph : graphWindows()) {
        shoot(graph, graph->objectName());
    }
    closeGraphWindows();
    for (QPushButton* button : {c.btnReliability, c.btnRanking}) {
        button->click();
    }
    for (const char* name : {"frmReliability", "frmRanking"}) {
        if (QWidget* shown = window.findChild<QWidget*>(name)) {
            shoot(shown, name);
            shown->close();
        }
    }
    c.btnShowlLog->click();
    shoot(window.findChild<LogWindow*>("frmLog"), "log");
    c.btnDetectorHealth->click();
    shoot(window.findChild<QWidget*>("frmHealth"), "health");
    auto* progress = window.findChild<ProgressWindow*>("frmProgress");
    progress->Label1->setText("Unzip and computation of staton data");
    progress->Label2->setText("17 of 60 Stations");
    progress->ProgressBar1->setValue(17);
    progress->show();
    shoot(progress, "progress");
    progress->hide();
    shootNextModal("message");
    qtDialogs.message(MessageIcon::Critical,
                      buildErrorMessage("Error No: 53, File not found: /days/VURSta2Det.list."));
    shootNextModal("file-dialog");
    try {
        qtDialogs.chooseFile(stationSaveRequest((folder / "sample.station").string()));
    } catch (const Error&) {
    }
}

}  // namespace
}  // namespace quorvane

int main(int argc, char** argv) {
    using namespace quorvane;
    if (argc != 2) {
        std::cerr << "usage: quorvane-shots DIR\n";
        return 2;
    }
    folder = std::filesystem::absolute(argv[1]);
    prepareOffscreenPlatform();
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    try {
        const sampleday::SampleSummary day = sampleday::writeSampleDay(folder, {});
        for (int d = 1; d <= 5; ++d) {
            sampleday::writeSampleDay(folder / "days", {.day = d});
        }
        SampleDialogs dialogs(day.archive.string());
        QtDialogs qtDialogs;
        {
            MainWindow window(dialogs, Environment{folder, folder});
            window.show();
            shootWindows(window, qtDialogs);
            window.close();
        }
        // A large font: the layouts must grow with it.
        QFont large = QApplication::font();
        large.setPointSizeF(large.pointSizeF() * 1.6);
        QApplication::setFont(large);
        MainWindow big(dialogs, Environment{folder, folder});
        big.show();
        shoot(&big, "large-font");
        big.close();
    } catch (const Error& error) {
        std::cerr << error.description() << '\n';
        return 1;
    }
    std::cout << "pictures written to " << folder.string() << '\n';
    return 0;
}
