// The CSV export of the road tab through its button; its refusals are the view buttons' tests.
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
    std::string exportTo(const std::string& name) {
        dialogs.answer((dir / name).string());
        click(c().btnCSVfile);
        return std::filesystem::exists(dir / name) ? readFile(dir / name) : "";
    }
};

TEST_F(CsvExport, WritesTheSelectedStationsOverTheRange) {
    pick(0);
    pick(1);
    choose(c().cmbEndTime, 1);
    EXPECT_EQ(exportTo("north.csv"),
              ",101.occ,101.vol,102.occ,102.vol\r\n"
              "00:00:00,20.00, 300 ,20.00, 420 \r\n"
              "01:00:00,20.00, 300 ,20.00, 420 \r\n");
    EXPECT_EQ(dialogs.onlyMessage(), (Message{MessageIcon::Information, "Saving done."}));
    EXPECT_EQ(dialogs.requests.at(0).proposedName, (dir / "csv" / "may5.csv").string());
    EXPECT_TRUE(c().btnCSVfile->isEnabled());
    // Clicked again: deselected, but still the current entry; the file holds only the times.
    pick(1);
    pick(0);
    choose(c().cmbStartTime, 22);
    choose(c().cmbEndTime, 23);
    EXPECT_EQ(exportTo("times.csv"), "\r\n22:00:00\r\n23:00:00\r\n");
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
