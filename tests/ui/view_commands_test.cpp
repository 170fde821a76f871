// The road lists and the road tab's exports of a built day. Their refusals are
// the view buttons' tests; the files' layout is the engine's and the batch command's.
#include <QDoubleSpinBox>
#include <QScrollBar>

#include "charts/chart.h"
#include "charts/graph_window.h"
#include "window_fixture.h"

namespace quorvane::test {
namespace {

constexpr int kOneHour = 9;
constexpr int kSouth = 1;  // stations 140, 139, 138

using RoadLists = WindowTest;

// Choosing a road replaces both lists; rows, scrolling and the current row stay together,
// and moving in the numbers' list keeps the stations chosen for export.
TEST_F(RoadLists, ChoosingARoadReplacesBothListsWhoseRowsStayTogether) {
    build();
    c().SSTab1->setCurrentIndex(kRoadTab);
    QListWidget* n = c().lstN;
    QListWidget* sta = c().lstSta;
    ASSERT_GT(sta->verticalScrollBar()->maximum(), 5) << "the list must scroll for this test";
    clickRow(sta, 14);
    EXPECT_EQ(n->currentRow(), 14);
    sta->verticalScrollBar()->setValue(12);
    EXPECT_EQ(n->verticalScrollBar()->value(), 12);
    QTest::keyClick(n, Qt::Key_End);
    EXPECT_EQ(sta->currentRow(), 29);
    EXPECT_EQ(n->verticalScrollBar()->value(), sta->verticalScrollBar()->value());
    EXPECT_EQ(sta->selectedItems(), QList<QListWidgetItem*>{sta->item(14)});

    choose(c().cmbRoadList, kSouth);
    EXPECT_EQ(std::tuple(n->count(), n->item(2)->text(), sta->item(0)->text()),
              std::tuple(3, QString("3"), QString("140")));
    type(c().cmbRoadList, "No road");
    EXPECT_EQ(sta->count(), 3);  // typed text is no choice
}

class RoadExports : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        buildAt(kOneHour);
        c().SSTab1->setCurrentIndex(kRoadTab);
    }
    std::string exportTo(QPushButton* button, const std::string& name) {
        dialogs.clear();
        dialogs.answer((dir / name).string());
        click(button);
        EXPECT_EQ(dialogs.onlyMessage(), (Message{MessageIcon::Information, "Saving done."}));
        return readFile(dir / name);
    }
};

using CsvExport = RoadExports;

TEST_F(CsvExport, NeedsACurrentStationAndWritesTheSelectedOnesOverTheRange) {
    click(c().btnCSVfile);
    EXPECT_EQ(dialogs.onlyMessage(),
              (Message{MessageIcon::Information, "You must first select the desired stations."}));
    EXPECT_TRUE(dialogs.requests.empty());
    clickRow(c().lstSta, 0);
    clickRow(c().lstSta, 1);
    choose(c().cmbEndTime, 1);
    EXPECT_EQ(exportTo(c().btnCSVfile, "north.csv"),
              ",101.occ,101.vol,102.occ,102.vol\r\n"
              "00:00:00,20.00, 300 ,20.00, 420 \r\n"
              "01:00:00,20.00, 300 ,20.00, 420 \r\n");
    EXPECT_EQ(dialogs.requests.at(0).proposedName, (dir / "csv" / "may5.csv").string());
    // Clicked again: deselected, but still the current entry; the file holds only the times.
    clickRow(c().lstSta, 1);
    clickRow(c().lstSta, 0);
    EXPECT_EQ(exportTo(c().btnCSVfile, "times.csv"), "\r\n00:00:00\r\n01:00:00\r\n");
}

using SpeedControls = RoadExports;

// Station 140 has one lane of 5 vehicles a slot at 10 %: 600 an hour. The box holds metres for
// km/h and feet for mph; the graphs take the unit, the table is in km/h whatever the unit.
TEST_F(SpeedControls, VehicleLengthFollowsTheUnitIntoTheGraphsAndTheTable) {
    QDoubleSpinBox& length = *c().spnVehicleLength;
    EXPECT_EQ(std::pair(c().cmbSpeedUnit->currentText(), length.value()),
              std::pair(QString("km/h"), 6.7));
    length.setValue(7.5);
    c().cmbSpeedUnit->setCurrentIndex(1);
    EXPECT_EQ(std::tuple(c().cmbSpeedUnit->currentText(), length.value(), length.suffix()),
              std::tuple(QString("mph"), 24.6, QString(" ft")));
    c().cmbSpeedUnit->setCurrentIndex(0);
    EXPECT_EQ(length.value(), 7.5);
    // The free-flow speed of the calibration follows the unit: its default is 105 km/h, 65 mph.
    QDoubleSpinBox& freeFlow = *c().spnFreeFlowSpeed;
    c().cmbSpeedUnit->setCurrentIndex(1);
    EXPECT_EQ(std::pair(freeFlow.value(), freeFlow.suffix()), std::pair(65.0, QString(" mph")));
    freeFlow.setValue(70.0);
    c().cmbSpeedUnit->setCurrentIndex(0);
    EXPECT_EQ(freeFlow.value(), 112.7);
    // The length counts for the fixed-length estimate only.
    EXPECT_FALSE(length.isEnabled());
    c().cmbGFactor->setCurrentIndex(1);
    EXPECT_TRUE(length.isEnabled() && !freeFlow.isEnabled());

    // 600 * 22 / (52.8 * 10) = 25.0 mph.
    choose(c().cmbRoadList, kSouth);
    c().cmbSpeedUnit->setCurrentIndex(1);
    length.setValue(22.0);
    click(c().btnSpeedColorGrid);
    ASSERT_EQ(graphWindows().size(), 1u);
    const Chart& chart = graphWindows().front()->chart();
    EXPECT_EQ(chart.axis(ChartAxis::Right).title, "Speed (mph)");
    EXPECT_EQ(chart.gridPoints(0).front(), (GridPoint{0.0, 25.0, 1}));

    // 32.8 ft is 9.997 m: 600 * 9.997 / (10 * 10) = 60.0 km/h.
    length.setValue(32.8);
    clickRow(c().lstSta, 0);
    choose(c().cmbEndTime, 1);
    EXPECT_EQ(exportTo(c().btnExportTable, "south.csv"),
              "time,station,volume,occupancy,speed_kmh,lanes\n"
              "00:00:00,140,600,10.00,60.0,1.00\n"
              "01:00:00,140,600,10.00,60.0,1.00\n");
    EXPECT_EQ(dialogs.requests.at(0).proposedName, (dir / "traffic" / "may5_table.csv").string());
}

}  // namespace
}  // namespace quorvane::test
