// "Road Measures" on the test day's road North, its stations a kilometre apart: the refusal
// without positions, the window's graph and totals, the export the batch command would write,
// and the threshold that follows the unit. The measures themselves are the engine's tests.
#include <QDoubleSpinBox>
#include <QTableWidget>

#include "charts/chart.h"
#include "ui/road_measures_window.h"
#include "window_fixture.h"

namespace quorvane::test {
namespace {

class RoadMeasuresButton : public WindowTest {
  protected:
    // North's stations 101..130 at posts 0..29 km.
    void writePositions() {
        std::string list;
        for (int s = 101; s <= 130; ++s) {
            list += std::to_string(s) + ", " + std::to_string(s - 101) + ".000,\r\n";
        }
        writeFile(dir / "VURStaPos.list", list);
    }
    RoadMeasuresWindow* opened() {
        const auto windows = window->findChildren<RoadMeasuresWindow*>("frmRoadMeasures");
        return windows.isEmpty() ? nullptr : windows.back();
    }
    QString cell(int row, int column) { return opened()->grdTotals->item(row, column)->text(); }
};

// North at "1 hour" carries 15660 vehicle-km an hour. The test day's constant detectors calibrate
// none: with the default estimate all of it is unmeasured. With the fixed 6.7 m every station
// runs at 9.045 km/h and the 29 km take 214.47 minutes, too long to end before midnight from 21:00.
TEST_F(RoadMeasuresButton, RefusesWithoutPositionsThenShowsGraphTotalsAndExports) {
    buildAt(9);
    click(c().btnRoadMeasures);
    EXPECT_EQ(dialogs.onlyMessage(),
              (Message{MessageIcon::Exclamation,
                       "Station positions are needed: VURStaPos.list was not found beside the "
                       "definition lists."}));
    EXPECT_EQ(opened(), nullptr);

    writePositions();
    buildAt(9);
    EXPECT_EQ(c().spnThreshold->text(), "96.6 km/h");
    click(c().btnRoadMeasures);
    ASSERT_NE(opened(), nullptr);
    EXPECT_TRUE(opened()->isVisible() && opened()->windowTitle() == "Road Measures - North");
    EXPECT_EQ(opened()->grdTotals->rowCount(), 25);
    EXPECT_EQ(std::tuple(cell(0, kPeriodColumn), cell(0, kVktColumn), cell(0, kSpeedColumn),
                         cell(0, kUnmeasuredColumn), cell(1, kPeriodColumn)),
              std::tuple(QString("Whole day"), QString("375840.0"), QString(), QString("1.000"),
                         QString("00:00 - 01:00")));

    c().cmbGFactor->setCurrentIndex(1);
    click(c().btnRoadMeasures);
    RoadMeasuresWindow& w = *opened();
    EXPECT_EQ(std::tuple(cell(0, kVhtColumn), cell(0, kDelayColumn), cell(0, kSpeedColumn)),
              std::tuple(QString("41552.24"), QString("37659.97"), QString("9.0")));
    const Chart& chart = *w.chtTravelTime;
    ASSERT_EQ(chart.seriesCount(), 3);
    EXPECT_EQ(chart.points(0).size(), 24u);
    EXPECT_NEAR(chart.points(1).at(20).y, 214.47, 0.005);
    EXPECT_TRUE(std::isnan(chart.points(1).at(21).y));

    dialogs.clear();
    dialogs.answer((dir / "north.csv").string());
    QTest::mouseClick(w.btnExportCsv, Qt::LeftButton);
    EXPECT_EQ(dialogs.onlyMessage(), (Message{MessageIcon::Information, "Saving done."}));
    EXPECT_EQ(dialogs.requests.at(0).proposedName,
              (dir / "traffic" / "may5_North_measures.csv").string());
    const std::string csv = readFile(dir / "north.csv");
    EXPECT_TRUE(csv.starts_with(
        "time,vkt,vht,delay_vh,speed_kmh,travel_time_min,experienced_travel_time_min,"
        "unmeasured_share\n00:00:00,15660.0,1731.34,1569.17,9.0,214.47,214.47,0.000\n"))
        << csv;
    EXPECT_TRUE(csv.ends_with("\n23:00:00,15660.0,1731.34,1569.17,9.0,214.47,,0.000\n"));

    // In mph the threshold shows 60 mph and the table counts miles; the file stays in km.
    c().cmbSpeedUnit->setCurrentIndex(1);
    EXPECT_EQ(c().spnThreshold->text(), "60.0 mph");
    click(c().btnRoadMeasures);
    EXPECT_EQ(opened()->grdTotals->horizontalHeaderItem(kVktColumn)->text(), "VMT (veh-mi)");
    EXPECT_EQ(cell(0, kVktColumn), "233536.1");
}

}  // namespace
}  // namespace quorvane::test
