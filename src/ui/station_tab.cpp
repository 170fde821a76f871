// The "View Station Data" tab.
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/control_factory.h"
#include "ui/main_controls.h"

namespace quorvane {

namespace {

// The station and time lists, the station views and the interval change.
void makeStationControls(MainControls& c) {
    c.lblDateCaption = named<QLabel>("lblDateCaption", QStringLiteral("Date:"));
    c.lblDate = named<QLabel>("lblDate");
    c.lblDate->setTextInteractionFlags(Qt::TextSelectableByMouse);
    c.cmbStaList = editableList("cmbStaList");
    c.Label5 = captionFor("Label5", QStringLiteral("Select S&tation :"), c.cmbStaList);
    c.cmbStartTime = editableList("cmbStartTime");
    c.Label6 = captionFor("Label6", QStringLiteral("Select Plot &Start Time:"), c.cmbStartTime);
    c.cmbEndTime = editableList("cmbEndTime");
    c.Label7 = captionFor("Label7", QStringLiteral("Select Plot &End Time:"), c.cmbEndTime);

    c.btnLinePlot = named<QPushButton>("btnLinePlot", QStringLiteral("Vol/Occ &Line Plot"));
    c.btnScatterPlot =
        named<QPushButton>("btnScatterPlot", QStringLiteral("Vol/Occ S&catter Plot"));
    c.btnVolSum = named<QPushButton>("btnVolSum", QStringLiteral("Vol S&um"));
    c.txtVolSum = named<QLineEdit>("txtVolSum");
    c.txtVolSum->setReadOnly(true);
    c.txtVolSum->setAlignment(Qt::AlignRight);

    c.Frame2 = named<QGroupBox>("Frame2", QStringLiteral("Time interval change"));
    c.cmbPlotInterval = editableList("cmbPlotInterval");
    c.cmbPlotInterval->setMinimumContentsLength(8);
    c.Label9 = captionFor("Label9", QStringLiteral("Time &interval"), c.cmbPlotInterval);
    c.btnReCompute = named<QPushButton>("btnReCompute", QStringLiteral("Recompute &Data"));
    auto* interval = new QHBoxLayout(c.Frame2);
    interval->addWidget(c.Label9);
    interval->addWidget(c.cmbPlotInterval);
    interval->addWidget(c.btnReCompute);
    interval->addStretch();
}

}  // namespace

QWidget* stationTab(MainControls& c) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tabViewStationData"));

    makeStationControls(c);

    auto* selections = new QGridLayout;
    selections->addWidget(c.lblDateCaption, 0, 0);
    selections->addWidget(c.lblDate, 0, 1);
    selections->addWidget(c.Label5, 1, 0);
    selections->addWidget(c.cmbStaList, 1, 1);
    selections->addWidget(c.Label6, 2, 0);
    selections->addWidget(c.cmbStartTime, 2, 1);
    selections->addWidget(c.Label7, 3, 0);
    selections->addWidget(c.cmbEndTime, 3, 1);
    selections->setColumnStretch(1, 1);

    auto* views = new QGridLayout;
    views->addWidget(c.btnLinePlot, 0, 0, 1, 2);
    views->addWidget(c.btnScatterPlot, 1, 0, 1, 2);
    views->addWidget(c.btnVolSum, 2, 0);
    views->addWidget(c.txtVolSum, 2, 1);
    views->setRowStretch(3, 1);

    auto* top = new QHBoxLayout;
    top->addLayout(selections, 3);
    top->addSpacing(16);
    top->addLayout(views, 2);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addSpacing(12);
    layout->addWidget(c.Frame2);
    layout->addStretch();

    chainTabOrder({c.cmbStaList, c.cmbStartTime, c.cmbEndTime, c.btnLinePlot, c.btnScatterPlot,
                   c.btnVolSum, c.txtVolSum, c.cmbPlotInterval, c.btnReCompute});
    return page;
}

}  // namespace quorvane
