#include "ui/main_window.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

#include "ui/bottlenecks_window.h"
#include "ui/commands.h"
#include "ui/health_window.h"
#include "ui/list_coupling.h"
#include "ui/many_days_commands.h"
#include "ui/open_file.h"
#include "ui/road_measures_window.h"
#include "ui/speed_controls.h"
#include "ui/table_command.h"
#include "ui/window_lists.h"

namespace quorvane {

Environment programEnvironment() {
    return {.listDirectory = QCoreApplication::applicationDirPath().toStdString(),
            .outputDirectory = {}};
}

MainWindow::MainWindow(Dialogs& dialogs, Environment environment, QWidget* parent)
    : QWidget(parent),
      environment_(std::move(environment)),
      controls_(buildMainControls(this)),
      windows_(this),
      context_{workspace_, dialogs, controls_, windows_, environment_} {
    setObjectName(QStringLiteral("frmMain"));
    setAccessibleDescription(QStringLiteral("frmMain"));
    setWindowTitle(
        QString::fromLatin1(kApplicationTitle.data(), static_cast<int>(kApplicationTitle.size())));
    coupling_ = new ListCoupling(controls_.lstN, controls_.lstSta, this);
    setAcceptDrops(true);
    connectCommands();
    startUp();
    showSpeedEstimate(controls_, nullptr);
    resize(sizeHint().expandedTo(QSize(640, 420)));
}

MainWindow::~MainWindow() = default;

void MainWindow::startUp() {
    MainControls& c = controls_;
    c.txtZipName->clear();
    c.optAvg->setChecked(true);
    for (QComboBox* list : {c.cmbStartTime, c.cmbEndTime, c.cmbStaList, c.cmbRoadList}) {
        clearToSelectOne(*list);
    }
    fillIntervalList(*c.cmbPlotInterval);
    c.SSTab1->setTabEnabled(kStationTab, false);
    c.SSTab1->setTabEnabled(kRoadTab, false);
    c.SSTab1->setTabEnabled(kBuildTab, true);
    c.SSTab1->setCurrentIndex(kBuildTab);
    c.Check1->setChecked(false);
}

void MainWindow::connectCommands() {
    MainControls& c = controls_;
    auto on = [this](QAbstractButton* button, void (*command)(CommandContext&)) {
        connect(button, &QAbstractButton::clicked, this, [this, command] { command(context_); });
    };
    on(c.btnBuildStationData, &buildStationData);
    on(c.btnShowlLog, &showLog);
    on(c.btnDetectorHealth, &showDetectorHealth);
    on(c.btnSave, &saveStationData);
    on(c.btnLoad, &loadStationData);
    connect(c.btnExit, &QAbstractButton::clicked, this, &QWidget::close);
    on(c.btnReCompute, &recomputeData);
    on(c.btnVolSum, &showVolumeSum);
    on(c.btnCSVfile, &createCsvFile);
    on(c.btnExportTable, &createTableFile);
    on(c.btnRoadMeasures, &showRoadMeasures);
    on(c.btnFindBottlenecks, &showBottlenecks);
    on(c.btnDays, &chooseDays);
    on(c.btnTypicalGrid, &showTypicalGrid);
    on(c.btnDifferenceGrid, &showDifferenceGrid);
    on(c.btnReliability, &showReliability);
    on(c.btnRanking, &showRanking);
    on(c.btnExportTypical, &exportTypical);
    connect(c.cmbSpeedUnit, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] {
        changeSpeedUnit(controls_);
        showSpeedEstimate(controls_, workspace_.day.get());
    });
    connect(c.cmbGFactor, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this] { showSpeedEstimate(controls_, workspace_.day.get()); });
    for (QDoubleSpinBox* box : {c.spnFreeFlowSpeed, c.spnVehicleLength}) {
        connect(box, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
                [this] { showSpeedEstimate(controls_, workspace_.day.get()); });
    }
    connect(c.cmbRoadList, qOverload<int>(&QComboBox::activated), this,
            [this] { chooseRoad(context_); });

    connectGraphButton(c.btnLinePlot, GraphKind::Line);
    connectGraphButton(c.btnScatterPlot, GraphKind::Scatter);
    connectGraphButton(c.btnColorGrid, GraphKind::VolColorGrid);
    connectGraphButton(c.btnOccColorGrid, GraphKind::OccColorGrid);
    connectGraphButton(c.btnVolContour, GraphKind::VolContour);
    connectGraphButton(c.btnContour, GraphKind::OccContour);
    connectGraphButton(c.btnSpeedColorGrid, GraphKind::SpeedColorGrid);
    connectGraphButton(c.btnSpeedContour, GraphKind::SpeedContour);
}

void MainWindow::connectGraphButton(QWidget* button, GraphKind kind) {
    connect(static_cast<QAbstractButton*>(button), &QAbstractButton::clicked, this,
            [this, button, kind] { openGraphWindow(context_, kind, button); });
}

void MainWindow::openFile(const QString& path) {
    openDataFile(context_, path.toStdString());
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedDataFile(*event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString file = droppedDataFile(*event->mimeData());
    if (file.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    // The drag source waits for the drop to end; the build or load runs after it, on its own.
    QTimer::singleShot(0, this, [this, file] { openFile(file); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Exit and the window's own close both end here, so the sequence runs once.
    if (!shutDown_) {
        shutDown_ = true;
        shutDown(context_);
    }
    event->accept();
}

}  // namespace quorvane
