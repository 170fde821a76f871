#include "ui/main_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <initializer_list>
#include <utility>

#include "base/version.h"

namespace quorvane {

namespace {

// Every control carries its control name as object name and accessible description. The
// accessible name is left to Qt, which derives it from the live text.
template <class W, class... Args>
W* named(const char* name, Args&&... args) {
    auto* widget = new W(std::forward<Args>(args)...);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setAccessibleDescription(QString::fromLatin1(name));
    return widget;
}

QComboBox* editableList(const char* name) {
    auto* combo = named<QComboBox>(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);  // typed text is no new entry
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(14);
    combo->setMaxVisibleItems(20);
    return combo;
}

QLabel* captionFor(const char* name, const QString& text, QWidget* buddy) {
    auto* label = named<QLabel>(name, text);
    label->setBuddy(buddy);
    return label;
}

QLabel* note(const char* name, const QString& text) {
    auto* label = named<QLabel>(name, text);
    label->setWordWrap(true);
    return label;
}

void chainTabOrder(std::initializer_list<QWidget*> widgets) {
    QWidget* previous = nullptr;
    for (QWidget* widget : widgets) {
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, widget);
        }
        previous = widget;
    }
}

// Mnemonics: the tab titles own Alt+B, Alt+V and Alt+R; within a tab every letter is used
// once (only the controls of the visible tab answer their mnemonics).
QWidget* buildTab(MainControls& c) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tabBuildStationData"));

    c.txtZipName = named<QLineEdit>("txtZipName");
    c.Label1 = captionFor("Label1", QStringLiteral("*.traffic &zip file"), c.txtZipName);
    c.btnBuildStationData = named<QPushButton>("btnBuildStationData",
                                               QStringLiteral("Load &File and Build Station Data"));
    c.btnShowlLog = named<QPushButton>("btnShowlLog", QStringLiteral("Show Lo&g"));

    c.Frame1 = named<QGroupBox>("Frame1", QStringLiteral("Station occ computaton options"));
    c.optAvg = named<QRadioButton>("optAvg", QStringLiteral("&Average"));
    c.optWorst = named<QRadioButton>("optWorst", QStringLiteral("&Worst case"));
    auto* options = new QHBoxLayout(c.Frame1);
    options->addWidget(c.optAvg);
    options->addWidget(c.optWorst);
    options->addStretch();
    c.Check1 = named<QCheckBox>("Check1", QStringLiteral("Save zip file &info."));

    c.txtBinFile = named<QLineEdit>("txtBinFile");
    c.Label3 = captionFor("Label3", QStringLiteral("*.station bi&nary file"), c.txtBinFile);
    c.btnSave = named<QPushButton>("btnSave", QStringLiteral("&Save Station Data"));
    c.btnLoad = named<QPushButton>("btnLoad", QStringLiteral("&Load Station Data"));
    c.btnExit = named<QPushButton>("btnExit", QStringLiteral("E&xit"));

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(c.Label1);
    layout->addWidget(c.txtZipName);
    auto* buildRow = new QHBoxLayout;
    buildRow->addWidget(c.btnBuildStationData);
    buildRow->addWidget(c.btnShowlLog);
    buildRow->addStretch();
    layout->addLayout(buildRow);
    auto* optionRow = new QHBoxLayout;
    optionRow->addWidget(c.Frame1);
    optionRow->addSpacing(12);
    optionRow->addWidget(c.Check1);
    optionRow->addStretch();
    layout->addLayout(optionRow);
    layout->addSpacing(12);
    layout->addWidget(c.Label3);
    layout->addWidget(c.txtBinFile);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(c.btnSave);
    fileRow->addWidget(c.btnLoad);
    fileRow->addStretch();
    fileRow->addWidget(c.btnExit);
    layout->addLayout(fileRow);
    layout->addStretch();

    chainTabOrder({c.txtZipName, c.btnBuildStationData, c.btnShowlLog, c.optAvg, c.optWorst,
                   c.Check1, c.txtBinFile, c.btnSave, c.btnLoad, c.btnExit});
    return page;
}

QWidget* stationTab(MainControls& c) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tabViewStationData"));

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

QWidget* roadTab(MainControls& c) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tabViewRoadData"));

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
    c.Label11 = note("Label11", QStringLiteral("Select the stations that you wish to export as a "
                                               "csv file and click this button."));
    c.btnCSVfile = named<QPushButton>("btnCSVfile", QStringLiteral("Create c&sv file"));
    c.Label12 = note("Label12", QStringLiteral("All plots use the data time-interval and plot "
                                               "time-range set from the View Station Data Tap."));

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
    auto* actions = new QVBoxLayout;
    actions->addLayout(graphs);
    actions->addSpacing(16);
    actions->addWidget(c.Label11);
    actions->addWidget(c.btnCSVfile, 0, Qt::AlignLeft);
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
                   c.btnVolContour, c.btnContour, c.btnCSVfile});
    return page;
}

}  // namespace

MainControls buildMainControls(QWidget* window) {
    MainControls c;
    c.SSTab1 = named<QTabWidget>("SSTab1");
    c.SSTab1->addTab(buildTab(c), QStringLiteral("&Build Station Data"));
    c.SSTab1->addTab(stationTab(c), QStringLiteral("&View Station Data"));
    c.SSTab1->addTab(roadTab(c), QStringLiteral("View &Road Data"));

    c.Label2 = named<QLabel>(
        "Label2", QStringLiteral("Quorvane V") +
                      QString::fromLatin1(kVersion.data(), static_cast<int>(kVersion.size())));
    QFont title = c.Label2->font();
    title.setBold(true);
    c.Label2->setFont(title);
    c.Label4 = named<QLabel>("Label4", QStringLiteral("Built with Qt, Qwt and libzip"));
    c.Label4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* footer = new QHBoxLayout;
    footer->addWidget(c.Label2);
    footer->addSpacing(16);
    footer->addWidget(c.Label4, 1);

    auto* layout = new QVBoxLayout(window);
    layout->addWidget(c.SSTab1, 1);
    layout->addLayout(footer);
    return c;
}

}  // namespace quorvane
