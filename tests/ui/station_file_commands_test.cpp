// Saving and loading the day through the window's buttons.
#include "definitions/station_file.h"
#include "window_fixture.h"

namespace quorvane::test {
namespace {

constexpr const char* kStationFilter = "All files (*.*)|*.*|*.station files|*.station";

using SaveCommand = WindowTest;

TEST_F(SaveCommand, WithoutDataSaysNothingToSave) {
    click(c().btnSave);
    EXPECT_EQ(dialogs.onlyMessage(), (Message{MessageIcon::Information, "Nothing to save."}));
    EXPECT_TRUE(dialogs.requests.empty());
    EXPECT_TRUE(c().btnSave->isEnabled());
}

TEST_F(SaveCommand, WritesTheTablesUnderTheChosenName) {
    build();
    dialogs.clear();
    const auto file = dir / "saved.station";
    save(file);
    EXPECT_EQ(dialogs.onlyMessage().icon, MessageIcon::Information);
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(fields(dialogs.requests[0]), fields({true, kStationFilter, 2, "station", kFlagsSave,
                                                   "Select the output *.station file",
                                                   (dir / "station" / "may5.station").string()}));
    EXPECT_EQ(c().txtBinFile->text().toStdString(), file.string());
    EXPECT_EQ(readStationFile(file), workspace().day->tables);
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
    dialogs.clear();
    const auto missingFolder = dir / "no such folder" / "day.station";
    dialogs.answer(missingFolder.string());
    click(c().btnSave);
    const auto message = dialogs.onlyMessage();
    EXPECT_EQ(message.icon, MessageIcon::Critical);
    EXPECT_TRUE(message.text.starts_with("Error No: ")) << message.text;
    EXPECT_FALSE(std::filesystem::exists(missingFolder));
    EXPECT_TRUE(c().btnSave->isEnabled());
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
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(fields(dialogs.requests[0]), fields({false, kStationFilter, 2, "station", kFlagsSave,
                                                   "Select a *.station file", ""}));

    EXPECT_EQ(workspace().day->tables, built->tables);
    EXPECT_EQ(c().lblDate->text(), "saved.station");
    EXPECT_EQ(workspace().intervals->intervalIndex, 9);
    EXPECT_EQ(c().cmbPlotInterval->currentText(), "30 sec");  // the table stays at "1 hour"
    EXPECT_EQ(c().cmbStartTime->itemText(23), "23:00:00");
    EXPECT_EQ(c().cmbStaList->count(), UiTestDay::kStations);
    EXPECT_EQ(c().txtBinFile->text().toStdString(), file.string());
    EXPECT_TRUE(c().SSTab1->isTabEnabled(1));
    EXPECT_TRUE(c().SSTab1->isTabEnabled(2));
    EXPECT_EQ(c().SSTab1->currentIndex(), 0);
    EXPECT_TRUE(c().btnLoad->isEnabled());
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
    void expectNothingChanged() {
        EXPECT_EQ(workspace().day, dayBefore);
        EXPECT_EQ(workspace().intervals, intervalsBefore);
        EXPECT_EQ(c().lblDate->text(), "may5.traffic");
        EXPECT_EQ(c().cmbStartTime->currentIndex(), 10);
        EXPECT_EQ(c().cmbStaList->count(), UiTestDay::kStations);
        EXPECT_TRUE(c().btnLoad->isEnabled());
    }
    std::shared_ptr<const Day> dayBefore;
    std::shared_ptr<const IntervalTable> intervalsBefore;
};

TEST_F(LoadFailure, CancelIsReported) {
    dialogs.cancelNext();
    click(c().btnLoad);
    EXPECT_TRUE(errorReport().starts_with("Error No: 32755, Cancel was selected."));
    expectNothingChanged();
}

TEST_F(LoadFailure, MissingFile) {
    dialogs.answer((dir / "typed name.station").string());
    click(c().btnLoad);
    EXPECT_TRUE(errorReport().starts_with("Error No: 53, "));
    expectNothingChanged();
    // The dialog proposed the path box's file; the box now names what the user typed.
    EXPECT_EQ(dialogs.requests.at(0).proposedName, (dir / "station" / "may5.station").string());
    EXPECT_EQ(c().txtBinFile->text().toStdString(), (dir / "typed name.station").string());
}

TEST_F(LoadFailure, FileThatIsNoStationFile) {
    const auto wrong = dir / "wrong.station";
    writeFile(wrong, std::string(5000, 'x'));
    dialogs.answer(wrong.string());
    click(c().btnLoad);
    EXPECT_TRUE(errorReport().starts_with("Error No: "));
    expectNothingChanged();
}

TEST_F(LoadFailure, MissingRoadDefinitionFile) {
    const auto file = dir / "saved.station";
    save(file);
    dialogs.clear();
    std::filesystem::remove(dir / "VURRoad2Sta.list");
    dialogs.answer(file.string());
    click(c().btnLoad);
    const std::string report = errorReport();
    EXPECT_TRUE(report.starts_with("Error No: 53, ")) << report;
    EXPECT_NE(report.find("VURRoad2Sta.list"), std::string::npos) << report;
    expectNothingChanged();
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
            c().SSTab1->setCurrentIndex(0);
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
