#include "views/speed.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>

#include "base/error.h"
#include "base/log.h"
#include "core/day.h"
#include "definitions/station_file.h"
#include "support/test_files.h"
#include "views/interval_table.h"

namespace quorvane {
namespace {

using test::occupancyBytes;
using test::volumeBytes;

constexpr int k30Sec = 0, k5Min = 5, k1Hour = 9;
// The fixed-length estimate at its default lengths, 6.7 m and 22 ft.
const SpeedSettings kKmh = SpeedSettings::fromMetres(SpeedUnit::Kmh, 6.7);
const SpeedSettings kMph = SpeedSettings::fromMetres(SpeedUnit::Mph, 22 * 0.3048);

TEST(SpeedEstimate, FormulasOfBothUnitsWithGapsAndTheCap) {
    const struct {
        double flow;
        double occupancy;
        SpeedSettings settings;
        double expected;  // to a tenth; NaN: no estimate
    } cases[] = {
        {1200, 10, {SpeedUnit::Mph, 22.0}, 50.0},
        {1200, 10, {SpeedUnit::Kmh, 6.7056}, 80.5},
        {1200, 10, kKmh, 80.4},
        {0, 35, kKmh, 0.0},  // standing traffic
        {1200, 0, kKmh, NAN},
        {-30, 10, kKmh, NAN},  // a negative volume from a foreign station file
        {1200, NAN, kKmh, NAN},
        {2000, 1, kKmh, 160.0},  // 1340 km/h estimated at 1 %: shown as the cap
        {2000, 1, kMph, 100.0},
        {1200, 5, kKmh, 160.0},  // 160.8
        {1200, 5.1, kKmh, 157.6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.flow) + " at " + std::to_string(c.occupancy) + " %");
        const double speed = std::round(estimatedSpeed(c.flow, c.occupancy, c.settings) * 10) / 10;
        EXPECT_TRUE(speed == c.expected || (std::isnan(speed) && std::isnan(c.expected))) << speed;
    }
}

TEST(SpeedEstimate, AcceptsVehicleLengthsFromTwoToThirtyMetres) {
    for (const double metres : {2.0, 30.0, 6.7}) {
        EXPECT_TRUE(acceptedVehicleLength(metres)) << metres;
    }
    for (const double metres : {1.99, 30.01, double(NAN)}) {
        EXPECT_FALSE(acceptedVehicleLength(metres)) << metres;
    }
    EXPECT_NEAR(SpeedSettings::fromMetres(SpeedUnit::Mph, 6.7056).vehicleLength, 22.0, 1e-9);
}

// A cell to a hundredth of a km/h and of a lane; "nan" in a gap.
std::string shown(const SpeedCell& cell) {
    char text[40];
    std::snprintf(text, sizeof text, "%.2f %.2f", std::abs(cell.speed), cell.lanes);
    return text;
}

// A built day of stations 1 (detectors 11, 12), 2 (21, 22, 23; 23 is missing from the archive)
// and 3 (31), every detector at 10 vehicles and 10 % in every slot unless `replaced` gives other
// contents for a member.
class BuiltDay : public ::testing::Test {
  protected:
    Day build(const std::map<std::string, std::string>& replaced = {}) {
        test::writeFile(dir / "VURSta2Det.list", "1,P,11,12,\r\n2,P,21,22,23,\r\n3,P,31,\r\n");
        test::writeFile(dir / "VURRoad2Sta.list", "Road,1,2,3,\r\n");
        std::vector<test::ZipMember> members;
        for (const int detector : {11, 12, 21, 22, 31}) {
            for (const auto& [extension, bytes] :
                 {std::pair{".o30", occupancyBytes(int16_t{100})}, {".v30", volumeBytes(10)}}) {
                const std::string name = std::to_string(detector) + extension;
                const auto other = replaced.find(name);
                members.push_back({name, other == replaced.end() ? bytes : other->second});
            }
        }
        test::writeZip(dir / "day.traffic", members);
        Log log;
        return buildDay({dir / "day.traffic", dir.path(), std::nullopt}, log);
    }
    static SpeedTable speeds(const Day& day, int interval, const SpeedSettings& settings = kKmh) {
        const std::vector<int> rows{0, 1, 2};
        return computeSpeeds(day, rows, interval, settings);
    }
    test::TempDir dir;
};

TEST_F(BuiltDay, UniformDayIsKnownByHandWhateverDetectorIsMissing) {
    const Day day = build();
    ASSERT_EQ(day.tables.lanes.size(), 3u * kSlotsPerDay);
    EXPECT_EQ(day.tables.lanes[StationTables::cell(100, 1)], 2);  // 23 did not report
    for (const int interval : {k30Sec, k5Min, k1Hour}) {
        const SpeedTable table = speeds(day, interval);
        ASSERT_EQ(table.intervalCount, kIntervalChoices[interval].intervalCount);
        for (std::size_t row = 0; row < 3; ++row) {
            SCOPED_TRACE(std::to_string(interval) + " row " + std::to_string(row));
            // 1200 vehicles a lane and hour at 10 %, g = 6.7 m: 80.4 km/h, or 50.0 mph at 22 ft.
            for (const int k : {0, table.intervalCount - 1}) {
                EXPECT_EQ(shown(table.at(row, k)), row == 2 ? "80.40 1.00" : "80.40 2.00");
            }
        }
    }
    EXPECT_EQ(shown(speeds(day, k5Min, kMph).at(1, 7)), "50.00 2.00");
}

TEST_F(BuiltDay, SlotsWithoutACountedDetectorAreLeftOutAndAnIntervalOfNoneIsAGap) {
    // Detector 31 reports an implausible occupancy in slots 0..9 (the first "5 min" interval)
    // and in slot 12; detector 11 is silent with 0 % in slot 10, and 12 is implausible there.
    std::vector<int16_t> occ31(kSlotsPerDay, 100), occ12 = occ31, occ11 = occ31;
    std::vector<uint8_t> vol11(kSlotsPerDay, 10);
    std::fill_n(occ31.begin(), 10, int16_t{1500});
    occ31[12] = occ12[10] = 1500;
    occ11[10] = vol11[10] = 0;
    const Day day = build({{"31.o30", occupancyBytes(occ31)},
                           {"12.o30", occupancyBytes(occ12)},
                           {"11.o30", occupancyBytes(occ11)},
                           {"11.v30", volumeBytes(vol11)}});
    const SpeedTable fiveMin = speeds(day, k5Min);
    EXPECT_EQ(shown(fiveMin.at(2, 0)), "nan 0.00");
    // Slot 12 is left out: 9 slots of 10 vehicles on one lane at 10 %, still 80.4.
    EXPECT_EQ(shown(fiveMin.at(2, 1)), "80.40 1.00");
    // Station 1, slot 10: 11 counts (0 vehicles at 0 %), 12 does not but keeps its volume:
    // Q = 10 + 9 * 20, L = (1 + 9 * 2) / 10, O = 9 * 10 / 10: 1200 an hour and lane at 9 %,
    // 1200 * 6.7 / 90 = 89.33 km/h.
    EXPECT_EQ(shown(fiveMin.at(0, 1)), "89.33 1.90");
    EXPECT_EQ(shown(speeds(day, k30Sec).at(0, 10)), "nan 1.00");  // 0 % occupancy: a gap, 1 lane
}

TEST_F(BuiltDay, LoadedDayCountsEveryListedDetectorInEverySlot) {
    const Day built = build();
    writeStationFile(dir / "day.station", built.tables);
    Log log;
    const Day loaded = loadDay(dir / "day.station", dir.path(), log);
    EXPECT_TRUE(loaded.tables.lanes.empty());  // the file holds no lane counts
    const SpeedTable table = speeds(loaded, k5Min);
    EXPECT_EQ(shown(table.at(0, 3)), "80.40 2.00");
    // Station 2 lists three detectors: 20 vehicles a slot over 3 lanes, 800 an hour: 53.6.
    EXPECT_EQ(shown(table.at(1, 3)), "53.60 3.00");
}

}  // namespace
}  // namespace quorvane
