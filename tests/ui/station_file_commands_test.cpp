// Saving and loading the day through the window's buttons.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include "definitions/station_file.h"
#include "ui/commands.h"
#include "ui_test_day.h"
#include "window_fixture.h"

namespace quorvane::test {
namespace {

using SaveCommand = WindowTest;

TEST_F(SaveCommand, WithoutDataSaysNothingToSave) {
    click(c().btnSave);
    const auto message = dialogs.onlyMessage();
    EXPECT_EQ(message.icon, MessageIcon::Information);
    EXPECT_EQ(message.text, "Nothing to save.");
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
    const FileDialogRequest& request = dialogs.requests[0];
    EXPECT_TRUE(request.save);
    EXPECT_EQ(request.filter, "All files (*.*)|*.*|*.station files|*.station");
    EXPECT_EQ(request.filterIndex, 2);
    EXPECT_EQ(request.defaultExt, "station");
    EXPECT_EQ(request.flags, kFlagsSave);
    EXPECT_EQ(request.title, "Select the output *.station file");
    EXPECT_EQ(request.proposedName, (dir / "station" / "may5.station").string());

    EXPECT_EQ(c().txtBinFile->text().toStdString(), file.string());
    EXPECT_EQ(std::filesystem::file_size(file), stationFileSize(UiTestDay::kStations));
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

TEST_F(LoadCommand, RestoresTheSavedDayAndPutsTheIntervalListBack) {
    build();
    const auto file = dir / "saved.station";
    save(file);
    const auto built = workspace().day;
    const auto builtIntervals = workspace().intervals;
    choose(c().cmbPlotInterval, 9);  // "1 hour": the load's recomputation uses it
    dialogs.clear();

    dialogs.answer(file.string());
    bool checkedAtMessage = false;
    dialogs.onMessage = [&](const ScriptedDialogs::Message& message) {
        checkedAtMessage = true;
        EXPECT_EQ(message.text, "Done.");
        EXPECT_EQ(c().lblDate->text(), "saved.station");
        EXPECT_EQ(c().cmbStartTime->count(), 24);
    };
    click(c().btnLoad);
    ASSERT_TRUE(checkedAtMessage);
    EXPECT_EQ(dialogs.onlyMessage().icon, MessageIcon::Information);

    ASSERT_EQ(dialogs.requests.size(), 1u);
    const FileDialogRequest& request = dialogs.requests[0];
    EXPECT_FALSE(request.save);
    EXPECT_EQ(request.filter, "All files (*.*)|*.*|*.station files|*.station");
    EXPECT_EQ(request.defaultExt, "station");
    EXPECT_EQ(request.flags, kFlagsSave);
    EXPECT_EQ(request.title, "Select a *.station file");
    EXPECT_EQ(request.proposedName, file.string());

    ASSERT_NE(workspace().day, built);
    EXPECT_EQ(workspace().day->tables, built->tables);
    EXPECT_EQ(workspace().day->stations.stationDefs(), built->stations.stationDefs());
    EXPECT_EQ(workspace().intervals->intervalIndex, 9);
    EXPECT_EQ(c().cmbPlotInterval->currentText(), "30 sec");
    EXPECT_EQ(c().cmbStartTime->itemText(23), "23:00:00");
    EXPECT_EQ(c().cmbStaList->count(), UiTestDay::kStations);
    EXPECT_EQ(c().SSTab1->currentIndex(), 0);
    EXPECT_TRUE(c().btnLoad->isEnabled());
    EXPECT_NE(workspace().log.logText().rfind("Sta count=40\r\nRoad count=3\r\n"),
              std::string::npos);

    // Recomputing the loaded day at "30 sec" gives back the build's table.
    click(c().btnReCompute);
    EXPECT_EQ(workspace().intervals->data, builtIntervals->data);
}

TEST_F(LoadCommand, LoadingAsTheFirstCommandMakesTheTabsAvailable) {
    build();
    const auto file = dir / "saved.station";
    save(file);
    window = std::make_unique<MainWindow>(dialogs, Environment{dir.path(), dir.path()});
    window->show();
    dialogs.clear();
    dialogs.answer(file.string());
    click(c().btnLoad);
    EXPECT_EQ(dialogs.onlyMessage().text, "Done.");
    EXPECT_TRUE(c().SSTab1->isTabEnabled(1));
    EXPECT_TRUE(c().SSTab1->isTabEnabled(2));
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
    // The one message: the error box with the hint on its second line.
    std::string errorReport() {
        const auto message = dialogs.onlyMessage();
        EXPECT_EQ(message.icon, MessageIcon::Critical);
        EXPECT_TRUE(
            message.text.ends_with(".\r\nCheck if the Road and Station definition files exist."))
            << message.text;
        return message.text;
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
    // The box names what the user typed.
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
    dialogs.onMessage = [&](const ScriptedDialogs::Message&) {
        loadedIntervals = workspace().intervals;
    };

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
    EXPECT_EQ(workspace().intervals->stationCount, workspace().day->stations.count());
}

}  // namespace
}  // namespace quorvane::test
