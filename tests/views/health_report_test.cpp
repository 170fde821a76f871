// The detector health report: the summary line, the CSV file and the station grades.
#include "views/health_report.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "support/test_files.h"

namespace quorvane {
namespace {

DetectorGrade grade(int row, int16_t station, int16_t detector, HealthStatus status,
                    DetectorCounts counts = {}) {
    return {row, station, detector, status, counts};
}

// Station 101 (two detectors, one good), station 102 listing 11 again (card off), then the
// same station number 101 on a later line of the list, its one detector good.
const DetectorHealth kDay{{
    grade(0, 101, 11, HealthStatus::Good, {2040, 0, 3, 1, 0, 0, 5}),
    grade(0, 101, 12, HealthStatus::Constant, {2039, 1, 0, 0, 0, 0, 481}),
    grade(1, 102, 11, HealthStatus::CardOff, {2040, 0, 1300, 0, 0, 12, 1}),
    grade(2, 101, 13, HealthStatus::Good, {2040, 0, 0, 0, 0, 0, 2}),
}};

TEST(HealthReport, SummaryCountsTheStatusesThatOccurGoodFirst) {
    EXPECT_EQ(healthSummary(kDay), "Detector health: 2 good, 1 card off, 1 constant");
    DetectorHealth every;
    for (const HealthStatus status : kHealthStatuses) {
        every.detectors.push_back(grade(0, 1, 1, status));
    }
    every.detectors.push_back(grade(0, 1, 1, HealthStatus::NoData));
    EXPECT_EQ(healthSummary(every),
              "Detector health: 1 good, 2 no data, 1 insufficient data, 1 card off, "
              "1 high values, 1 intermittent, 1 constant");
}

TEST(HealthReport, CsvHasTheHeaderAndOneCrLfLinePerDetectorInOrder) {
    EXPECT_EQ(healthCsvText(kDay),
              "station,detector,status,samples,implausible,zero_occupancy,high_occupancy,"
              "zero_volume_positive_occupancy,zero_occupancy_positive_volume,"
              "longest_constant_minutes\r\n"
              "101,11,good,2040,0,3,1,0,0,2.5\r\n"
              "101,12,constant,2039,1,0,0,0,0,240.5\r\n"
              "102,11,card off,2040,0,1300,0,0,12,0.5\r\n"
              "101,13,good,2040,0,0,0,0,0,1\r\n");
    EXPECT_EQ(constantMinutesText(0), "0");
    EXPECT_EQ(constantMinutesText(479), "239.5");
    EXPECT_EQ(constantMinutesText(480), "240");
}

TEST(HealthReport, WritingReplacesTheFileOnlyWhenComplete) {
    const test::TempDir dir;
    test::writeFile(dir / "health.csv", "old");
    writeHealthCsv(dir / "health.csv", kDay);
    EXPECT_EQ(test::readFile(dir / "health.csv"), healthCsvText(kDay));
    const Error error = test::errorOf([&] { writeHealthCsv(dir / "none" / "h.csv", kDay); });
    EXPECT_EQ(error.number(), errc::kPathNotFound);
}

TEST(HealthReport, StationGradeIsGoodOverListedPerStationLine) {
    const std::vector<StationGrade> grades = stationGrades(kDay);
    ASSERT_EQ(grades.size(), 4u);
    EXPECT_EQ(grades[0].text(), "1/2");
    EXPECT_EQ(grades[1].text(), "1/2");
    EXPECT_EQ(grades[2].text(), "0/1");
    EXPECT_EQ(grades[3].text(), "1/1");  // a station number listed twice: each line apart
}

}  // namespace
}  // namespace quorvane
