// Detector health, graded by the build from archives written here: one detector per status and
// the borders of every threshold, each counted as the archive gives it (before the station
// combination drops implausible values).
#include "core/detector_health.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "archive_fixture.h"
#include "base/log.h"
#include "core/day.h"
#include "core/station_builder.h"
#include "definitions/station_file.h"
#include "definitions/station_list.h"

namespace quorvane {
namespace {

using test::TempDir;
using test::ZipMember;

constexpr int W = kHealthFirstSlot;  // the window's first slot
constexpr auto kNoData = HealthStatus::NoData;
constexpr auto kInsufficient = HealthStatus::InsufficientData;
constexpr auto kCardOff = HealthStatus::CardOff;
constexpr auto kHigh = HealthStatus::HighValues;
constexpr auto kIntermittent = HealthStatus::Intermittent;
constexpr auto kConstant = HealthStatus::Constant;
constexpr auto kGood = HealthStatus::Good;

// Slots first .. first + count - 1 set to `volume` and to the raw occupancy `raw`, or, with a
// `step`, alternately `raw` and `raw + step` (so that no run of equal values forms).
struct Paint {
    int first;
    int count;
    int volume;
    int raw;
    int step = 0;
};

enum class Members { Both, VolumeOnly, OccupancyOnly, None };

struct Case {
    int16_t detector;
    const char* what;
    std::vector<Paint> paints;
    HealthStatus status;
    DetectorCounts counts;  // samples, implausible, zero, high, zero volume, zero occ., run
    const char* ext = "o30";
    Members members = Members::Both;
};

// A working detector: 10 vehicles in every slot, occupancy 10.0 .. 14.9 % changing every slot.
constexpr int kBaseVolume = 10;
int baseRaw(int slot) {
    return 100 + slot % 50;
}

// Every sample of the window counts, and nothing before or after it does.
const std::vector<Paint> kOutsideW{{0, W, 99, -5}, {W + kHealthSlots, 240, 0, 0}};

const std::vector<Case>& cases() {
    static const std::vector<Case> table{
        {101, "working", kOutsideW, kGood, {2040, 0, 0, 0, 0, 0, 1}},
        {102, "volume member only", {}, kNoData, {}, "o30", Members::VolumeOnly},
        {103, "occupancy member only", {}, kNoData, {}, "o30", Members::OccupancyOnly},
        {104, "absent from the archive", {}, kNoData, {}, "o30", Members::None},
        {105, "1223 samples", {{W, 817, 41, 120}}, kInsufficient, {1223, 817, 0, 0, 0, 0, 1}},
        // Volume 40 and 100.0 % are samples; 41 vehicles, 100.1 % and -0.1 % are not.
        {106,
         "1224 samples",
         {{W, 272, 41, 120},
          {W + 272, 272, 9, 1001},
          {W + 544, 272, 9, -1},
          {1416, 10, 40, 1000, -1}},
         kGood,
         {1224, 816, 0, 10, 0, 0, 1}},
        {107, "1204 zero occupancies", {{W, 1204, 0, 0}}, kCardOff, {2040, 0, 1204, 0, 0, 0, 1}},
        {108, "1203 zero occupancies, 59 %", {{W, 1203, 0, 0}}, kGood, {2040, 0, 1203, 0, 0, 0, 1}},
        {109, "409 above 70 %", {{1000, 409, 10, 701, 1}}, kHigh, {2040, 0, 0, 409, 0, 0, 1}},
        {110,
         "408 above 70 %, 400 at 70 % or less",
         {{1000, 408, 10, 701, 1}, {1500, 400, 10, 699, 1}},
         kGood,
         {2040, 0, 0, 408, 0, 0, 1}},
        {111,
         "41 empty slots occupied",
         {{1000, 41, 0, 50, 1}},
         kIntermittent,
         {2040, 0, 0, 0, 41, 0, 1}},
        {112, "40 empty slots occupied", {{1000, 40, 0, 50, 1}}, kGood, {2040, 0, 0, 0, 40, 0, 1}},
        {113,
         "1021 vehicles unseen",
         {{700, 1021, 5, 0}},
         kIntermittent,
         {2040, 0, 1021, 0, 0, 1021, 1}},
        {114, "1020 vehicles unseen", {{700, 1020, 5, 0}}, kGood, {2040, 0, 1020, 0, 0, 1020, 1}},
        {115, "480 slots stuck", {{1000, 480, 10, 250}}, kConstant, {2040, 0, 0, 0, 0, 0, 480}},
        {116, "479 slots stuck", {{1000, 479, 10, 250}}, kGood, {2040, 0, 0, 0, 0, 0, 479}},
        // A run is counted inside W only, and an implausible slot ends it.
        {117,
         "stuck across the window's ends",
         {{300, 779, 10, 250}, {2161, 600, 10, 250}},
         kGood,
         {2040, 0, 0, 0, 0, 0, 479}},
        {118,
         "a stuck run broken by an implausible slot",
         {{1000, 480, 10, 250}, {1239, 1, 41, 250}},
         kGood,
         {2039, 1, 0, 0, 0, 0, 240}},
        // "c30": percent * 18. 1261 is 70.06 %, 1260 exactly 70 %.
        {119,
         "c30 above 70 %",
         {{1000, 409, 10, 1261, 1}, {1500, 200, 10, 1259, 1}},
         kHigh,
         {2040, 0, 0, 409, 0, 0, 1},
         "c30"},
        // The first status that applies wins.
        {120,
         "implausible, the rest zero",
         {{W, 900, 41, 120}, {1500, 1140, 0, 0}},
         kInsufficient,
         {1140, 900, 1140, 0, 0, 0, 0}},
        {121,
         "card off and high",
         {{W, 1300, 0, 0}, {1900, 500, 10, 801, 1}},
         kCardOff,
         {2040, 0, 1300, 500, 0, 0, 1}},
        {122,
         "high, stuck and chattering",
         {{W, 500, 10, 900}, {1200, 50, 0, 120, 1}},
         kHigh,
         {2040, 0, 0, 500, 50, 0, 500}},
        {123,
         "stuck and chattering",
         {{1000, 480, 10, 250}, {1600, 41, 0, 120, 1}},
         kIntermittent,
         {2040, 0, 0, 0, 41, 0, 480}},
    };
    return table;
}

std::vector<ZipMember> members(const Case& c) {
    std::vector<uint8_t> volume(kSlotsPerDay, kBaseVolume);
    std::vector<int16_t> raw(kSlotsPerDay);
    for (int k = 0; k < kSlotsPerDay; ++k) {
        raw[k] = static_cast<int16_t>(baseRaw(k));
    }
    for (const Paint& p : c.paints) {
        for (int k = p.first; k < p.first + p.count && k < kSlotsPerDay; ++k) {
            volume[k] = static_cast<uint8_t>(p.volume);
            raw[k] = static_cast<int16_t>(p.raw + ((k - p.first) % 2) * p.step);
        }
    }
    const std::string name = std::to_string(c.detector);
    std::vector<ZipMember> out;
    if (c.members == Members::Both || c.members == Members::VolumeOnly) {
        out.push_back({name + ".v30", test::volumeBytes(volume)});
    }
    if (c.members == Members::Both || c.members == Members::OccupancyOnly) {
        out.push_back({name + "." + c.ext, test::occupancyBytes(raw)});
    }
    return out;
}

// Every case's detector in an archive; station 1 lists the cases in table order, station 2
// lists the card-off detector and the working one again.
struct HealthDay {
    TempDir dir;
    Unzip archive;
    StationList stations;

    HealthDay() {
        std::vector<ZipMember> all;
        std::string station1 = "1, P";
        for (const Case& c : cases()) {
            const std::vector<ZipMember> own = members(c);
            all.insert(all.end(), own.begin(), own.end());
            station1 += ", " + std::to_string(c.detector);
        }
        test::writeFile(dir / "VURSta2Det.list", station1 + ",\r\n2, P, 107, 101,\r\n");
        test::writeFile(dir / "VURRoad2Sta.list", "Test Road, 1, 2,\r\n");
        archive = test::listedMembers(dir, all);
        stations = StationList::buildList(dir.path());
    }
};

TEST(DetectorHealth, GradesEveryDetectorByItsCountsOverTheWindow) {
    const HealthDay day;
    Log log;
    const StationBuild build = buildStations(day.archive, day.stations, log);
    const std::vector<DetectorGrade>& grades = build.health.detectors;
    ASSERT_EQ(grades.size(), cases().size() + 2);
    for (std::size_t i = 0; i < cases().size(); ++i) {
        const Case& c = cases()[i];
        SCOPED_TRACE(std::to_string(c.detector) + " " + c.what);
        EXPECT_EQ(grades[i].stationRow, 0);
        EXPECT_EQ(grades[i].station, 1);
        EXPECT_EQ(grades[i].detector, c.detector);
        EXPECT_EQ(statusText(grades[i].status), statusText(c.status));
        EXPECT_EQ(grades[i].counts, c.counts);
    }
    // Listed in a second station: graded there too, alike.
    EXPECT_EQ(grades[cases().size()].stationRow, 1);
    EXPECT_EQ(grades[cases().size()].station, 2);
    EXPECT_EQ(grades[cases().size()].detector, 107);
    EXPECT_EQ(grades[cases().size()].status, kCardOff);
    EXPECT_EQ(grades[cases().size()].counts, grades[6].counts);
    EXPECT_EQ(grades[cases().size() + 1].detector, 101);
    EXPECT_EQ(grades[cases().size() + 1].counts, grades[0].counts);
}

TEST(DetectorHealth, ReaderThreadsAndTheSwitchLeaveTablesAndGradesAlike) {
    const HealthDay day;
    Log sequentialLog;
    const StationBuild sequential =
        buildStations(day.archive, day.stations, sequentialLog, {}, BuildOptions{0, 64});
    for (const int readers : {1, 2}) {
        Log log;
        const StationBuild threaded =
            buildStations(day.archive, day.stations, log, {}, BuildOptions{readers, 1});
        EXPECT_EQ(threaded.health, sequential.health);
        EXPECT_EQ(threaded.tables, sequential.tables);
    }
    Log log;
    const StationBuild ungraded =
        buildStations(day.archive, day.stations, log, {}, BuildOptions{2, 64, false});
    EXPECT_TRUE(ungraded.health.detectors.empty());
    EXPECT_EQ(ungraded.tables, sequential.tables);
    EXPECT_EQ(log.logText(), sequentialLog.logText());
}

TEST(DetectorHealth, BuiltDayCarriesItsGradesALoadedDayNone) {
    const HealthDay day;
    Log log;
    const Day built = buildDay({day.dir / "day.traffic", day.dir.path(), std::nullopt}, log);
    ASSERT_TRUE(built.health.has_value());
    EXPECT_EQ(built.health->detectors.size(), cases().size() + 2);
    writeStationFile(day.dir / "day.station", built.tables);
    EXPECT_FALSE(loadDay(day.dir / "day.station", day.dir.path(), log).health.has_value());
}

// What the grading reads is whatever the members hold; a NaN cannot come from a member but
// must still be no sample.
TEST(DetectorHealth, NanOccupancyIsNoSample) {
    VolumeSeries volume{};
    OccupancySeries occupancy{};
    occupancy.fill(5.0f);
    occupancy[W] = std::numeric_limits<float>::quiet_NaN();
    occupancy[W + 1] = std::numeric_limits<float>::quiet_NaN();
    const DetectorCounts counts = countDetector(volume, occupancy);
    EXPECT_EQ(counts.samples, kHealthSlots - 2);
    EXPECT_EQ(counts.implausible, 2);
    EXPECT_EQ(counts.longestConstantSlots, kHealthSlots - 2);
    EXPECT_EQ(counts.zeroVolumePositiveOccupancy, kHealthSlots - 2);
}

}  // namespace
}  // namespace quorvane
