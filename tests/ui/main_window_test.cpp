// The main window at start-up and the build command through its button.
#include <QElapsedTimer>
#include <QProgressBar>
#include <QSet>

#include "ui/progress_window.h"
#include "window_fixture.h"

namespace quorvane::test {
namespace {

// The caption of a button, or of a label that names a control; empty for other widgets.
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
    EXPECT_EQ(std::tuple(c().SSTab1->isTabEnabled(kStationTab), c().SSTab1->isTabEnabled(kRoadTab),
                         c().SSTab1->currentIndex()),
              std::tuple(false, false, kBuildTab));
    for (QComboBox* list : {c().cmbStaList, c().cmbStartTime, c().cmbEndTime, c().cmbRoadList}) {
        EXPECT_EQ(std::pair(list->count(), list->currentText()),
                  std::pair(0, QString("Select one")));
    }
    EXPECT_EQ(std::pair(c().cmbPlotInterval->count(), c().cmbPlotInterval->currentText()),
              std::pair(10, QString("30 sec")));
    EXPECT_TRUE(c().optAvg->isChecked() && !c().Check1->isChecked());
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
    dialogs.onMessage = [&](const Message&) {
        EXPECT_FALSE(c().btnBuildStationData->isEnabled());  // enabled once the box is closed
        EXPECT_TRUE(c().SSTab1->isTabEnabled(kStationTab) && c().SSTab1->isTabEnabled(kRoadTab));
        EXPECT_EQ(c().lblDate->text(), "may5.traffic");
        EXPECT_FALSE(window->findChild<ProgressWindow*>("frmProgress")->isVisible());
    };
    watcher.start(0);
    build();
    watcher.stop();
    EXPECT_EQ(loops,
              (QSet<QString>{"Unzip and computation of staton data", "Station recomputation"}));
    EXPECT_EQ(lastCounter, "39 of 40 Stations");
    EXPECT_TRUE(c().btnBuildStationData->isEnabled());
    EXPECT_EQ(c().txtZipName->text().toStdString(), archive.string());
    // Every "traffic" of the path becomes "station", the folder's too.
    EXPECT_EQ(c().txtBinFile->text().toStdString(), (dir / "station" / "may5.station").string());
    EXPECT_EQ(std::pair(c().cmbStaList->count(), c().cmbStaList->currentText()),
              std::pair(TestDay::kStations, QString("101")));
    EXPECT_EQ(std::pair(c().cmbRoadList->currentText(), c().lstSta->count()),
              std::pair(QString("North"), 30));
    EXPECT_EQ(std::tuple(c().cmbStartTime->count(), c().cmbStartTime->currentText(),
                         c().cmbEndTime->currentText()),
              std::tuple(2880, QString("00:00:00"), QString("23:59:30")));
    EXPECT_EQ(c().SSTab1->currentIndex(), kBuildTab);
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

// Cancelled, a missing archive, one that is no zip archive, a missing list: the error box with
// the hint, and the day in force (none, then a built one) with its lists, labels and tabs as it
// was. The path box names what the user chose.
TEST_F(BuildCommand, FailureIsReportedWithTheHintAndKeepsTheDayInForce) {
    writeFile(dir / "broken.traffic", "this is not a zip archive");
    std::vector<std::pair<std::string, std::string>> failures{
        {"", "Error No: 32755, Cancel was selected."},
        {"missing.traffic", "Error No: 53, File not found: "},
        {"broken.traffic", "Error No: 321, Invalid file format: "}};
    const auto failEach = [&] {
        for (const auto& [name, start] : failures) {
            dialogs.clear();
            name.empty() ? dialogs.cancelNext() : dialogs.answer((dir / name).string());
            click(c().btnBuildStationData);
            EXPECT_TRUE(errorReport().starts_with(start)) << name;
            EXPECT_TRUE(c().btnBuildStationData->isEnabled());
            const auto* progress = window->findChild<ProgressWindow*>("frmProgress");
            EXPECT_TRUE(progress == nullptr || !progress->isVisible());
        }
    };
    failEach();
    EXPECT_EQ(workspace().day, nullptr);
    EXPECT_FALSE(c().SSTab1->isTabEnabled(kStationTab));

    build();
    const auto dayBefore = workspace().day;
    const auto intervalsBefore = workspace().intervals;
    choose(c().cmbEndTime, 100);
    std::filesystem::remove(dir / "VURSta2Det.list");
    std::filesystem::copy_file(archive, dir / "june6.traffic");
    failures.emplace_back("june6.traffic",
                          "Error No: 53, File not found: " + (dir / "VURSta2Det.list").string());
    failEach();
    EXPECT_EQ(workspace().day, dayBefore);
    EXPECT_EQ(workspace().intervals, intervalsBefore);
    EXPECT_EQ(c().lblDate->text(), "may5.traffic");
    EXPECT_EQ(c().cmbEndTime->currentIndex(), 100);
    EXPECT_EQ(c().cmbStaList->count(), TestDay::kStations);
    EXPECT_TRUE(c().SSTab1->isTabEnabled(kStationTab));
    EXPECT_EQ(c().txtZipName->text().toStdString(), (dir / "june6.traffic").string());
}

TEST_F(BuildCommand, ViewStartedDuringABuildReadsTheDayThenInForce) {
    build();
    const auto other = dir / "june6.traffic";
    TestDay::writeArchive(other, 3);
    const auto building = [&] { return !c().btnBuildStationData->isEnabled(); };
    ASSERT_TRUE(meanwhile(
        building,
        [&] {
            c().SSTab1->setCurrentIndex(kStationTab);
            QTest::mouseClick(c().btnVolSum, Qt::LeftButton);
        },
        [&] { build(other); }));
    EXPECT_EQ(c().txtVolSum->text(), QString::number(TestDay::dayVolume(101)));
    // And the new day is in force afterwards.
    click(c().btnVolSum);
    EXPECT_EQ(c().txtVolSum->text(), QString::number(TestDay::dayVolume(101, 3)));
}

}  // namespace
}  // namespace quorvane::test
