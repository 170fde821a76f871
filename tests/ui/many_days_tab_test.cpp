// The "Many Days" tab on three test days of rising traffic and a broken one: the set with what
// was left out, the typical speed grid (the middle day's speeds), the middle day against it (no
// difference) and the typical day's export. The medians themselves are the engine's tests.
#include <QListWidget>
#include <QProgressBar>
#include <QTableView>
#include <cmath>
#include <stdexcept>

#include "charts/chart.h"
#include "charts/graph_window.h"
#include "core/day.h"
#include "ui/many_days_windows.h"
#include "views/speed.h"
#include "views/typical_day.h"
#include "window_fixture.h"

namespace quorvane::test {
namespace {

class ManyDaysTab : public WindowTest {
  protected:
    // Scales 1, 2 and 3 of the test day, and a file that is no archive.
    std::filesystem::path writeDays() {
        const auto days = dir / "days";
        std::filesystem::create_directories(days);
        for (const int scale : {1, 2, 3}) {
            TestDay::writeArchive(days / ("day" + std::to_string(scale) + ".traffic"), scale);
        }
        writeFile(days / "broken.traffic", "no zip");
        writeFile(days / "notes.txt", "not a day");
        return days;
    }
    const Chart& graph(const char* name) {
        for (GraphWindow* shown : graphWindows()) {
            if (shown->objectName() == QLatin1String(name)) {
                return shown->chart();
            }
        }
        throw std::runtime_error(std::string("no window ") + name);
    }
};

TEST_F(ManyDaysTab, BuildsTheSetThenShowsTypicalAndDifferenceGridsAndExports) {
    click(c().btnTypicalGrid);
    EXPECT_EQ(dialogs.onlyMessage(),
              (Message{MessageIcon::Exclamation, "You must choose the days first."}));
    dialogs.clear();

    const auto days = writeDays();
    c().cmbGFactor->setCurrentIndex(1);  // constant detectors do not calibrate
    dialogs.answer(days.string());
    click(c().btnDays);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(dialogs.requests.at(0).folder);
    EXPECT_EQ(c().lblDaysSummary->text(), "4 days: 3 built, 1 left out");
    ASSERT_EQ(c().lstDaysLeftOut->count(), 1);
    EXPECT_TRUE(c().lstDaysLeftOut->item(0)->text().startsWith(
        "Left out " + QString::fromStdString((days / "broken.traffic").string())));
    EXPECT_EQ(c().prgDays->value(), 4);
    EXPECT_EQ(c().cmbDaysRoad->currentText(), "North");

    click(c().btnTypicalGrid);
    ASSERT_EQ(graphWindows().size(), 1u);
    const std::vector<GridPoint>& typical = graph("frmSpeedColorGrid").gridPoints(0);
    ASSERT_EQ(typical.size(), 288u * 30);

    // The middle day in force: its speeds are the typical ones, its difference none.
    build(days / "day2.traffic");
    dialogs.clear();
    const std::vector<int> rows{0};
    const SpeedTable own =
        computeSpeeds(*workspace().day, rows, 5, SpeedSettings::fromMetres(SpeedUnit::Kmh, 6.7));
    EXPECT_FLOAT_EQ(static_cast<float>(typical[30 * 100].y), own.at(0, 100).speed);
    click(c().btnDifferenceGrid);
    ASSERT_EQ(graphWindows().size(), 2u);
    const Chart& difference = graph("frmSpeedDifferenceGrid");
    EXPECT_EQ(difference.axis(ChartAxis::Right).title, "Difference from typical (km/h)");
    for (const GridPoint& point : difference.gridPoints(0)) {
        ASSERT_TRUE(std::isnan(point.y) || point.y == 0.0) << point.x << " " << point.z;
    }

    // Without positions no day places a road: no reliability, no ranking.
    dialogs.clear();
    click(c().btnReliability);
    EXPECT_TRUE(
        dialogs.onlyMessage().text.starts_with("No day places the road \"North\": "
                                               "Station positions are needed"));
    dialogs.clear();
    click(c().btnRanking);
    EXPECT_EQ(dialogs.onlyMessage().icon, MessageIcon::Exclamation);
    dialogs.clear();

    dialogs.answer((dir / "typical.csv").string());
    click(c().btnExportTypical);
    EXPECT_EQ(dialogs.onlyMessage(), (Message{MessageIcon::Information, "Saving done."}));
    const std::string csv = readFile(dir / "typical.csv");
    EXPECT_TRUE(csv.starts_with("time,station,days,volume,occupancy,speed_kmh\n00:00:00,101,3,"))
        << csv.substr(0, 200);
}

// Three days of North's queue, each five minutes longer than the one before, the stations a
// kilometre apart: one bottleneck in the AM every day, and travel times at every departure.
TEST_F(ManyDaysTab, ReliabilityAndRankingWindowsShowAndExportWhatTheBatchCommandsWrite) {
    TestDay::writePositions(dir.path());
    std::filesystem::create_directories(dir / "month");
    for (int day = 1; day <= 3; ++day) {
        TestDay::writeQueueArchive(dir / "month" / ("day" + std::to_string(day) + ".traffic"),
                                   5 * day);
    }
    c().cmbGFactor->setCurrentIndex(1);  // constant detectors do not calibrate
    dialogs.answer((dir / "month").string());
    click(c().btnDays);
    ASSERT_EQ(c().lblDaysSummary->text(), "3 days: 3 built, 0 left out");

    click(c().btnReliability);
    auto* reliability = window->findChild<ReliabilityWindow*>("frmReliability");
    ASSERT_NE(reliability, nullptr);
    EXPECT_TRUE(reliability->lblSummary->text().startsWith("North: 3 days, 29.00 km"));
    ASSERT_EQ(reliability->chtReliability->seriesCount(), 3);
    EXPECT_EQ(reliability->chtReliability->points(1).size(), 288u);
    dialogs.answer((dir / "reliability.csv").string());
    QTest::mouseClick(reliability->btnExportCsv, Qt::LeftButton);
    const std::string csv = readFile(dir / "reliability.csv");
    EXPECT_TRUE(
        csv.starts_with("time,days,mean_min,p95_min,free_flow_min,tti,pti,buffer_index\n"
                        "00:00:00,3,"))
        << csv.substr(0, 120);

    dialogs.clear();
    click(c().btnRanking);
    auto* ranking = window->findChild<RankingWindow*>("frmRanking");
    ASSERT_NE(ranking, nullptr);
    const QAbstractItemModel& rows = *ranking->grdRanking->model();
    ASSERT_EQ(rows.rowCount(), 1);
    EXPECT_EQ(QStringList({rows.index(0, kRankUpstreamColumn).data().toString(),
                           rows.index(0, kRankShiftColumn).data().toString(),
                           rows.index(0, kRankDaysActiveColumn).data().toString(),
                           rows.index(0, kRankDurationColumn).data().toString()}),
              QStringList({"110", "AM", "3", "70.0"}));  // 65, 70 and 75 minutes
    dialogs.answer((dir / "ranking.csv").string());
    QTest::mouseClick(ranking->btnExportCsv, Qt::LeftButton);
    EXPECT_EQ(dialogs.onlyMessage(), (Message{MessageIcon::Information, "Saving done."}));
    EXPECT_TRUE(readFile(dir / "ranking.csv").starts_with("road,upstream_station,"));
}

}  // namespace
}  // namespace quorvane::test
