// The main window at start-up, its controls, and the build command through its button.
#include <QProgressBar>
#include <QRegularExpression>
#include <QSet>

#include "ui/progress_window.h"
#include "window_fixture.h"

namespace quorvane::test {
namespace {

// The controls by name, with their exact captions.
const std::pair<const char*, const char*> kControls[] = {
    {"Label1", "*.traffic zip file"},
    {"btnBuildStationData", "Load File and Build Station Data"},
    {"btnShowlLog", "Show Log"},
    {"Frame1", "Station occ computaton options"},
    {"optAvg", "Average"},
    {"optWorst", "Worst case"},
    {"Check1", "Save zip file info."},
    {"Label3", "*.station binary file"},
    {"btnSave", "Save Station Data"},
    {"btnLoad", "Load Station Data"},
    {"btnExit", "Exit"},
    {"lblDateCaption", "Date:"},
    {"Label5", "Select Station :"},
    {"Label6", "Select Plot Start Time:"},
    {"Label7", "Select Plot End Time:"},
    {"btnLinePlot", "Vol/Occ Line Plot"},
    {"btnScatterPlot", "Vol/Occ Scatter Plot"},
    {"btnVolSum", "Vol Sum"},
    {"Frame2", "Time interval change"},
    {"Label9", "Time interval"},
    {"btnReCompute", "Recompute Data"},
    {"Label8", "Select Road:"},
    {"Label10", "Station List"},
    {"btnColorGrid", "Vol Color Grid"},
    {"btnOccColorGrid", "Occ Color Grid"},
    {"btnVolContour", "Vol Contour"},
    {"btnContour", "Occ Contour"},
    {"Label11", "Select the stations that you wish to export as a csv file and click this button."},
    {"btnCSVfile", "Create csv file"},
    {"Label12",
     "All plots use the data time-interval and plot time-range set from the View Station Data "
     "Tap."},
    {"Label2", "Quorvane V1.3"},
};
const char* const kUncaptioned[] = {"txtZipName",      "txtBinFile",  "lblDate",   "cmbStaList",
                                    "cmbStartTime",    "cmbEndTime",  "txtVolSum", "lstN",
                                    "cmbPlotInterval", "cmbRoadList", "lstSta",    "SSTab1"};

QString captionOf(QWidget* widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->text();
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return label->text();
    }
    if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
        return frame->title();
    }
    return {};
}

// A caption without its mnemonic marker.
QString plain(QString caption) {
    return caption.remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

QChar mnemonicOf(const QString& caption) {
    const int at = caption.indexOf(QLatin1Char('&'));
    return at >= 0 && at + 1 < caption.size() ? caption[at + 1].toUpper() : QChar();
}

using MainWindowStart = WindowTest;

TEST_F(MainWindowStart, EveryControlCarriesItsNameAndExactCaption) {
    EXPECT_EQ(window->windowTitle(), "QuorvaneV1");
    for (const auto& [name, caption] : kControls) {
        // Inside the tabs or directly on the window (the secondary windows reuse some names).
        QWidget* widget = c().SSTab1->findChild<QWidget*>(name);
        if (widget == nullptr) {
            widget = window->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
        }
        ASSERT_NE(widget, nullptr) << name;
        EXPECT_EQ(widget->accessibleDescription(), name);
        EXPECT_EQ(plain(captionOf(widget)), caption) << name;
    }
    for (const char* name : kUncaptioned) {
        QWidget* widget = window->findChild<QWidget*>(name);
        ASSERT_NE(widget, nullptr) << name;
        EXPECT_EQ(widget->accessibleDescription(), name);
    }
    EXPECT_FALSE(c().Label4->text().isEmpty());
    EXPECT_EQ(plain(c().SSTab1->tabText(0)), "Build Station Data");
    EXPECT_EQ(plain(c().SSTab1->tabText(1)), "View Station Data");
    EXPECT_EQ(plain(c().SSTab1->tabText(2)), "View Road Data");
}

TEST_F(MainWindowStart, StartsWithOnlyTheBuildTabAndEmptySelectionLists) {
    EXPECT_TRUE(c().SSTab1->isTabEnabled(0));
    EXPECT_FALSE(c().SSTab1->isTabEnabled(1));
    EXPECT_FALSE(c().SSTab1->isTabEnabled(2));
    EXPECT_EQ(c().SSTab1->currentIndex(), 0);
    EXPECT_FALSE(c().btnVolSum->isEnabled());  // greyed with its tab
    for (QComboBox* list : {c().cmbStaList, c().cmbStartTime, c().cmbEndTime, c().cmbRoadList}) {
        EXPECT_EQ(list->count(), 0);
        EXPECT_EQ(list->currentText(), "Select one");
    }
    EXPECT_EQ(c().cmbPlotInterval->count(), 10);
    EXPECT_EQ(c().cmbPlotInterval->currentText(), "30 sec");
    EXPECT_TRUE(c().optAvg->isChecked());
    EXPECT_FALSE(c().Check1->isChecked());
    EXPECT_EQ(workspace().day, nullptr);
}

TEST_F(MainWindowStart, EveryCommandHasItsOwnMnemonicOnItsTab) {
    QSet<QChar> always;
    for (int tab = 0; tab < 3; ++tab) {
        always.insert(mnemonicOf(c().SSTab1->tabText(tab)));
    }
    ASSERT_EQ(always.size(), 3);
    for (int tab = 0; tab < 3; ++tab) {
        QSet<QChar> used = always;
        for (QWidget* widget : c().SSTab1->widget(tab)->findChildren<QWidget*>()) {
            auto* label = qobject_cast<QLabel*>(widget);
            if (qobject_cast<QAbstractButton*>(widget) == nullptr &&
                (label == nullptr || label->buddy() == nullptr)) {
                continue;
            }
            const QChar key = mnemonicOf(captionOf(widget));
            ASSERT_FALSE(key.isNull()) << widget->objectName().toStdString();
            EXPECT_FALSE(used.contains(key)) << widget->objectName().toStdString();
            used.insert(key);
        }
    }
}

using BuildCommand = WindowTest;

TEST_F(BuildCommand, FillsListsTimeListsDateAndTabsBeforeItsMessage) {
    bool checkedAtMessage = false;
    dialogs.onMessage = [&](const Message&) {
        checkedAtMessage = true;
        EXPECT_FALSE(c().btnBuildStationData->isEnabled());  // enabled once the box is closed
        EXPECT_TRUE(c().SSTab1->isTabEnabled(1));
        EXPECT_TRUE(c().SSTab1->isTabEnabled(2));
        EXPECT_EQ(c().lblDate->text(), "may5.traffic");
        EXPECT_EQ(c().cmbStartTime->count(), 2880);
    };
    build();
    ASSERT_TRUE(checkedAtMessage);
    EXPECT_EQ(dialogs.onlyMessage().icon, MessageIcon::Information);
    EXPECT_TRUE(c().btnBuildStationData->isEnabled());
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(fields(dialogs.requests[0]),
              fields({false, "All files (*.*)|*.*|*.traffic files|*.traffic", 2, "traffic",
                      kFlagsOpen, "Select a *.traffic file", ""}));

    EXPECT_EQ(c().txtZipName->text().toStdString(), archive.string());
    // Every "traffic" of the path becomes "station", the folder's too.
    EXPECT_EQ(c().txtBinFile->text().toStdString(), (dir / "station" / "may5.station").string());
    EXPECT_EQ(c().cmbStaList->count(), UiTestDay::kStations);
    EXPECT_EQ(c().cmbStaList->currentText(), "101");
    EXPECT_EQ(c().cmbRoadList->currentText(), "North");
    ASSERT_EQ(c().lstN->count(), 30);
    EXPECT_EQ(c().lstSta->item(29)->text(), "130");
    EXPECT_EQ(c().cmbStartTime->currentText(), "00:00:00");
    EXPECT_EQ(c().cmbEndTime->currentText(), "23:59:30");
    EXPECT_EQ(c().SSTab1->currentIndex(), 0);
    // The build's log, with the station whose second detector is missing.
    const std::string& log = workspace().log.logText();
    EXPECT_NE(log.find("Sta count=40\r\nRoad count=3\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Station: 140: "), std::string::npos) << log;
}

TEST_F(BuildCommand, TakesWorstCaseZipInfoAndAnEarlierStationFileFromTheWindow) {
    c().optWorst->setChecked(true);
    c().Check1->setChecked(true);
    c().txtBinFile->setText("/data/earlier.station");
    build();
    EXPECT_TRUE(std::filesystem::exists(dir / "zipFileInfo.txt"));
    // Worst case of 10 % and 30 %: 30 % where station 101 counts vehicles.
    EXPECT_FLOAT_EQ(workspace().intervals->at(0, 1).occ, 30.0f);
    EXPECT_EQ(c().txtBinFile->text(), "/data/earlier.station");
}

TEST_F(BuildCommand, ShowsBothLoopsInTheProgressWindowThenHidesIt) {
    QSet<QString> titles;
    QString lastCounter;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto* progress = window->findChild<ProgressWindow*>("frmProgress");
        if (progress != nullptr && progress->isVisible()) {
            titles.insert(progress->Label1->text());
            lastCounter = progress->Label2->text();
            EXPECT_EQ(progress->windowTitle(), "Progress Window");
            EXPECT_EQ(progress->ProgressBar1->maximum(), UiTestDay::kStations);
        }
    });
    watcher.start(0);
    build();
    watcher.stop();
    EXPECT_EQ(titles,
              (QSet<QString>{"Unzip and computation of staton data", "Station recomputation"}));
    EXPECT_EQ(lastCounter, "39 of 40 Stations");
    EXPECT_FALSE(window->findChild<ProgressWindow*>("frmProgress")->isVisible());
}

TEST_F(BuildCommand, CancelIsReportedAndChangesNothing) {
    dialogs.cancelNext();
    click(c().btnBuildStationData);
    EXPECT_TRUE(errorReport().starts_with("Error No: 32755, Cancel was selected."));
    EXPECT_TRUE(c().btnBuildStationData->isEnabled());
    EXPECT_TRUE(c().txtZipName->text().isEmpty());
    EXPECT_FALSE(c().SSTab1->isTabEnabled(1));
}

TEST_F(BuildCommand, FailureLeavesTheEarlierDayListsAndLabels) {
    build();
    const auto dayBefore = workspace().day;
    const auto intervalsBefore = workspace().intervals;
    choose(c().cmbEndTime, 100);
    dialogs.clear();

    std::filesystem::remove(dir / "VURSta2Det.list");
    const auto other = dir / "june6.traffic";
    UiTestDay::writeArchive(other, 2);
    dialogs.answer(other.string());
    click(c().btnBuildStationData);

    const std::string report = errorReport();
    EXPECT_TRUE(report.starts_with("Error No: 53, ")) << report;
    EXPECT_NE(report.find("VURSta2Det.list"), std::string::npos) << report;
    EXPECT_EQ(workspace().day, dayBefore);
    EXPECT_EQ(workspace().intervals, intervalsBefore);
    EXPECT_EQ(c().lblDate->text(), "may5.traffic");
    EXPECT_EQ(c().cmbEndTime->currentIndex(), 100);
    EXPECT_EQ(c().cmbStaList->count(), UiTestDay::kStations);
    EXPECT_TRUE(c().SSTab1->isTabEnabled(1));
    EXPECT_TRUE(c().btnBuildStationData->isEnabled());
    // The path box already names the new archive, as the user chose it.
    EXPECT_EQ(c().txtZipName->text().toStdString(), other.string());
    EXPECT_FALSE(window->findChild<ProgressWindow*>("frmProgress")->isVisible());
}

TEST_F(BuildCommand, BrokenArchiveIsReportedWithTheHint) {
    const auto broken = dir / "broken.traffic";
    writeFile(broken, "this is not a zip archive");
    dialogs.answer(broken.string());
    click(c().btnBuildStationData);
    EXPECT_TRUE(errorReport().starts_with("Error No: 321, Invalid file format: "));
    EXPECT_FALSE(c().SSTab1->isTabEnabled(1));
    EXPECT_EQ(workspace().day, nullptr);
}

TEST_F(BuildCommand, ViewStartedDuringABuildReadsTheDayThenInForce) {
    build();
    const auto other = dir / "june6.traffic";
    UiTestDay::writeArchive(other, 3);
    bool summed = false;
    QTimer during;
    QObject::connect(&during, &QTimer::timeout, [&] {
        if (!summed && !c().btnBuildStationData->isEnabled()) {
            summed = true;
            c().SSTab1->setCurrentIndex(1);
            QTest::mouseClick(c().btnVolSum, Qt::LeftButton);
        }
    });
    during.start(0);
    build(other);
    during.stop();
    ASSERT_TRUE(summed);
    EXPECT_EQ(c().txtVolSum->text(), QString::number(UiTestDay::dayVolume(101)));
    // And the new day is in force afterwards.
    click(c().btnVolSum);
    EXPECT_EQ(c().txtVolSum->text(), QString::number(UiTestDay::dayVolume(101, 3)));
}

}  // namespace
}  // namespace quorvane::test
