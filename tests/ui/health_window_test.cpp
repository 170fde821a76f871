// The "Detector Health" button and its window: built from the archive, sorted, filtered and
// exported as the engineer does it. The grades themselves are the engine's tests.
#include <QHeaderView>
#include <QTableView>
#include <algorithm>
#include <set>
#include <vector>

#include "core/day.h"
#include "ui/health_model.h"
#include "ui/health_window.h"
#include "views/health_report.h"
#include "window_fixture.h"

namespace quorvane::test {
namespace {

// For the test day's lists: 1011 good (light traffic: calibrated), 1012 switched off, 1021 stuck,
// 1022 with 1000 implausible slots from 05:00 (too few samples), 1031 good with 90; the other 75
// detectors are missing.
void writeHealthArchive(const std::filesystem::path& path) {
    std::vector<int16_t> varying(2880);
    for (int k = 0; k < 2880; ++k) {
        varying[k] = static_cast<int16_t>(30 + k % 50);
    }
    const auto implausible = [](int count) {
        return volumeBytes(10).replace(600, count, count, 41);
    };
    const ZipMember members[] = {
        {"1011.v30", volumeBytes(10)},   {"1011.o30", occupancyBytes(varying)},
        {"1012.v30", volumeBytes(0)},    {"1012.o30", occupancyBytes(int16_t{0})},
        {"1021.v30", volumeBytes(10)},   {"1021.o30", occupancyBytes(int16_t{250})},
        {"1022.v30", implausible(1000)}, {"1022.o30", occupancyBytes(varying)},
        {"1031.v30", implausible(90)},   {"1031.o30", occupancyBytes(varying)}};
    writeZip(path, members);
}

class DetectorHealthWindow : public WindowTest {
  protected:
    HealthWindow* healthWindow() { return window->findChild<HealthWindow*>("frmHealth"); }
    // The table's column as shown, top to bottom.
    std::vector<QString> column(int col) {
        const QAbstractItemModel& shown = *healthWindow()->grdHealth->model();
        std::vector<QString> values;
        for (int row = 0; row < shown.rowCount(); ++row) {
            values.push_back(shown.index(row, col).data().toString());
        }
        return values;
    }
    void clickHeader(int col) {
        QHeaderView* header = healthWindow()->grdHealth->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          {header->sectionViewportPosition(col) + header->sectionSize(col) / 2,
                           header->height() / 2});
    }
};

// Before a build and after a load (a loaded day has no detector values) the button says a build
// is needed.
TEST_F(DetectorHealthWindow, ShowsSortsFiltersAndExportsTheGradesOfABuildOnly) {
    const Message needsBuild{MessageIcon::Information,
                             "Detector health needs a build from the archive."};
    click(c().btnDetectorHealth);
    EXPECT_EQ(dialogs.onlyMessage(), needsBuild);
    writeHealthArchive(dir / "traffic" / "june.traffic");
    build(dir / "traffic" / "june.traffic");
    dialogs.clear();
    click(c().btnDetectorHealth);
    HealthWindow* w = healthWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible() && w->windowTitle() == "Detector Health - june.traffic");
    EXPECT_EQ(w->lblSummary->text(),
              "Detector health: 2 good, 75 no data, 1 insufficient data, 1 card off, 1 constant");
    // In list order until a column is chosen.
    EXPECT_EQ(std::pair(column(kDetectorColumn).size(), column(kDetectorColumn).front()),
              std::pair(std::size_t{80}, QString("1011")));
    // Its g-factor at the road tab's free-flow speed; none for a detector not calibrated.
    const DetectorGrade& first = workspace().day->health->detectors.front();
    EXPECT_EQ(column(kGFactorColumn).front().toStdString(), gFactorText(first, 105.0));
    EXPECT_TRUE(first.fit.calibrated(105.0) && column(kGFactorColumn).at(1).isEmpty());

    // Implausible slots as numbers, not as text; the status in grading order.
    clickHeader(kImplausibleColumn);
    clickHeader(kImplausibleColumn);
    EXPECT_EQ(column(kImplausibleColumn).at(0) + column(kImplausibleColumn).at(1), "100090");
    clickHeader(kStatusColumn);
    EXPECT_TRUE(column(kStatusColumn).front().endsWith("no data") &&
                column(kStatusColumn).back().endsWith(" good"));

    w->cmbStatus->setCurrentIndex(w->cmbStatus->findText("card off", Qt::MatchEndsWith));
    EXPECT_EQ(column(kDetectorColumn), std::vector<QString>{"1012"});
    w->cmbStatus->setCurrentIndex(0);  // "All"
    QTest::keyClicks(w->txtNumber, "103");
    EXPECT_EQ(column(kDetectorColumn), (std::vector<QString>{"1032", "1031"}));

    // The whole table, whatever the filter.
    dialogs.answer((dir / "health.csv").string());
    QTest::mouseClick(w->btnExportCsv, Qt::LeftButton);
    EXPECT_EQ(dialogs.onlyMessage(), (Message{MessageIcon::Information, "Saving done."}));
    EXPECT_EQ(dialogs.requests.at(0).proposedName, (dir / "traffic" / "june-health.csv").string());
    EXPECT_EQ(readFile(dir / "health.csv"), healthCsvText(*workspace().day->health));

    // The next build's grades replace these in the same window.
    build();
    click(c().btnDetectorHealth);
    EXPECT_EQ(healthWindow(), w);
    EXPECT_EQ(w->lblSummary->text(), "Detector health: 1 no data, 39 intermittent, 40 constant");
    save(dir / "may5.station");
    dialogs.answer((dir / "may5.station").string());
    click(c().btnLoad);
    dialogs.clear();
    click(c().btnDetectorHealth);
    EXPECT_EQ(dialogs.onlyMessage(), needsBuild);
}

// Each status reads without its colour (a symbol of its own) and has a colour of its own; good
// is green.
TEST(HealthStatusCells, EachStatusHasItsOwnSymbolAndColour) {
    std::set<QString> symbols;
    std::set<QRgb> colours;
    for (const HealthStatus status : kHealthStatuses) {
        symbols.insert(statusLabel(status).section(' ', 0, 0));
        colours.insert(statusColour(status).rgb());
    }
    EXPECT_TRUE(symbols.size() == kHealthStatuses.size() && colours.size() == symbols.size());
    const QColor good = statusColour(HealthStatus::Good);
    EXPECT_TRUE(good.green() > good.red() && good.green() > good.blue());
}

}  // namespace
}  // namespace quorvane::test
