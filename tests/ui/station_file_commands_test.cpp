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
    EXPECT_EQ(dialogs.onlyMessage().icon, MessageIcon::Information);
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
        EXPECT_TRUE(c().btnSave->isEnabled());
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
    EXPECT_EQ(c().txtBinFile->text().toStdString(), file.string());
    EXPECT_TRUE(c().SSTab1->isTabEnabled(kRoadTab));
}

class LoadFailure : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        build();
        choose(c().cmbStartTime, 10);
        dayBefore = workspace().day;
        intervalsBefore = workspace().intervals;
        dialogs.clear();
    }
    // A load of `path` (a cancelled dialog when empty) that fails and leaves the day in force
    // as it was; returns the error report.
    std::string failedLoad(const std::filesystem::path& path) {
        if (path.empty()) {
            dialogs.cancelNext();
        } else {
            dialogs.answer(path.string());
        }
        click(c().btnLoad);
        const std::string report = errorReport();
        EXPECT_EQ(workspace().day, dayBefore);
        EXPECT_EQ(workspace().intervals, intervalsBefore);
        EXPECT_EQ(c().lblDate->text(), "may5.traffic");
        EXPECT_EQ(c().cmbStartTime->currentIndex(), 10);
        EXPECT_EQ(c().cmbStaList->count(), UiTestDay::kStations);
        EXPECT_TRUE(c().btnLoad->isEnabled());
        return report;
    }
    std::shared_ptr<const Day> dayBefore;
    std::shared_ptr<const IntervalTable> intervalsBefore;
};

TEST_F(LoadFailure, CancelIsReported) {
    EXPECT_TRUE(failedLoad({}).starts_with("Error No: 32755, Cancel was selected."));
}

TEST_F(LoadFailure, MissingFile) {
    const std::string report = failedLoad(dir / "typed name.station");
    EXPECT_TRUE(report.starts_with("Error No: 53, File not found: ")) << report;
    // The dialog proposed the path box's file; the box now names what the user typed.
    EXPECT_EQ(dialogs.requests.at(0).proposedName, (dir / "station" / "may5.station").string());
    EXPECT_EQ(c().txtBinFile->text().toStdString(), (dir / "typed name.station").string());
}

TEST_F(LoadFailure, FileThatIsNoStationFile) {
    const auto wrong = dir / "wrong.station";
    writeFile(wrong, std::string(5000, 'x'));
    const std::string report = failedLoad(wrong);
    EXPECT_TRUE(report.starts_with("Error No: 13, Type mismatch: ")) << report;
}

TEST_F(LoadFailure, MissingRoadDefinitionFile) {
    const auto file = dir / "saved.station";
    save(file);
    dialogs.clear();
    std::filesystem::remove(dir / "VURRoad2Sta.list");
    const std::string report = failedLoad(file);
    EXPECT_TRUE(report.starts_with("Error No: 53, ")) << report;
    EXPECT_NE(report.find("VURRoad2Sta.list"), std::string::npos) << report;
}

TEST_F(LoadFailure, LoadFinishedDuringARecomputationWins) {
    const auto file = dir / "saved.station";
    save(file);
    dialogs.clear();
    dialogs.answer(file.string());
    std::shared_ptr<const IntervalTable> loadedIntervals;
    dialogs.onMessage = [&](const Message&) { loadedIntervals = workspace().intervals; };
    bool loaded = false;
    QTimer during;
    QObject::connect(&during, &QTimer::timeout, [&] {
        if (!loaded && !c().btnReCompute->isEnabled()) {
            loaded = true;
            c().SSTab1->setCurrentIndex(kBuildTab);
            c().btnLoad->click();
        }
    });
    choose(c().cmbPlotInterval, 5);
    during.start(0);
    click(c().btnReCompute);
    during.stop();
    ASSERT_TRUE(loaded);
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
