// The "Many Days" tab on three test days of rising traffic and a broken one: the set with what
// was left out, the typical speed grid (the middle day's speeds), the middle day against it (no
// difference) and the typical day's export. The medians themselves are the engine's tests.
#include <QListWidget>
#include <QProgressBar>
#include <cmath>
#include <stdexcept>

#include "charts/chart.h"
#include "charts/graph_window.h"
#include "core/day.h"
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

    dialogs.answer((dir / "typical.csv").string());
    click(c().btnExportTypical);
    EXPECT_EQ(dialogs.onlyMessage(), (Message{MessageIcon::Information, "Saving done."}));
    const std::string csv = readFile(dir / "typical.csv");
    EXPECT_TRUE(csv.starts_with("time,station,days,volume,occupancy,speed_kmh\n00:00:00,101,3,"))
        << csv.substr(0, 200);
}

}  // namespace
}  // namespace quorvane::test
