// The "Many Days" tab: a set of days chosen as a folder, what was left out of it, and the typical
// day, the day in force against it, the reliability and the bottleneck ranking of a road.
#include <QGridLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/control_factory.h"
#include "ui/main_controls.h"

namespace quorvane {

namespace {

void makeManyDaysControls(MainControls& c) {
    c.btnDays = named<QPushButton>("btnDays", QStringLiteral("&Days..."));
    c.btnDays->setToolTip(
        QStringLiteral("Builds every .traffic archive and loads every .station file of a folder, "
                       "a day on each core, keeping five-minute summaries of each."));
    c.lblDaysFolder = note("lblDaysFolder", QStringLiteral("No days chosen yet."));
    c.prgDays = named<QProgressBar>("prgDays");
    c.prgDays->setRange(0, 1);
    c.prgDays->setValue(0);
    c.prgDays->setFormat(QStringLiteral("%v of %m days"));
    c.lblDaysSummary = note("lblDaysSummary", QString());
    c.lstDaysLeftOut = named<QListWidget>("lstDaysLeftOut");
    c.lstDaysLeftOut->setAccessibleName(QStringLiteral("Days left out"));
    c.lblDaysLeftOut = captionFor("lblDaysLeftOut", QStringLiteral("Left o&ut:"), c.lstDaysLeftOut);
    c.cmbDaysRoad = editableList("cmbDaysRoad");
    c.lblDaysRoad = captionFor("lblDaysRoad", QStringLiteral("R&oad:"), c.cmbDaysRoad);
    c.btnTypicalGrid = named<QPushButton>("btnTypicalGrid", QStringLiteral("&Typical Speed Grid"));
    c.btnTypicalGrid->setToolTip(
        QStringLiteral("The median speed of each station and five minutes over the days."));
    c.btnDifferenceGrid =
        named<QPushButton>("btnDifferenceGrid", QStringLiteral("Di&fference from typical"));
    c.btnDifferenceGrid->setToolTip(QStringLiteral(
        "The day in force against the typical day: red where it was slower, blue where it was "
        "faster, white where it was as typical."));
    c.btnReliability = named<QPushButton>("btnReliability", QStringLiteral("Re&liability"));
    c.btnReliability->setToolTip(QStringLiteral(
        "Mean and 95th percentile travel time along the road by departure time, and the "
        "reliability indices (needs VURStaPos.list)."));
    c.btnRanking = named<QPushButton>("btnRanking", QStringLiteral("Bottleneck R&anking"));
    c.btnRanking->setToolTip(QStringLiteral(
        "Every bottleneck of the days, ranked by the days it was active and the delay it cost "
        "(needs VURStaPos.list)."));
    c.btnExportTypical =
        named<QPushButton>("btnExportTypical", QStringLiteral("&Export Typical..."));
}

}  // namespace

QWidget* manyDaysTab(MainControls& c) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tabManyDays"));
    makeManyDaysControls(c);

    auto* daysRow = new QHBoxLayout;
    daysRow->addWidget(c.btnDays);
    daysRow->addWidget(c.lblDaysFolder, 1);

    auto* roadRow = new QHBoxLayout;
    roadRow->addWidget(c.lblDaysRoad);
    roadRow->addWidget(c.cmbDaysRoad, 1);
    auto* results = new QGridLayout;
    results->addWidget(c.btnTypicalGrid, 0, 0);
    results->addWidget(c.btnDifferenceGrid, 0, 1);
    results->addWidget(c.btnReliability, 1, 0);
    results->addWidget(c.btnRanking, 1, 1);
    results->addWidget(c.btnExportTypical, 2, 0);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(daysRow);
    layout->addWidget(c.prgDays);
    layout->addWidget(c.lblDaysSummary);
    layout->addWidget(c.lblDaysLeftOut);
    layout->addWidget(c.lstDaysLeftOut, 1);
    layout->addLayout(roadRow);
    layout->addLayout(results);

    chainTabOrder({c.btnDays, c.lstDaysLeftOut, c.cmbDaysRoad, c.btnTypicalGrid,
                   c.btnDifferenceGrid, c.btnReliability, c.btnRanking, c.btnExportTypical});
    return page;
}

}  // namespace quorvane
