// "Find Bottlenecks" on a day whose road North queues behind station 110 from 07:00 to 08:00:
// the refusal without positions, the window's row, its sorting and export, and the activation
// drawn on the speed grid. The rule itself is the engine's test.
#include <QAbstractItemModel>
#include <QHeaderView>
#include <QTableView>

#include "charts/chart.h"
#include "charts/graph_window.h"
#include "ui/bottlenecks_window.h"
#include "window_fixture.h"

namespace quorvane::test {
namespace {

class FindBottlenecksButton : public WindowTest {
  protected:
    BottlenecksWindow* opened() {
        const auto windows = window->findChildren<BottlenecksWindow*>("frmBottlenecks");
        return windows.isEmpty() ? nullptr : windows.back();
    }
    QString shown(int row, int column) {
        return opened()->grdBottlenecks->model()->index(row, column).data().toString();
    }
};

TEST_F(FindBottlenecksButton, ListsSortsExportsAndDrawsTheRoadsActivations) {
    TestDay::writeQueueArchive(dir / "traffic" / "queue.traffic");
    build(dir / "traffic" / "queue.traffic");
    dialogs.clear();
    c().cmbGFactor->setCurrentIndex(1);  // constant detectors do not calibrate
    click(c().btnFindBottlenecks);
    EXPECT_EQ(dialogs.onlyMessage(),
              (Message{MessageIcon::Exclamation,
                       "Station positions are needed: VURStaPos.list was not found beside the "
                       "definition lists."}));
    EXPECT_EQ(opened(), nullptr);

    TestDay::writePositions(dir.path());
    build(dir / "traffic" / "queue.traffic");
    dialogs.clear();
    click(c().btnFindBottlenecks);
    ASSERT_NE(opened(), nullptr);
    EXPECT_EQ(opened()->windowTitle(), "Bottlenecks - North");
    ASSERT_EQ(opened()->grdBottlenecks->model()->rowCount(), 1);
    // The queue reaches from station 110 back to 101: 9 km and the first station's half.
    EXPECT_EQ(QStringList({shown(0, kUpstreamColumn), shown(0, kDownstreamColumn),
                           shown(0, kShiftColumn), shown(0, kStartColumn), shown(0, kEndColumn),
                           shown(0, kDurationColumn), shown(0, kMaxExtentColumn)}),
              QStringList({"110", "111", "AM", "07:00:00", "08:00:00", "60", "9.500"}));

    dialogs.answer((dir / "north.csv").string());
    QTest::mouseClick(opened()->btnExportCsv, Qt::LeftButton);
    EXPECT_EQ(dialogs.onlyMessage(), (Message{MessageIcon::Information, "Saving done."}));
    EXPECT_EQ(dialogs.requests.at(0).proposedName,
              (dir / "traffic" / "queue_North_bottlenecks.csv").string());
    const std::string csv = readFile(dir / "north.csv");
    EXPECT_TRUE(
        csv.starts_with("road,upstream_station,downstream_station,position_km,shift,"
                        "start,end,duration_min,max_extent_km,median_extent_km,delay_vh\n"
                        "North,110,111,10.000,AM,07:00:00,08:00:00,60,9.500,9.500,"))
        << csv;

    // The speed grid draws the activation: its box and its queue's outline, named.
    click(c().btnSpeedColorGrid);
    ASSERT_EQ(graphWindows().size(), 1u);
    const std::vector<ChartOverlay>& overlays = graphWindows().front()->chart().overlays();
    ASSERT_EQ(overlays.size(), 2u);
    EXPECT_EQ(overlays[0].label, "Bottleneck 110 > 111, 07:00 to 08:00, queue up to 9.5 km");
}

}  // namespace
}  // namespace quorvane::test
