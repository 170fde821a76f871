// Saving and loading the day through the window's buttons.
#include "definitions/station_file.h"
#include "window_fixture.h"

namespace quorvane::test {
namespace {

using SaveCommand = WindowTest;

TEST_F(SaveCommand, WritesTheDayInForceUnderTheChosenNameOrSaysThereIsNothing) {
    click(c().btnSave);
    EXPECT_EQ(dialogs.onlyMessage(), (Message{MessageIcon::Information, "Nothing to save."}));
    EXPECT_TRUE(dialogs.requests.empty());
    build();
    dialogs.clear();
    const auto file = dir / "saved.station";
    save(file);
    EXPECT_EQ(dialogs.requests.at(0).proposedName, (dir / "station" / "may5.station").string());
    EXPECT_EQ(c().txtBinFile->text().toStdString(), file.string());
    StationTables built = workspace().day->tables;
    built.lanes.clear();  // the station file holds no lane counts
    EXPECT_EQ(readStationFile(file), built);
}

TEST_F(SaveCommand, CancelIsSilent) {
    build();
    dialogs.clear();
    dialogs.cancelNext();
    click(c().btnSave);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(c().btnSave->isEnabled());
}

TEST_F(SaveCommand, WriteFailureIsReportedAndKeepsTheOldFile) {
    build();
    // A name the folder takes, but not with the suffix of the temporary file written first:
    // the write fails as in a folder that cannot be written.
    const auto old = dir / (std::string(245, 'd') + ".station");
    writeFile(old, "earlier day");
    for (const auto& [path, number] :
         {std::pair{dir / "no such folder" / "day.station", 76}, std::pair{old, 75}}) {
        SCOPED_TRACE(number);
        dialogs.clear();
        dialogs.answer(path.string());
        click(c().btnSave);
        const auto message = dialogs.onlyMessage();
        EXPECT_EQ(message.icon, MessageIcon::Critical);
        EXPECT_TRUE(message.text.starts_with("Error No: " + std::to_string(number) + ", "))
            << message.text;
    }
    EXPECT_EQ(readFile(old), "earlier day");
    EXPECT_FALSE(std::filesystem::exists(dir / "no such folder"));
}

using LoadCommand = WindowTest;

TEST_F(LoadCommand, RestoresTheSavedDayInAFreshWindowAndPutsTheIntervalListBack) {
    build();
    const auto file = dir / "saved.station";
    save(file);
    const auto built = workspace().day;
    window = std::make_unique<MainWindow>(dialogs, Environment{dir.path(), dir.path()});
    window->show();
    choose(c().cmbPlotInterval, 9);  // "1 hour": the load's recomputation uses it
    dialogs.clear();
    dialogs.answer(file.string());
    click(c().btnLoad);
    EXPECT_EQ(dialogs.onlyMessage(), (Message{MessageIcon::Information, "Done."}));
    StationTables saved = built->tables;
    saved.lanes.clear();
    EXPECT_EQ(workspace().day->tables, saved);
    EXPECT_EQ(c().lblDate->text(), "saved.station");
    EXPECT_EQ(workspace().intervals->intervalIndex, 9);
    EXPECT_EQ(c().cmbPlotInterval->currentText(), "30 sec");  // the table stays at "1 hour"
    EXPECT_EQ(c().cmbStartTime->itemText(23), "23:00:00");
    EXPECT_TRUE(c().SSTab1->isTabEnabled(kRoadTab));
}

using LoadFailure = WindowTest;

// Cancelled, a missing file, a file that is no station file, a missing road list: the error
// box with the hint, and the day in force with its lists and labels as it was.
TEST_F(LoadFailure, IsReportedWithTheHintAndKeepsTheDayInForce) {
    build();
    save(dir / "saved.station");
    choose(c().cmbStartTime, 10);
    writeFile(dir / "wrong.station", std::string(5000, 'x'));
    const auto dayBefore = workspace().day;
    const auto intervalsBefore = workspace().intervals;
    const std::pair<std::string, std::string> failures[] = {
        {"", "Error No: 32755, Cancel was selected."},
        {"typed name.station", "Error No: 53, File not found: "},
        {"wrong.station", "Error No: 13, Type mismatch: "},
        {"saved.station", "Error No: 53, File not found: " + (dir / "VURRoad2Sta.list").string()}};
    for (const auto& [name, start] : failures) {
        SCOPED_TRACE(name);
        if (name == "saved.station") {
            std::filesystem::remove(dir / "VURRoad2Sta.list");
        }
        dialogs.clear();
        name.empty() ? dialogs.cancelNext() : dialogs.answer((dir / name).string());
        const std::string proposed = c().txtBinFile->text().toStdString();
        click(c().btnLoad);
        EXPECT_TRUE(errorReport().starts_with(start));
        EXPECT_EQ(workspace().day, dayBefore);
        EXPECT_EQ(workspace().intervals, intervalsBefore);
        EXPECT_EQ(c().lblDate->text(), "may5.traffic");
        EXPECT_EQ(c().cmbStartTime->currentIndex(), 10);
        EXPECT_EQ(c().cmbStaList->count(), TestDay::kStations);
        EXPECT_TRUE(c().btnLoad->isEnabled());
        // The dialog proposed the path box's file; the box now names what the user chose.
        EXPECT_EQ(dialogs.requests.at(0).proposedName, proposed);
        EXPECT_EQ(c().txtBinFile->text().toStdString(),
                  name.empty() ? proposed : (dir / name).string());
    }
}

TEST_F(LoadCommand, LoadFinishedDuringARecomputationWins) {
    build();
    const auto dayBefore = workspace().day;
    const auto file = dir / "saved.station";
    save(file);
    dialogs.clear();
    dialogs.answer(file.string());
    std::shared_ptr<const IntervalTable> loadedIntervals;
    dialogs.onMessage = [&](const Message&) { loadedIntervals = workspace().intervals; };
    choose(c().cmbPlotInterval, 5);
    const auto recomputing = [&] { return !c().btnReCompute->isEnabled(); };
    ASSERT_TRUE(meanwhile(
        recomputing,
        [&] {
            c().SSTab1->setCurrentIndex(kBuildTab);
            c().btnLoad->click();
        },
        [&] { click(c().btnReCompute); }));
    EXPECT_EQ(dialogs.onlyMessage().text, "Done.");
    // The recomputation of the earlier day finished last, but the loaded day keeps its own
    // table (computed at "5 min", the interval selected when the load ran).
    EXPECT_NE(workspace().day, dayBefore);
    EXPECT_EQ(workspace().intervals, loadedIntervals);
    EXPECT_EQ(workspace().intervals->intervalIndex, 5);
    EXPECT_EQ(c().cmbStartTime->count(), 288);
}

}  // namespace
}  // namespace quorvane::test
