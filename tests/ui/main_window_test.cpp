// The main window at start-up and the build command through its button.
#include <QElapsedTimer>
#include <QProgressBar>
#include <QSet>

#include "ui/progress_window.h"
#include "window_fixture.h"

namespace quorvane::test {
namespace {

QString captionOf(QWidget* widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->text();
    }
    auto* label = qobject_cast<QLabel*>(widget);
    return label != nullptr && label->buddy() != nullptr ? label->text() : QString();
}

QChar mnemonicOf(const QString& caption) {
    const int at = caption.indexOf(QLatin1Char('&'));
    return at >= 0 && at + 1 < caption.size() ? caption[at + 1].toUpper() : QChar();
}

using MainWindowStart = WindowTest;

TEST_F(MainWindowStart, StartsWithOnlyTheBuildTabAndEmptySelectionLists) {
    EXPECT_TRUE(c().SSTab1->isTabEnabled(kBuildTab));
    EXPECT_FALSE(c().SSTab1->isTabEnabled(kStationTab));
    EXPECT_FALSE(c().SSTab1->isTabEnabled(kRoadTab));
    EXPECT_EQ(c().SSTab1->currentIndex(), kBuildTab);
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

// Accessibility tools find the controls by their names; keyboard users reach every command of
// the visible tab by its own Alt key, none taken by a tab title.
TEST_F(MainWindowStart, EveryControlIsNamedAndHasItsOwnMnemonicOnItsTab) {
    QSet<QChar> titles;
    for (int tab = 0; tab < 3; ++tab) {
        titles.insert(mnemonicOf(c().SSTab1->tabText(tab)));
    }
    ASSERT_EQ(titles.size(), 3);
    for (int tab = 0; tab < 3; ++tab) {
        QSet<QChar> used = titles;
        for (QWidget* widget : c().SSTab1->widget(tab)->findChildren<QWidget*>()) {
            const std::string name = widget->objectName().toStdString();
            if (!name.empty() && !name.starts_with("qt_")) {
                EXPECT_EQ(widget->accessibleDescription(), widget->objectName());
            }
            const QString caption = captionOf(widget);
            if (caption.isEmpty()) {
                continue;
            }
            const QChar key = mnemonicOf(caption);
            ASSERT_FALSE(key.isNull()) << name;
            EXPECT_FALSE(used.contains(key)) << name;
            used.insert(key);
        }
    }
}

using BuildCommand = WindowTest;

TEST_F(BuildCommand, FillsListsTimeListsDateAndTabsBeforeItsMessage) {
    // The progress window shows both loops, station by station.
    QSet<QString> loops;
    QString lastCounter;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto* progress = window->findChild<ProgressWindow*>("frmProgress");
        if (progress != nullptr && progress->isVisible()) {
            loops.insert(progress->Label1->text());
            lastCounter = progress->Label2->text();
        }
    });
    bool checkedAtMessage = false;
    dialogs.onMessage = [&](const Message&) {
        checkedAtMessage = true;
        EXPECT_FALSE(c().btnBuildStationData->isEnabled());  // enabled once the box is closed
        EXPECT_TRUE(c().SSTab1->isTabEnabled(kStationTab));
        EXPECT_TRUE(c().SSTab1->isTabEnabled(kRoadTab));
        EXPECT_EQ(c().lblDate->text(), "may5.traffic");
        EXPECT_EQ(c().cmbStartTime->count(), 2880);
        EXPECT_FALSE(window->findChild<ProgressWindow*>("frmProgress")->isVisible());
    };
    watcher.start(0);
    build();
    watcher.stop();
    ASSERT_TRUE(checkedAtMessage);
    EXPECT_EQ(loops,
              (QSet<QString>{"Unzip and computation of staton data", "Station recomputation"}));
    EXPECT_EQ(lastCounter, "39 of 40 Stations");
    EXPECT_EQ(dialogs.onlyMessage().icon, MessageIcon::Information);
    EXPECT_TRUE(c().btnBuildStationData->isEnabled());
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
    EXPECT_EQ(c().SSTab1->currentIndex(), kBuildTab);
    // The build's log, with the station whose second detector is missing.
    const std::string& log = workspace().log.logText();
    EXPECT_NE(log.find("Sta count=40\r\nRoad count=3\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Station: 140: "), std::string::npos) << log;
}

// Each loop's bar moves when it is shown, on its first and last station and at most 30 times
// a second between: not once per station.
TEST_F(BuildCommand, ProgressBarMovesAtMostThirtyTimesASecond) {
    build();  // creates the progress window
    int moves = 0;
    QObject::connect(window->findChild<ProgressWindow*>("frmProgress")->ProgressBar1,
                     &QProgressBar::valueChanged, [&] { ++moves; });
    QElapsedTimer clock;
    clock.start();
    build();
    const qint64 elapsed = clock.elapsed();
    const qint64 perLoop = 3 + elapsed * Progress::kRepaintsPerSecond / 1000;
    EXPECT_LE(moves, 2 * perLoop) << elapsed << " ms";
    EXPECT_GE(moves, 2);
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

TEST_F(BuildCommand, CancelIsReportedAndChangesNothing) {
    dialogs.cancelNext();
    click(c().btnBuildStationData);
    EXPECT_TRUE(errorReport().starts_with("Error No: 32755, Cancel was selected."));
    EXPECT_TRUE(c().btnBuildStationData->isEnabled());
    EXPECT_TRUE(c().txtZipName->text().isEmpty());
    EXPECT_FALSE(c().SSTab1->isTabEnabled(kStationTab));
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
    EXPECT_TRUE(c().SSTab1->isTabEnabled(kStationTab));
    EXPECT_TRUE(c().btnBuildStationData->isEnabled());
    // The path box already names the new archive, as the user chose it.
    EXPECT_EQ(c().txtZipName->text().toStdString(), other.string());
    EXPECT_FALSE(window->findChild<ProgressWindow*>("frmProgress")->isVisible());
}

// A missing archive, and one that is no zip archive.
TEST_F(BuildCommand, BrokenArchiveIsReportedWithTheHint) {
    writeFile(dir / "broken.traffic", "this is not a zip archive");
    for (const auto& [name, start] :
         {std::pair{"missing.traffic", "Error No: 53, File not found: "},
          std::pair{"broken.traffic", "Error No: 321, Invalid file format: "}}) {
        dialogs.clear();
        dialogs.answer((dir / name).string());
        click(c().btnBuildStationData);
        EXPECT_TRUE(errorReport().starts_with(start)) << name;
        EXPECT_FALSE(c().SSTab1->isTabEnabled(kStationTab));
        EXPECT_EQ(workspace().day, nullptr);
    }
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
            c().SSTab1->setCurrentIndex(kStationTab);
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
