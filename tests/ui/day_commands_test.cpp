// The day's commands through their buttons: build, save and load, their failures, and a view or
// a load meeting a command that is still running.
#include <QElapsedTimer>
#include <QProgressBar>
#include <QSet>
#include <span>

#include "ui/progress_window.h"
#include "window_fixture.h"

namespace quorvane::test {
namespace {

class DayCommands : public WindowTest {
  protected:
    using Failure = std::pair<std::string, std::string>;  // the name answered ("": cancel), the
                                                          // start of the error box
    // Each failure of `button` shows the error box with the hint and leaves the day in force with
    // its lists and labels as it was; the path box names what the user chose.
    void expectEachFailureKeepsTheDay(QPushButton* button, QLineEdit* pathBox,
                                      std::span<const Failure> failures) {
        const auto day = workspace().day;
        const auto intervals = workspace().intervals;
        const QString date = c().lblDate->text();
        for (const auto& [name, start] : failures) {
            SCOPED_TRACE(name);
            dialogs.clear();
            name.empty() ? dialogs.cancelNext() : dialogs.answer((dir / name).string());
            const std::string path = pathBox->text().toStdString();
            click(button);
            const auto [icon, text] = dialogs.onlyMessage();
            EXPECT_TRUE(
                icon == MessageIcon::Critical && text.starts_with(start) &&
                text.ends_with(".\r\nCheck if the Road and Station definition files exist."))
                << text;
            EXPECT_TRUE(button->isEnabled());
            EXPECT_FALSE(window->findChild<QWidget*>("frmProgress")->isVisible());
            EXPECT_EQ(std::pair(workspace().day, workspace().intervals), std::pair(day, intervals));
            EXPECT_EQ(std::tuple(c().lblDate->text(), c().cmbEndTime->currentIndex(),
                                 c().cmbStaList->count()),
                      std::tuple(date, 100, TestDay::kStations));
            EXPECT_EQ(pathBox->text().toStdString(), name.empty() ? path : (dir / name).string());
        }
    }
};

using BuildCommand = DayCommands;

TEST_F(BuildCommand, ShowsProgressThenFillsListsDateAndTabsBeforeItsMessage) {
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
    // Every "traffic" of the path becomes "station", the folder's too.
    EXPECT_EQ(c().txtBinFile->text().toStdString(), (dir / "station" / "may5.station").string());
    EXPECT_EQ(std::tuple(c().cmbStaList->currentText(), c().cmbRoadList->currentText(),
                         c().lstSta->count(), c().cmbEndTime->currentText()),
              std::tuple(QString("101"), QString("North"), 30, QString("23:59:30")));
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

// Cancelled, a missing archive, and a list missing once the progress is shown (it is read after
// the archive). The engine's tests own the other faults of an archive.
TEST_F(BuildCommand, FailureIsReportedWithTheHintAndKeepsTheDayInForce) {
    build();
    choose(c().cmbEndTime, 100);
    std::filesystem::copy_file(archive, dir / "june6.traffic");
    std::filesystem::remove(dir / "VURSta2Det.list");
    const Failure failures[] = {
        {"", "Error No: 32755, Cancel was selected."},
        {"missing.traffic", "Error No: 53, File not found: "},
        {"june6.traffic", "Error No: 53, File not found: " + (dir / "VURSta2Det.list").string()}};
    expectEachFailureKeepsTheDay(c().btnBuildStationData, c().txtZipName, failures);
}

// The volume sum reads the day in force: the old one until the new one is complete. Station
// 101 counts 1 vehicle a slot and slot % 4 (2880 + 4320); in the second day 3 and slot % 4.
TEST_F(BuildCommand, ViewStartedDuringABuildReadsTheDayThenInForce) {
    build();
    const auto other = dir / "june6.traffic";
    TestDay::writeArchive(other, 3);
    ASSERT_TRUE(meanwhile([&] { return !c().btnBuildStationData->isEnabled(); },
                          [&] { click(c().btnVolSum); }, [&] { build(other); }));
    EXPECT_EQ(c().txtVolSum->text(), "7200");
    click(c().btnVolSum);
    EXPECT_EQ(c().txtVolSum->text(), "12960");
}

using SaveCommand = DayCommands;

TEST_F(SaveCommand, WritesTheDayInForceWhichALoadRestoresAtTheIntervalSelected) {
    click(c().btnSave);
    EXPECT_EQ(dialogs.onlyMessage(), (Message{MessageIcon::Information, "Nothing to save."}));
    build();
    const auto file = dir / "saved.station";
    save(file);
    EXPECT_EQ(dialogs.requests.back().proposedName, (dir / "station" / "may5.station").string());
    EXPECT_EQ(c().txtBinFile->text().toStdString(), file.string());
    reopen(dir.path());
    choose(c().cmbPlotInterval, 9);  // "1 hour": the load's recomputation uses it
    dialogs.answer(file.string());
    click(c().btnLoad);
    EXPECT_EQ(dialogs.onlyMessage(), (Message{MessageIcon::Information, "Done."}));
    EXPECT_EQ(c().lblDate->text(), "saved.station");
    EXPECT_EQ(std::pair(workspace().intervals->intervalIndex, c().cmbStartTime->itemText(23)),
              std::pair(9, QString("23:00:00")));
    EXPECT_EQ(c().cmbPlotInterval->currentText(), "30 sec");  // the table stays at "1 hour"
    EXPECT_TRUE(c().SSTab1->isTabEnabled(kRoadTab));
}

TEST_F(SaveCommand, CancelIsSilentAndAFailedWriteKeepsTheOldFile) {
    build();
    dialogs.clear();
    dialogs.cancelNext();
    click(c().btnSave);
    EXPECT_TRUE(dialogs.messages.empty());
    // A name the folder takes, but not with the suffix of the temporary file written first:
    // the write fails as in a folder that cannot be written.
    const auto old = dir / (std::string(245, 'd') + ".station");
    writeFile(old, "earlier day");
    for (const auto& [path, number] :
         {std::pair{dir / "no such folder" / "day.station", "76, "}, std::pair{old, "75, "}}) {
        dialogs.clear();
        dialogs.answer(path.string());
        click(c().btnSave);
        const auto [icon, text] = dialogs.onlyMessage();
        EXPECT_TRUE(icon == MessageIcon::Critical &&
                    text.starts_with(std::string("Error No: ") + number))
            << text;
    }
    EXPECT_EQ(readFile(old), "earlier day");
    EXPECT_TRUE(c().btnSave->isEnabled());
}

using LoadFailure = DayCommands;

// Cancelled, a missing file, a file that is no station file, a missing road list.
TEST_F(LoadFailure, IsReportedWithTheHintAndKeepsTheDayInForce) {
    build();
    save(dir / "saved.station");
    choose(c().cmbEndTime, 100);
    writeFile(dir / "wrong.station", std::string(5000, 'x'));
    std::filesystem::remove(dir / "VURRoad2Sta.list");  // read after the station file
    const Failure failures[] = {
        {"", "Error No: 32755, Cancel was selected."},
        {"typed name.station", "Error No: 53, File not found: "},
        {"wrong.station", "Error No: 13, Type mismatch: "},
        {"saved.station", "Error No: 53, File not found: " + (dir / "VURRoad2Sta.list").string()}};
    expectEachFailureKeepsTheDay(c().btnLoad, c().txtBinFile, failures);
}

using LoadCommand = DayCommands;

// The recomputation of the earlier day finishes last, but the loaded day keeps its own table
// (computed at "5 min", the interval selected when the load ran).
TEST_F(LoadCommand, LoadFinishedDuringARecomputationWins) {
    build();
    save(dir / "saved.station");
    dialogs.clear();
    dialogs.answer((dir / "saved.station").string());
    std::shared_ptr<const IntervalTable> loaded;
    dialogs.onMessage = [&](const Message&) { loaded = workspace().intervals; };
    choose(c().cmbPlotInterval, 5);
    ASSERT_TRUE(meanwhile([&] { return !c().btnReCompute->isEnabled(); },
                          [&] { click(c().btnLoad); }, [&] { click(c().btnReCompute); }));
    EXPECT_EQ(dialogs.onlyMessage().text, "Done.");
    EXPECT_EQ(workspace().intervals, loaded);
    EXPECT_EQ(std::pair(workspace().intervals->intervalIndex, c().cmbStartTime->count()),
              std::pair(5, 288));
}

}  // namespace
}  // namespace quorvane::test
