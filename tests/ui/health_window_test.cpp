// The "Detector Health" button and its window: built from the archive, sorted, filtered and
// exported as the engineer does it.
#include <QHeaderView>
#include <QTableView>
#include <algorithm>
#include <vector>

#include "core/day.h"
#include "ui/health_model.h"
#include "ui/health_window.h"
#include "views/health_report.h"
#include "window_fixture.h"

namespace quorvane::test {
namespace {

// For the test day's lists: station 101 holds a good detector and one switched off, 102 one
// reading high and one stuck, 103 one chattering and one with nothing plausible, 104 a good one
// with 90 implausible slots and one with 1000; the other 72 detectors are missing.
void writeHealthArchive(const std::filesystem::path& path) {
    auto varying = [](int base) {
        std::vector<int16_t> raw(2880);
        for (int k = 0; k < 2880; ++k) {
            raw[k] = static_cast<int16_t>(base + k % 50);
        }
        return occupancyBytes(raw);
    };
    auto implausibleFromFiveOClock = [](int count) {
        std::vector<uint8_t> volume(2880, 10);
        std::fill_n(volume.begin() + 600, count, 41);
        return volumeBytes(volume);
    };
    const std::vector<ZipMember> members{
        {"1011.v30", volumeBytes(10)},
        {"1011.o30", varying(100)},
        {"1012.v30", volumeBytes(0)},
        {"1012.o30", occupancyBytes(int16_t{0})},
        {"1021.v30", volumeBytes(10)},
        {"1021.o30", varying(750)},
        {"1022.v30", volumeBytes(10)},
        {"1022.o30", occupancyBytes(int16_t{250})},
        {"1031.v30", volumeBytes(0)},
        {"1031.o30", varying(100)},
        {"1032.v30", volumeBytes(41)},
        {"1032.o30", varying(100)},
        {"1041.v30", implausibleFromFiveOClock(90)},
        {"1041.o30", varying(100)},
        {"1042.v30", implausibleFromFiveOClock(1000)},
        {"1042.o30", varying(100)},
    };
    writeZip(path, members);
}

class DetectorHealthWindow : public WindowTest {
  protected:
    HealthWindow* healthWindow() { return window->findChild<HealthWindow*>("frmHealth"); }

    // Opens the window on a build of the health archive, its messages cleared.
    HealthWindow* openOnBuild() {
        const auto archivePath = dir / "traffic" / "june.traffic";
        writeHealthArchive(archivePath);
        build(archivePath);
        dialogs.clear();
        click(c().btnDetectorHealth);
        EXPECT_TRUE(dialogs.messages.empty());
        return healthWindow();
    }

    // The table's column as shown, top to bottom.
    static std::vector<QVariant> column(const HealthWindow& w, int col, int role) {
        const QAbstractItemModel& shown = *w.grdHealth->model();
        std::vector<QVariant> values;
        for (int row = 0; row < shown.rowCount(); ++row) {
            values.push_back(shown.index(row, col).data(role));
        }
        return values;
    }
    static std::vector<int> numbers(const HealthWindow& w, int col) {
        std::vector<int> values;
        for (const QVariant& value : column(w, col, Qt::DisplayRole)) {
            values.push_back(value.toInt());
        }
        return values;
    }
    static void clickHeader(const HealthWindow& w, int col) {
        QHeaderView* header = w.grdHealth->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(col) + header->sectionSize(col) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }
};

TEST_F(DetectorHealthWindow, WithoutGradesTheButtonSaysABuildIsNeeded) {
    const Message needsBuild{MessageIcon::Information,
                             "Detector health needs a build from the archive."};
    click(c().btnDetectorHealth);
    EXPECT_EQ(dialogs.onlyMessage(), needsBuild);

    build();
    save(dir / "may5.station");
    dialogs.answer((dir / "may5.station").string());
    click(c().btnLoad);
    ASSERT_FALSE(workspace().day->health.has_value());
    dialogs.clear();
    click(c().btnDetectorHealth);
    EXPECT_EQ(dialogs.onlyMessage(), needsBuild);
    EXPECT_EQ(healthWindow(), nullptr);
    EXPECT_TRUE(c().btnDetectorHealth->isEnabled());
}

TEST_F(DetectorHealthWindow, ShowsEveryDetectorWithTheSummaryAndAColouredMarkedStatus) {
    const HealthWindow* w = openOnBuild();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "Detector Health - june.traffic");
    EXPECT_EQ(w->lblSummary->text(),
              "Detector health: 2 good, 72 no data, 2 insufficient data, 1 card off, "
              "1 high values, 1 intermittent, 1 constant");
    EXPECT_EQ(w->grdHealth->model()->rowCount(), 80);
    // In list order until a column is chosen.
    EXPECT_EQ(numbers(*w, kDetectorColumn).at(0), 1011);
    EXPECT_EQ(numbers(*w, kDetectorColumn).at(79), 1402);
    EXPECT_EQ(column(*w, kStationGradeColumn, Qt::DisplayRole).at(0).toString(), "1/2");

    // Each status its own symbol and colour; good green.
    std::vector<QString> labels;
    std::vector<QRgb> colours;
    for (int row = 0; row < 8; ++row) {
        const QModelIndex status = w->grdHealth->model()->index(row, kStatusColumn);
        labels.push_back(status.data().toString().section(' ', 0, 0));
        colours.push_back(status.data(Qt::BackgroundRole).value<QColor>().rgb());
    }
    EXPECT_TRUE(column(*w, kStatusColumn, Qt::DisplayRole).at(0).toString().endsWith(" good"));
    const QColor good = colours[0];
    EXPECT_GT(good.green(), good.red());
    EXPECT_GT(good.green(), good.blue());
    std::sort(labels.begin(), labels.end());
    std::sort(colours.begin(), colours.end());
    // Rows 0..7: good, card off, high, constant, intermittent, insufficient, good, insufficient.
    EXPECT_EQ(std::unique(labels.begin(), labels.end()) - labels.begin(), 6);
    EXPECT_EQ(std::unique(colours.begin(), colours.end()) - colours.begin(), 6);
}

TEST_F(DetectorHealthWindow, SortsEveryColumnByValueBothWays) {
    const HealthWindow* w = openOnBuild();
    ASSERT_NE(w, nullptr);
    // Implausible slots 0, 90, 1000, 2040: ordered as numbers, not as text.
    clickHeader(*w, kImplausibleColumn);
    std::vector<int> implausible = numbers(*w, kImplausibleColumn);
    EXPECT_TRUE(std::is_sorted(implausible.begin(), implausible.end()));
    EXPECT_EQ(implausible.back(), 2040);
    clickHeader(*w, kImplausibleColumn);
    implausible = numbers(*w, kImplausibleColumn);
    EXPECT_EQ(std::vector<int>(implausible.begin(), implausible.begin() + 4),
              (std::vector<int>{2040, 1000, 90, 0}));

    // The status by its place in the grading order: no data first, good last.
    clickHeader(*w, kStatusColumn);
    EXPECT_TRUE(column(*w, kStatusColumn, Qt::DisplayRole).front().toString().endsWith("no data"));
    EXPECT_TRUE(column(*w, kStatusColumn, Qt::DisplayRole).back().toString().endsWith(" good"));
    // Minutes with their half: 1020 (stuck all day) above 2.5.
    clickHeader(*w, kLongestConstantColumn);
    clickHeader(*w, kLongestConstantColumn);
    EXPECT_EQ(column(*w, kLongestConstantColumn, Qt::DisplayRole).front().toString(), "1020");
    EXPECT_EQ(numbers(*w, kDetectorColumn).front(), 1022);
}

TEST_F(DetectorHealthWindow, FiltersByStatusAndByStationOrDetectorNumber) {
    HealthWindow* w = openOnBuild();
    ASSERT_NE(w, nullptr);
    w->cmbStatus->setCurrentIndex(w->cmbStatus->findText("card off", Qt::MatchEndsWith));
    EXPECT_EQ(numbers(*w, kDetectorColumn), (std::vector<int>{1012}));
    w->cmbStatus->setCurrentIndex(w->cmbStatus->findText("insufficient data", Qt::MatchEndsWith));
    EXPECT_EQ(numbers(*w, kDetectorColumn), (std::vector<int>{1032, 1042}));

    w->cmbStatus->setCurrentIndex(0);  // "All"
    EXPECT_EQ(w->cmbStatus->currentText(), "All");
    QTest::keyClicks(w->txtNumber, "104");
    EXPECT_EQ(numbers(*w, kDetectorColumn), (std::vector<int>{1041, 1042}));
    w->txtNumber->setText("13");  // stations 130 .. 139
    EXPECT_EQ(w->grdHealth->model()->rowCount(), 20);
    w->cmbStatus->setCurrentIndex(w->cmbStatus->findText("good", Qt::MatchEndsWith));
    EXPECT_EQ(w->grdHealth->model()->rowCount(), 0);
}

TEST_F(DetectorHealthWindow, ExportWritesTheWholeTableThroughTheDialogs) {
    HealthWindow* w = openOnBuild();
    ASSERT_NE(w, nullptr);
    w->cmbStatus->setCurrentIndex(2);  // a filter does not shorten the file
    const auto path = dir / "health.csv";
    dialogs.answer(path.string());
    QTest::mouseClick(w->btnExportCsv, Qt::LeftButton);
    EXPECT_EQ(dialogs.onlyMessage(), (Message{MessageIcon::Information, "Saving done."}));
    const std::string csv = readFile(path);
    EXPECT_EQ(csv, healthCsvText(*workspace().day->health));
    EXPECT_TRUE(csv.starts_with(std::string(kHealthCsvHeader) + "\r\n101,1011,good,2040,"));
    const FileDialogRequest& request = dialogs.requests.at(0);
    EXPECT_TRUE(request.save);
    EXPECT_EQ(request.defaultExt, "csv");
    EXPECT_EQ(request.filter, "All files (*.*)|*.*|*.csv files|*.csv");
    EXPECT_NE(request.flags & kNoReadOnlyReturn, 0u);
    EXPECT_EQ(request.proposedName, (dir / "traffic" / "june-health.csv").string());

    // Cancelled: nothing; a folder that does not exist: the error, the old file kept.
    dialogs.clear();
    dialogs.cancelNext();
    QTest::mouseClick(w->btnExportCsv, Qt::LeftButton);
    EXPECT_TRUE(dialogs.messages.empty());
    dialogs.answer((dir / "none" / "health.csv").string());
    QTest::mouseClick(w->btnExportCsv, Qt::LeftButton);
    EXPECT_EQ(dialogs.onlyMessage().icon, MessageIcon::Critical);
    EXPECT_TRUE(dialogs.onlyMessage().text.starts_with("Error No: 76, "))
        << dialogs.onlyMessage().text;
    EXPECT_TRUE(w->btnExportCsv->isEnabled());
    EXPECT_EQ(readFile(path), csv);
}

TEST_F(DetectorHealthWindow, ANewBuildShowsItsGradesInTheSameWindow) {
    HealthWindow* first = openOnBuild();
    ASSERT_NE(first, nullptr);
    build();
    dialogs.clear();
    click(c().btnDetectorHealth);
    EXPECT_EQ(healthWindow(), first);
    EXPECT_EQ(first->windowTitle(), "Detector Health - may5.traffic");
    EXPECT_EQ(first->lblSummary->text(),
              "Detector health: 1 no data, 39 intermittent, 40 constant");
}

// A picture of the window on a sample day for a person to look at (not run by default): write
// a sample day with quorvane-sample DIR, then run
//   QUORVANE_SAMPLE_DIR=DIR QUORVANE_PNG_DIR=/tmp/png ui_window_test
//       --gtest_also_run_disabled_tests --gtest_filter='*HealthForReview*'
TEST(DetectorHealthReview, DISABLED_RenderHealthForReview) {
    const std::filesystem::path day = qEnvironmentVariable("QUORVANE_SAMPLE_DIR").toStdString();
    ScriptedDialogs answers;
    MainWindow main(answers, Environment{day, day});
    main.show();
    answers.answer((day / "sample.traffic").string());
    main.controls().btnBuildStationData->click();
    main.controls().btnDetectorHealth->click();
    auto* w = main.findChild<HealthWindow*>("frmHealth");
    ASSERT_NE(w, nullptr);
    w->resize(1500, 640);  // the offscreen screen is narrower than a desktop
    QTest::qWait(50);
    const QString folder = qEnvironmentVariable("QUORVANE_PNG_DIR", QStringLiteral("."));
    EXPECT_TRUE(w->grab().save(folder + "/health.png"));
    w->grdHealth->sortByColumn(kStatusColumn, Qt::AscendingOrder);
    EXPECT_TRUE(w->grab().save(folder + "/health-by-status.png"));
}

}  // namespace
}  // namespace quorvane::test
