// The CSV export of the road tab through its button.
#include "window_fixture.h"

namespace quorvane::test {
namespace {

class CsvExport : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        buildAt(9);  // "1 hour"
        c().SSTab1->setCurrentIndex(kRoadTab);
    }
    void pick(int row) { clickRow(c().lstSta, row); }
    std::filesystem::path exportTo(const std::string& name) {
        const auto path = dir / name;
        dialogs.answer(path.string());
        click(c().btnCSVfile);
        return path;
    }
};

TEST_F(CsvExport, WritesTheSelectedStationsOverTheRange) {
    pick(0);
    pick(1);
    choose(c().cmbEndTime, 1);
    const auto path = exportTo("north.csv");
    EXPECT_EQ(dialogs.onlyMessage(), (Message{MessageIcon::Information, "Saving done."}));
    EXPECT_EQ(readFile(path),
              ",101.occ,101.vol,102.occ,102.vol\r\n"
              "00:00:00,20.00, 300 ,20.00, 420 \r\n"
              "01:00:00,20.00, 300 ,20.00, 420 \r\n");
    EXPECT_EQ(dialogs.requests.at(0).proposedName, (dir / "csv" / "may5.csv").string());
    EXPECT_TRUE(c().btnCSVfile->isEnabled());
}

TEST_F(CsvExport, ProposesTheStationFileNameWithoutAnArchive) {
    c().txtZipName->clear();
    c().txtBinFile->setText("/days/station/june.station");
    pick(0);
    dialogs.cancelNext();
    click(c().btnCSVfile);
    EXPECT_EQ(dialogs.requests.at(0).proposedName, "/days/csv/june.csv");
    EXPECT_TRUE(dialogs.messages.empty());  // cancelling is silent
}

TEST_F(CsvExport, NeedsACurrentStation) {
    click(c().btnCSVfile);
    EXPECT_EQ(dialogs.onlyMessage(),
              (Message{MessageIcon::Information, "You must first select the desired stations."}));
    EXPECT_TRUE(dialogs.requests.empty());
}

TEST_F(CsvExport, CurrentStationButNoneSelectedWritesOnlyTimes) {
    pick(3);
    pick(3);  // clicked again: deselected, still the current entry
    choose(c().cmbStartTime, 22);
    const auto path = exportTo("times.csv");
    EXPECT_EQ(dialogs.onlyMessage().text, "Saving done.");
    EXPECT_EQ(readFile(path), "\r\n22:00:00\r\n23:00:00\r\n");
}

TEST_F(CsvExport, MissingStationIsRefusedBeforeTheFileIsTouched) {
    choose(c().cmbRoadList, 2);  // "Ghost": 131 and the unknown 999
    pick(0);
    pick(1);
    const auto path = dir / "ghost.csv";
    writeFile(path, "earlier export");
    exportTo("ghost.csv");
    EXPECT_EQ(dialogs.onlyMessage(),
              (Message{MessageIcon::Exclamation,
                       "Station: 999 does not exist.\r\nUnable to generate the csv file."}));
    EXPECT_EQ(readFile(path), "earlier export");
    EXPECT_NE(workspace().log.logText().find("Station = 999"), std::string::npos);
}

TEST_F(CsvExport, BadRangeIsRefusedWithoutAFile) {
    pick(0);
    choose(c().cmbStartTime, 4);
    choose(c().cmbEndTime, 4);
    const auto path = exportTo("none.csv");
    EXPECT_EQ(
        dialogs.onlyMessage(),
        (Message{MessageIcon::Exclamation, "The end time must be greater than the start time."}));
    EXPECT_FALSE(std::filesystem::exists(path));
}

// Unlike build and load, the export shows the bare description, without "Error No:".
TEST_F(CsvExport, WriteFailureShowsTheErrorDescription) {
    pick(0);
    exportTo("no folder/day.csv");
    const auto message = dialogs.onlyMessage();
    EXPECT_EQ(message.icon, MessageIcon::Critical);
    EXPECT_FALSE(message.text.starts_with("Error No:")) << message.text;
    EXPECT_NE(message.text.find("day.csv"), std::string::npos) << message.text;
}

}  // namespace
}  // namespace quorvane::test
