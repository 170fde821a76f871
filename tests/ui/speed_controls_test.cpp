// The road tab's speed controls and the tidy table's button on a built day at "1 hour". Station
// 140 (road "South") has one lane of 5 vehicles a slot at 10 %: 600 an hour, 40.2 km/h at
// 6.7 m; 139 two lanes at 20 %.
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QEvent>

#include "charts/chart.h"
#include "charts/graph_window.h"
#include "window_fixture.h"

namespace quorvane::test {
namespace {

constexpr int kSouth = 1;
constexpr int kMph = 1;

class SpeedControls : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        buildAt(9);
        choose(c().cmbRoadList, kSouth);
        c().SSTab1->setCurrentIndex(kRoadTab);
    }
    void TearDown() override {
        closeGraphWindows();
        WindowTest::TearDown();
    }
    QDoubleSpinBox& length() { return *c().spnVehicleLength; }
    void unit(int index) { c().cmbSpeedUnit->setCurrentIndex(index); }
    std::filesystem::path exportTo(const std::string& name) {
        const auto path = dir / name;
        dialogs.answer(path.string());
        click(c().btnExportTable);
        return path;
    }
};

TEST_F(SpeedControls, VehicleLengthFollowsTheUnitAndTheGraphsBoth) {
    EXPECT_EQ(c().cmbSpeedUnit->currentText(), "km/h");
    EXPECT_EQ(
        std::tuple(length().value(), length().suffix(), length().minimum(), length().maximum()),
        std::tuple(6.7, QString(" m"), 2.0, 30.0));
    unit(kMph);
    EXPECT_EQ(
        std::tuple(length().value(), length().suffix(), length().minimum(), length().maximum()),
        std::tuple(22.0, QString(" ft"), 6.6, 98.4));
    unit(0);
    EXPECT_EQ(length().value(), 6.7);
    length().setValue(7.5);
    unit(kMph);
    EXPECT_EQ(length().value(), 24.6);
    unit(0);
    EXPECT_EQ(length().value(), 7.5);

    // In mph at 22 ft: 600 * 22 / (52.8 * 10) = 25.0 mph.
    unit(kMph);
    length().setValue(22.0);
    for (QPushButton* button : {c().btnSpeedColorGrid, c().btnSpeedContour}) {
        closeGraphWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        click(button);
        ASSERT_EQ(graphWindows().size(), 1u);
        const Chart& chart = graphWindows().front()->chart();
        EXPECT_EQ(chart.axis(ChartAxis::Right).title, "Speed (mph)");
        EXPECT_EQ(chart.gridPoints(0).front(), (GridPoint{0.0, 25.0, 1}));
        EXPECT_TRUE(
            button->toolTip().contains("\"Worst case\" occupancy the estimate is the speed "
                                       "of the slowest lane"));
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SpeedControls, TableExportWritesTheSelectedStationsAtTheVehicleLengthInForce) {
    clickRow(c().lstSta, 0);
    clickRow(c().lstSta, 1);
    choose(c().cmbEndTime, 1);
    const auto path = exportTo("south.csv");
    EXPECT_EQ(dialogs.onlyMessage(), (Message{MessageIcon::Information, "Saving done."}));
    EXPECT_EQ(dialogs.requests.at(0).proposedName, (dir / "traffic" / "may5_table.csv").string());
    EXPECT_EQ(readFile(path),
              "time,station,volume,occupancy,speed_kmh,lanes\n"
              "00:00:00,140,600,10.00,40.2,1.00\n"
              "00:00:00,139,660,20.00,11.1,2.00\n"
              "01:00:00,140,600,10.00,40.2,1.00\n"
              "01:00:00,139,660,20.00,11.1,2.00\n");
    EXPECT_TRUE(c().btnExportTable->isEnabled());

    // The table is in km/h whatever the unit; a length in feet is taken in metres: 10 m and
    // 32.8 ft (9.997 m) both give 60.0 for station 140.
    clickRow(c().lstSta, 1);  // 140 alone
    for (const auto& [index, value] : {std::pair{0, 10.0}, {kMph, 32.8}}) {
        unit(index);
        length().setValue(value);
        dialogs.clear();
        exportTo("south.csv");
        EXPECT_EQ(readFile(path),
                  "time,station,volume,occupancy,speed_kmh,lanes\n"
                  "00:00:00,140,600,10.00,60.0,1.00\n"
                  "01:00:00,140,600,10.00,60.0,1.00\n")
            << value;
    }
}

}  // namespace
}  // namespace quorvane::test
