// The calibrated speed estimate on days whose answer is known by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "base/log.h"
#include "core/calibration.h"
#include "core/day.h"
#include "core/unzip.h"
#include "definitions/station_file.h"
#include "support/test_files.h"
#include "views/interval_table.h"
#include "views/speed.h"

namespace quorvane {
namespace {

constexpr int k5Min = 5;
constexpr int kQueueFirstSlot = 840;  // 07:00 .. 07:59:30, five-minute intervals 84 .. 95
constexpr int kQueueSlots = 120;

// A lane whose vehicles all have the effective length g: at speed v a slot of q vehicles
// occupies q * 120 * g / (10 * v) percent (raw tenths). Free flow at 105 km/h alternates 5 and 7
// vehicles a slot (so no occupancy stands still for hours); the queue from 07:00 to 08:00 at
// 42 km/h alternates 8 and 10, above the 10 % of free flow in every lane.
std::vector<test::ZipMember> lane(int detector, double g, bool queue,
                                  std::array<int, 2> freeFlowVolumes = {5, 7}) {
    std::vector<uint8_t> volume(kSlotsPerDay);
    std::vector<int16_t> raw(kSlotsPerDay);
    for (int k = 0; k < kSlotsPerDay; ++k) {
        const bool queued = queue && k >= kQueueFirstSlot && k < kQueueFirstSlot + kQueueSlots;
        const int q = queued ? (k % 2 == 0 ? 8 : 10) : freeFlowVolumes[k % 2];
        const double speed = queued ? 42.0 : 105.0;
        volume[k] = static_cast<uint8_t>(q);
        raw[k] = static_cast<int16_t>(std::lround(q * 120 * g / speed));  // tenths of a percent
    }
    const std::string name = std::to_string(detector);
    return {{name + ".v30", test::volumeBytes(volume)}, {name + ".o30", test::occupancyBytes(raw)}};
}

// Station 1: lanes 11 (g 5.25 m) and 12 (g 10.5 m) and lane 13 stuck at 75 % ("high values");
// station 2 the same two lanes alone; station 3 lanes 11 and 12 without the queue and lane 14,
// whose g of 4.2 m at 105 km/h is 2.8 m, too short, at 70 km/h.
class CalibratedDay : public ::testing::Test {
  protected:
    void SetUp() override {
        test::writeFile(dir / "VURSta2Det.list",
                        "1,P,11,12,13,\r\n2,P,11,12,\r\n3,P,21,22,14,\r\n");
        test::writeFile(dir / "VURRoad2Sta.list", "Road,1,2,3,\r\n");
        std::vector<test::ZipMember> members;
        for (const auto& detector :
             {lane(11, 5.25, true), lane(12, 10.5, true), lane(21, 5.25, false),
              lane(22, 10.5, false), lane(14, 4.2, false, {5, 10})}) {
            members.insert(members.end(), detector.begin(), detector.end());
        }
        members.push_back({"13.v30", test::volumeBytes(6)});
        members.push_back({"13.o30", test::occupancyBytes(int16_t{750})});
        test::writeZip(dir / "day.traffic", members);
        Log log;
        day = buildDay({dir / "day.traffic", dir.path(), std::nullopt}, log);
    }
    SpeedTable speeds(const SpeedSettings& settings = SpeedSettings::defaults(SpeedUnit::Kmh)) {
        const std::vector<int> rows{0, 1, 2};
        return computeSpeeds(day, rows, k5Min, settings);
    }

    test::TempDir dir;
    Day day;
};

TEST_F(CalibratedDay, LanesOfDifferentLengthsGiveTheTrueSpeedAndABadLaneChangesNothing) {
    ASSERT_TRUE(day.health && day.calibration);
    const std::vector<DetectorGrade>& grades = day.health->detectors;
    EXPECT_NEAR(grades[0].fit.gFactor(105.0), 5.25, 1e-5);  // occupancies are floats
    EXPECT_NEAR(grades[1].fit.gFactor(105.0), 10.5, 1e-5);
    EXPECT_EQ(grades[2].status, HealthStatus::HighValues);
    EXPECT_EQ(grades[2].fit, FreeFlowFit{});  // a bad detector is not fitted at all

    const SpeedTable table = speeds();
    EXPECT_EQ(table.estimate, SpeedEstimate::Calibrated);
    // Away from the transitions (the smoothing needs a few intervals to follow a step), the
    // true speeds within 1 %; the stuck lane counts in neither.
    for (const int t : {0, 50, 83, 88, 95, 101, 200, 287}) {
        const double truth = t >= 84 && t <= 95 ? 42.0 : 105.0;
        EXPECT_NEAR(table.at(0, t).speed, truth, truth / 100) << t;
        EXPECT_EQ(table.at(0, t).speed, table.at(1, t).speed) << t;
        EXPECT_EQ(table.at(0, t).lanes, 2.0f);
    }
    // The fixed length, by contrast, reads the stuck lane's 75 % into the station's occupancy.
    SpeedSettings fixed = SpeedSettings::fromMetres(SpeedUnit::Kmh, 6.7);
    EXPECT_LT(speeds(fixed).at(0, 50).speed, 30.0f);
}

TEST_F(CalibratedDay, DetectorsJoinTheEstimateOnlyWhereTheFreeFlowSpeedCalibratesThem) {
    // Lane 14 is kept aside whole, its occupancies exactly as the member gave them.
    ASSERT_EQ(day.calibration->borderline.size(), 1u);
    EXPECT_EQ(day.calibration->borderline[0].occupancyAt(600), 24 / 10.0f);
    EXPECT_EQ(day.calibration->borderline[0].occupancyAt(601), 48 / 10.0f);
    SpeedSettings settings = SpeedSettings::defaults(SpeedUnit::Kmh);
    EXPECT_EQ(speeds(settings).at(2, 50).lanes, 3.0f);
    settings.freeFlowSpeed = 70.0;  // lane 14's g is 2.8 m
    const SpeedCell slower = speeds(settings).at(2, 50);
    EXPECT_EQ(slower.lanes, 2.0f);
    EXPECT_NEAR(slower.speed, 70.0, 0.7);  // free flow reads as V, whatever V is
    // In mph V is 65 mph by default, and the same estimate comes out in mph.
    EXPECT_NEAR(speeds(SpeedSettings::defaults(SpeedUnit::Mph)).at(2, 50).speed, 65.0, 0.65);
    settings.freeFlowSpeed = 59.9;
    EXPECT_EQ(test::errorOf([&] { speeds(settings); }).number(), errc::kInvalidArgument);
}

TEST_F(CalibratedDay, LoadedDayFallsBackToTheFixedLengthAndSaysSo) {
    writeStationFile(dir / "day.station", day.tables);
    Log log;
    day = loadDay(dir / "day.station", dir.path(), log);
    EXPECT_EQ(speeds().estimate, SpeedEstimate::FixedLength);
    EXPECT_EQ(speedEstimateNote(day, SpeedSettings::defaults(SpeedUnit::Kmh)), kLoadedDaySpeedNote);
}

// Free-flow intervals need all ten slots samples, some vehicles and a mean occupancy above 0 and
// at most 10 %; calibration needs 12 of them and a g of 3 .. 20 m.
TEST(FreeFlowFit, CountsOnlyCleanLightIntervalsAndCalibratesWithinTheBorders) {
    VolumeSeries volume{};
    OccupancySeries occ{};
    const auto interval = [&](int index, uint8_t q, float o) {
        for (int k = 0; k < 10; ++k) {
            volume[static_cast<std::size_t>(600 + 10 * index + k)] = q;
            occ[static_cast<std::size_t>(600 + 10 * index + k)] = o;
        }
    };
    interval(0, 6, 10.0f);  // counts: exactly 10 %
    interval(1, 6, 10.1f);
    interval(2, 0, 3.0f);
    interval(3, 6, 0.0f);
    interval(4, 6, 3.0f);
    occ[640] = 100.5f;       // one implausible slot spoils interval 4
    interval(203, 6, 3.0f);  // the last interval of the window, 21:55 .. 21:59:30
    const FreeFlowFit fit = fitFreeFlow(volume, occ);
    EXPECT_EQ(fit.intervals, 2);
    EXPECT_NEAR(fit.gFactor(105.0), 10.0 * 105.0 * 13.0 / 1440.0, 1e-9);

    // sum O / sum F = 0.02: g = V / 5 m.
    const FreeFlowFit twelve{12, 120.0, 6000.0};
    const FreeFlowFit eleven{11, 110.0, 5500.0};
    EXPECT_TRUE(twelve.calibrated(100.0));  // 20 m
    EXPECT_FALSE(twelve.calibrated(100.1));
    EXPECT_FALSE(eleven.calibrated(100.0));
    EXPECT_TRUE(twelve.calibrated(60.0) && (FreeFlowFit{12, 36.0, 12000.0}).calibrated(100.0));
    EXPECT_FALSE((FreeFlowFit{12, 36.0, 12000.0}).calibrated(99.9));  // 2.997 m
}

// One station of one contributing lane whose raw estimate steps from 100 to 50 km/h at 01:00;
// five vehicles a slot are 50 a lane in five minutes, a weight of 50 / (50 + 50).
TEST(CalibratedSpeeds, SmoothTheStepFromTheFirstEstimateOnAndBridgeAGap) {
    CalibratedSums sums = CalibratedSums::zeroed(1);
    for (int k = 0; k < kSlotsPerDay; ++k) {
        const double speed = k < 120 ? 100.0 : 50.0;
        const bool gap = k >= 130 && k < 140;  // 01:05 .. 01:10 no detector reported
        sums.volume[k] = gap ? 0 : 5;
        sums.detectors[k] = gap ? 0 : 1;
        sums.density[k] = gap ? 0.0f : static_cast<float>(120.0 * 5 * 105.0 / speed);
    }
    const std::vector<int> rows{0};
    const SpeedTable table =
        calibratedSpeeds(sums, rows, k5Min, SpeedSettings::defaults(SpeedUnit::Kmh));
    const std::function<double(int)> at = [&](int t) { return table.at(0, t).speed; };
    EXPECT_NEAR(at(0), 100.0, 1e-3);  // the first estimate as it is
    EXPECT_NEAR(at(12), 75.0, 1e-3);
    EXPECT_TRUE(std::isnan(at(13)));
    EXPECT_EQ(table.at(0, 13).lanes, 0.0f);
    EXPECT_NEAR(at(14), 62.5, 1e-3);  // against 75, the last estimate before the gap
    EXPECT_NEAR(at(15), 56.25, 1e-3);
}

}  // namespace
}  // namespace quorvane
