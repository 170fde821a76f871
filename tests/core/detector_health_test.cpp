// Detector health, graded by the build from an archive written here: one detector per status and
// the borders of every threshold, each counted as the archive gives it (before the station
// combination drops implausible values).
#include "core/detector_health.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <vector>

#include "archive_fixture.h"
#include "base/log.h"
#include "core/station_builder.h"

namespace quorvane {
namespace {

using test::ZipMember;

constexpr int W = kHealthFirstSlot;  // the window's first slot
using enum HealthStatus;

// Slots first .. first + count - 1 set to `volume` and to the raw occupancy `raw`, or, with a
// `step`, alternately `raw` and `raw + step` (so that no run of equal values forms).
struct Paint {
    int first;
    int count;
    int volume;
    int raw;
    int step = 0;
};

// A detector painted over a working day (10 vehicles in every slot, occupancy 10.0 .. 14.9 %
// changing every slot), its status and its counts: samples, implausible, zero occupancy, high
// occupancy, zero volume with occupancy, zero occupancy with volume, longest constant run; the
// occupancy member's extension ("" for none), and whether it has a volume member.
struct Case {
    int16_t detector;
    std::vector<Paint> paints;
    HealthStatus status;
    DetectorCounts counts;
    const char* ext = ".o30";
    bool volumeMember = true;
};

const std::vector<Case> kCases{
    // Working; every sample of the window counts, and nothing before or after it does.
    {101, {{0, W, 99, -5}, {W + kHealthSlots, 240, 0, 0}}, Good, {2040, 0, 0, 0, 0, 0, 1}},
    {102, {}, NoData, {}, ""},
    {103, {}, NoData, {}, ".o30", false},
    {104, {}, NoData, {}, "", false},
    {105, {{W, 817, 41, 120}}, InsufficientData, {1223, 817, 0, 0, 0, 0, 1}},
    // 1224 samples. Volume 40 and 100.0 % are samples; 41 vehicles, 100.1 % and -0.1 % are not.
    {106,
     {{W, 272, 41, 120}, {W + 272, 272, 9, 1001}, {W + 544, 272, 9, -1}, {1416, 10, 40, 1000, -1}},
     Good,
     {1224, 816, 0, 10, 0, 0, 1}},
    {107, {{W, 1204, 0, 0}}, CardOff, {2040, 0, 1204, 0, 0, 0, 1}},
    {108, {{W, 1203, 0, 0}}, Good, {2040, 0, 1203, 0, 0, 0, 1}},  // 59 % of 2040 is 1203.6
    {109, {{1000, 409, 10, 701, 1}}, HighValues, {2040, 0, 0, 409, 0, 0, 1}},
    {110, {{1000, 408, 10, 701, 1}, {1500, 400, 10, 699, 1}}, Good, {2040, 0, 0, 408, 0, 0, 1}},
    {111, {{1000, 41, 0, 50, 1}}, Intermittent, {2040, 0, 0, 0, 41, 0, 1}},
    {112, {{1000, 40, 0, 50, 1}}, Good, {2040, 0, 0, 0, 40, 0, 1}},
    {113, {{700, 1021, 5, 0}}, Intermittent, {2040, 0, 1021, 0, 0, 1021, 1}},
    {114, {{700, 1020, 5, 0}}, Good, {2040, 0, 1020, 0, 0, 1020, 1}},
    {115, {{1000, 480, 10, 250}}, Constant, {2040, 0, 0, 0, 0, 0, 480}},
    {116, {{1000, 479, 10, 250}}, Good, {2040, 0, 0, 0, 0, 0, 479}},
    // A run is counted inside W only, and an implausible slot ends it.
    {117, {{300, 779, 10, 250}, {2161, 600, 10, 250}}, Good, {2040, 0, 0, 0, 0, 0, 479}},
    {118, {{1000, 480, 10, 250}, {1239, 1, 41, 250}}, Good, {2039, 1, 0, 0, 0, 0, 240}},
    // "c30": percent * 18. 1261 is 70.06 %, 1260 exactly 70 %.
    {119,
     {{1000, 409, 10, 1261, 1}, {1500, 200, 10, 1259, 1}},
     HighValues,
     {2040, 0, 0, 409, 0, 0, 1},
     ".c30"},
    // The first status that applies wins.
    {120, {{W, 900, 41, 120}, {1500, 1140, 0, 0}}, InsufficientData, {1140, 900, 1140, 0, 0, 0, 0}},
    {121, {{W, 1300, 0, 0}, {1900, 500, 10, 801, 1}}, CardOff, {2040, 0, 1300, 500, 0, 0, 1}},
    {122, {{W, 500, 10, 900}, {1200, 50, 0, 120, 1}}, HighValues, {2040, 0, 0, 500, 50, 0, 500}},
    {123, {{1000, 480, 10, 250}, {1600, 41, 0, 120, 1}}, Intermittent, {2040, 0, 0, 0, 41, 0, 480}},
};

void addMembers(const Case& c, std::vector<ZipMember>& out) {
    std::vector<uint8_t> volume(kSlotsPerDay, 10);
    std::vector<int16_t> raw(kSlotsPerDay);
    for (int k = 0; k < kSlotsPerDay; ++k) {
        raw[k] = static_cast<int16_t>(100 + k % 50);
    }
    for (const Paint& p : c.paints) {
        for (int k = p.first; k < p.first + p.count && k < kSlotsPerDay; ++k) {
            volume[k] = static_cast<uint8_t>(p.volume);
            raw[k] = static_cast<int16_t>(p.raw + ((k - p.first) % 2) * p.step);
        }
    }
    const std::string name = std::to_string(c.detector);
    if (c.volumeMember) {
        out.push_back({name + ".v30", test::volumeBytes(volume)});
    }
    if (*c.ext != '\0') {
        out.push_back({name + c.ext, test::occupancyBytes(raw)});
    }
}

// Station 1 lists the cases in table order, station 2 the card-off detector and the working
// one again: a detector listed twice is graded in each station, alike.
TEST(DetectorHealth, GradesEveryDetectorByItsCountsOverTheWindow) {
    std::vector<ZipMember> all;
    std::string station1 = "1, P";
    std::vector<DetectorGrade> expected;
    for (const Case& c : kCases) {
        addMembers(c, all);
        station1 += ", " + std::to_string(c.detector);
        expected.push_back({0, 1, c.detector, c.status, c.counts, {}});
    }
    expected.push_back({1, 2, 107, CardOff, kCases[6].counts, {}});
    expected.push_back({1, 2, 101, Good, kCases[0].counts, {}});
    const test::ListedDay day(station1 + ",\r\n2, P, 107, 101,\r\n", all);
    Log log;
    // Graded without the free-flow fits, which the calibration's tests hold.
    const std::vector<DetectorGrade> grades =
        buildStations(day.archive, day.stations, log, {}, BuildOptions{.calibrate = false})
            .health.detectors;
    ASSERT_EQ(grades.size(), expected.size());
    for (std::size_t i = 0; i < grades.size(); ++i) {
        EXPECT_EQ(grades[i], expected[i])
            << grades[i].detector << ": " << statusText(grades[i].status);
    }
}

// The counts as the rules read, slot by slot: the vectorised count must agree on any values,
// wherever in the window (its last slots included) they fall.
DetectorCounts countedSlotBySlot(const VolumeSeries& volume, const OccupancySeries& occ) {
    DetectorCounts c;
    int run = 0;
    for (int k = W; k < W + kHealthSlots; ++k) {
        const bool sample = volume[k] <= 40 && occ[k] >= 0.0f && occ[k] <= 100.0f;
        c.samples += sample;
        c.zeroOccupancy += sample && occ[k] == 0.0f;
        c.highOccupancy += sample && occ[k] > 70.0f;
        c.zeroVolumePositiveOccupancy += sample && volume[k] == 0 && occ[k] > 0.0f;
        c.zeroOccupancyPositiveVolume += sample && occ[k] == 0.0f && volume[k] > 0;
        const bool repeat = k > W && run > 0 && occ[k] == occ[k - 1];
        run = sample && occ[k] > 0.0f ? (repeat ? run + 1 : 1) : 0;
        c.longestConstantSlots = std::max(c.longestConstantSlots, run);
    }
    c.implausible = kHealthSlots - c.samples;
    return c;
}

TEST(DetectorHealth, CountsAgreeWithTheRulesSlotBySlotOnAnyValues) {
    std::mt19937 random(7);
    const std::array<float, 7> occupancies{0.0f, 0.0f, 12.5f, 12.5f, 71.0f, 100.5f, -1.0f};
    const std::array<uint8_t, 5> volumes{0, 3, 3, 40, 41};
    for (int day = 0; day < 200; ++day) {
        VolumeSeries volume{};
        OccupancySeries occ{};
        const int spread = 1 + day % 7;  // fewer kinds of value: longer runs
        for (int k = 0; k < kSlotsPerDay; ++k) {
            volume[k] = volumes[random() % std::min<int>(spread, volumes.size())];
            occ[k] = occupancies[random() % spread];
        }
        ASSERT_EQ(countDetector(volume, occ), countedSlotBySlot(volume, occ)) << day;
    }
}

}  // namespace
}  // namespace quorvane
