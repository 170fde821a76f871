// The "View Road Data" tab.
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/control_factory.h"
#include "ui/main_controls.h"
#include "ui/speed_controls.h"

namespace quorvane {

namespace {

// The road list, its two station lists side by side, the graph buttons, the road measures with
// their threshold, the speed estimate's settings, and the exports.
void makeRoadControls(MainControls& c) {
    c.cmbRoadList = editableList("cmbRoadList");
    c.Label8 = captionFor("Label8", QStringLiteral("Select Roa&d:"), c.cmbRoadList);

    c.lstN = named<QListWidget>("lstN");
    c.lstN->setSelectionMode(QAbstractItemView::SingleSelection);
    c.lstSta = named<QListWidget>("lstSta");
    c.lstSta->setSelectionMode(QAbstractItemView::MultiSelection);
    for (QListWidget* list : {c.lstN, c.lstSta}) {
        // Rows of both lists must stay side by side: same row height, no horizontal bar.
        list->setUniformItemSizes(true);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    }
    c.lstN->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);  // lstSta's bar scrolls both
    // Numbers of up to five digits: the lists need height, not width.
    const int digits = c.lstN->fontMetrics().horizontalAdvance(QStringLiteral("000000"));
    c.lstN->setMaximumWidth(digits + 12);
    c.lstSta->setMinimumWidth(2 * digits);
    c.lstSta->setMaximumWidth(3 * digits + 24);
    c.Label10 = captionFor("Label10", QStringLiteral("Station &List"), c.lstSta);
    // Item views take no name from a buddy label.
    c.lstN->setAccessibleName(QStringLiteral("Station List positions"));
    c.lstSta->setAccessibleName(QStringLiteral("Station List"));

    c.btnColorGrid = named<QPushButton>("btnColorGrid", QStringLiteral("Vol &Color Grid"));
    c.btnOccColorGrid = named<QPushButton>("btnOccColorGrid", QStringLiteral("&Occ Color Grid"));
    c.btnVolContour = named<QPushButton>("btnVolContour", QStringLiteral("Vol Co&ntour"));
    c.btnContour = named<QPushButton>("btnContour", QStringLiteral("Occ Con&tour"));
    makeSpeedControls(c);
    makeMeasureControls(c);
    c.Label11 = note("Label11", QStringLiteral("Select the stations that you wish to export as a "
                                               "csv file and click this button."));
    c.btnCSVfile = named<QPushButton>("btnCSVfile", QStringLiteral("Create c&sv file"));
    c.btnExportTable = named<QPushButton>("btnExportTable", QStringLiteral("Export t&able..."));
    c.Label12 = note("Label12", QStringLiteral("All plots use the data time-interval and plot "
                                               "time-range set from the View Station Data Tap."));
}

}  // namespace

QWidget* roadTab(MainControls& c) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tabViewRoadData"));

    makeRoadControls(c);

    auto* roadRow = new QHBoxLayout;
    roadRow->addWidget(c.Label8);
    roadRow->addWidget(c.cmbRoadList, 1);

    auto* lists = new QHBoxLayout;
    lists->setSpacing(0);
    lists->addWidget(c.lstN);
    lists->addWidget(c.lstSta, 1);
    auto* stations = new QVBoxLayout;
    stations->addWidget(c.Label10);
    stations->addLayout(lists, 1);

    auto* graphs = new QGridLayout;
    graphs->addWidget(c.btnColorGrid, 0, 0);
    graphs->addWidget(c.btnOccColorGrid, 0, 1);
    graphs->addWidget(c.btnVolContour, 1, 0);
    graphs->addWidget(c.btnContour, 1, 1);
    graphs->addWidget(c.btnSpeedColorGrid, 2, 0);
    graphs->addWidget(c.btnSpeedContour, 2, 1);
    graphs->addWidget(c.btnRoadMeasures, 3, 0);
    graphs->addWidget(c.btnFindBottlenecks, 3, 1);
    graphs->setColumnStretch(0, 1);
    graphs->setColumnStretch(1, 1);
    // The estimate's settings and the threshold in rows of caption and box, the note of the
    // estimate in force under them.
    auto* speed = new QGridLayout;
    speed->addWidget(c.lblSpeedUnit, 0, 0);
    speed->addWidget(c.cmbSpeedUnit, 0, 1);
    speed->addWidget(c.lblGFactor, 0, 2);
    speed->addWidget(c.cmbGFactor, 0, 3);
    speed->addWidget(c.lblFreeFlowSpeed, 1, 0);
    speed->addWidget(c.spnFreeFlowSpeed, 1, 1);
    speed->addWidget(c.lblVehicleLength, 1, 2);
    speed->addWidget(c.spnVehicleLength, 1, 3);
    speed->addWidget(c.lblThreshold, 2, 0);
    speed->addWidget(c.spnThreshold, 2, 1);
    speed->addWidget(c.lblSpeedEstimate, 3, 0, 1, 5);
    speed->setColumnStretch(4, 1);
    auto* exports = new QHBoxLayout;
    exports->addWidget(c.btnCSVfile);
    exports->addWidget(c.btnExportTable);
    exports->addStretch();
    auto* actions = new QVBoxLayout;
    actions->addLayout(graphs);
    actions->addLayout(speed);
    actions->addSpacing(16);
    actions->addWidget(c.Label11);
    actions->addLayout(exports);
    actions->addStretch();

    auto* middle = new QHBoxLayout;
    middle->addLayout(stations);
    middle->addSpacing(16);
    middle->addLayout(actions, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(roadRow);
    layout->addLayout(middle, 1);
    layout->addWidget(c.Label12);

    chainTabOrder({c.cmbRoadList, c.lstN, c.lstSta, c.btnColorGrid, c.btnOccColorGrid,
                   c.btnVolContour, c.btnContour, c.btnSpeedColorGrid, c.btnSpeedContour,
                   c.btnRoadMeasures, c.btnFindBottlenecks, c.cmbSpeedUnit, c.cmbGFactor,
                   c.spnFreeFlowSpeed, c.spnVehicleLength, c.spnThreshold, c.btnCSVfile,
                   c.btnExportTable});
    return page;
}

}  // namespace quorvane
