// The detector health report: the summary line, the CSV text and the station grades.
#include "views/health_report.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

// Station 101 (two detectors, one good), station 102 listing 11 again (card off), then the
// same station number 101 on a later line of the list, its one detector good.
// Detector 11 is calibrated: 12 free-flow intervals at 5 % and 1200 vehicles an hour give
// 10 * 105 * 60 / 14400 = 4.375 m at 105 km/h; 13 has one interval too few.
const DetectorHealth kDay{{
    {0, 101, 11, HealthStatus::Good, {2040, 0, 3, 1, 0, 0, 5}, {12, 60.0, 14400.0}},
    {0, 101, 12, HealthStatus::Constant, {2039, 1, 0, 0, 0, 0, 481}, {}},
    {1, 102, 11, HealthStatus::CardOff, {2040, 0, 1300, 0, 0, 12, 1}, {}},
    {2, 101, 13, HealthStatus::Good, {2040, 0, 0, 0, 0, 0, 480}, {11, 55.0, 13200.0}},
}};

// Runs of slots are written in minutes, halves as ".5".
TEST(HealthReport, CsvHasOneCrLfLinePerDetectorInOrderAndTheSummaryGoodFirst) {
    EXPECT_EQ(healthCsvText(kDay), std::string(kHealthCsvHeader) +
                                       "\r\n"
                                       "101,11,good,2040,0,3,1,0,0,2.5,4.38\r\n"
                                       "101,12,constant,2039,1,0,0,0,0,240.5,\r\n"
                                       "102,11,card off,2040,0,1300,0,0,12,0.5,\r\n"
                                       "101,13,good,2040,0,0,0,0,0,240,\r\n");
    // At 60 km/h detector 11's g is 2.5 m, too short to be calibrated.
    EXPECT_EQ(healthCsvText(kDay, 60.0).find("4.38"), std::string::npos);
    EXPECT_EQ(healthSummary(kDay), "Detector health: 2 good, 1 card off, 1 constant");
    DetectorHealth every;
    for (const HealthStatus status : kHealthStatuses) {
        every.detectors.push_back({0, 1, 1, status, {}, {}});
    }
    every.detectors.push_back({0, 1, 1, HealthStatus::NoData, {}, {}});
    EXPECT_EQ(healthSummary(every),
              "Detector health: 1 good, 2 no data, 1 insufficient data, 1 card off, "
              "1 high values, 1 intermittent, 1 constant");
}

TEST(HealthReport, StationGradeIsGoodOverListedPerStationLine) {
    std::string texts;
    for (const StationGrade& grade : stationGrades(kDay)) {
        texts += grade.text() + " ";
    }
    EXPECT_EQ(texts, "1/2 1/2 0/1 1/1 ");  // a station number listed twice: each line apart
}

}  // namespace
}  // namespace quorvane
