// The sample day's generator: its bytes follow from the seed and its layout from the station
// count, and the day holds the flaws of a real one and a morning queue travelling upstream.
// The engine builds it and grades each flaw as its kind; its log is tested with quorvane-cli.
#include <gtest/gtest.h>

#include <map>
#include <numeric>
#include <sstream>

#include "base/log.h"
#include "core/day.h"
#include "sampleday/layout.h"
#include "sampleday/sample_command.h"
#include "sampleday/sample_day.h"
#include "sampleday/traffic_model.h"
#include "support/test_files.h"

namespace quorvane::sampleday {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;

std::map<std::string, std::string> membersByName(const SampleLayout& layout) {
    std::map<std::string, std::string> byName;
    for (ArchiveMember& member : archiveMembers(layout, kDefaultSeed)) {
        byName[member.name] = std::move(member.bytes);
    }
    return byName;
}

// Slot `slot` of an occupancy member in percent: big-endian 16-bit raw values.
double percentAt(const std::string& occupancy, int slot, bool c30) {
    const auto high = static_cast<uint8_t>(occupancy[2 * slot]);
    const auto low = static_cast<uint8_t>(occupancy[2 * slot + 1]);
    return static_cast<int16_t>(static_cast<uint16_t>(high << 8 | low)) / (c30 ? 18.0 : 10.0);
}

// Mean over slots [first, first + count).
double meanOver(const std::vector<double>& values, int first, int count) {
    return std::accumulate(values.begin() + first, values.begin() + first + count, 0.0) / count;
}

TEST(SampleDay, SameSeedSameBytesOtherSeedOtherBytes) {
    TempDir first, second, third;
    writeSampleDay(first.path(), {40, 7});
    writeSampleDay(second.path(), {40, 7});
    writeSampleDay(third.path(), {40, 8});
    for (const char* name : {"sample.traffic", "VURSta2Det.list", "VURRoad2Sta.list"}) {
        EXPECT_EQ(readFile(first / name), readFile(second / name)) << name;
    }
    EXPECT_NE(readFile(first / "sample.traffic"), readFile(third / "sample.traffic"));
}

TEST(SampleDay, SixtyStationsOnThreeRoadsByDefaultAndMetroSizedForTwoThousand) {
    const SampleLayout layout = planSampleDay({});
    ASSERT_EQ(layout.stations.size(), 60u);
    ASSERT_EQ(layout.roads.size(), 3u);
    for (const SampleRoad& road : layout.roads) {
        EXPECT_EQ(road.stations.size(), 20u);
    }
    for (const SampleStation& station : layout.stations) {
        EXPECT_TRUE(station.detectors.size() == 3 || station.detectors.size() == 4);
    }

    const SampleLayout metro = planSampleDay({2000, 1});
    ASSERT_EQ(metro.stations.size(), 2000u);
    EXPECT_GT(metro.detectorCount(), 7400);
    EXPECT_LT(metro.detectorCount(), 8000);

    // Numbers ascend through the largest day: none wraps past 32767.
    int previousStation = 0;
    int previousDetector = 0;
    for (const SampleStation& station : planSampleDay({kMaxStations, 3}).stations) {
        EXPECT_GT(station.number, previousStation);
        previousStation = station.number;
        for (const SampleDetector& detector : station.detectors) {
            EXPECT_GT(detector.number, previousDetector);
            previousDetector = detector.number;
        }
    }
}

TEST(SampleDay, MembersCarryThePlantedFlaws) {
    const SampleLayout layout = planSampleDay({});
    const auto members = membersByName(layout);
    EXPECT_EQ(static_cast<int>(members.size()), 2 * layout.detectorCount() - 3);
    std::map<DetectorFlaw, int> flaws;
    for (const SampleStation& station : layout.stations) {
        for (const SampleDetector& detector : station.detectors) {
            const std::string number = std::to_string(detector.number);
            const DetectorFlaw flaw = detector.flaw;
            EXPECT_EQ(members.contains(number + ".v30"), flaw != DetectorFlaw::MissingFromArchive);
            EXPECT_EQ(members.contains(number + ".o30"), flaw != DetectorFlaw::MissingFromArchive &&
                                                             flaw != DetectorFlaw::VolumeOnly &&
                                                             flaw != DetectorFlaw::C30);
            EXPECT_EQ(members.contains(number + ".c30"), flaw == DetectorFlaw::C30);
            ++flaws[flaw];
        }
    }
    // Each flaw on one detector: three of the archive's own, five faults of working members.
    EXPECT_EQ(flaws.size(), 9u);
    flaws.erase(DetectorFlaw::None);
    for (const auto& [flaw, count] : flaws) {
        EXPECT_EQ(count, 1) << static_cast<int>(flaw);
    }

    // Three volumes above 40 and three occupancies above 100 %; busy lanes otherwise carry
    // close to 20 vehicles in 30 s.
    int highVolumes = 0;
    int highOccupancies = 0;
    int maxVolume = 0;
    for (const auto& [name, bytes] : members) {
        for (int k = 0; k < kSlots; ++k) {
            if (name.ends_with(".v30")) {
                const int volume = static_cast<uint8_t>(bytes[k]);
                highVolumes += volume > 40;
                maxVolume = volume > 40 ? maxVolume : std::max(maxVolume, volume);
            } else {
                highOccupancies += percentAt(bytes, k, name.ends_with(".c30")) > 100.0;
            }
        }
    }
    EXPECT_EQ(highVolumes, 3);
    EXPECT_EQ(highOccupancies, 3);
    EXPECT_GE(maxVolume, 18);
    EXPECT_LE(maxVolume, 35);
}

// The queue of each morning peak stands upstream of the bottleneck at 25 to 40 % and reaches
// stations further upstream later: a wave travelling against the traffic. Past the bottleneck
// the road flows freely, and at night it is nearly empty.
TEST(SampleDay, QueueGrowsUpstreamFromTheBottleneck) {
    const SampleLayout layout = planSampleDay({});
    const auto members = membersByName(layout);
    // A station's mean detector occupancy per slot.
    auto occupancy = [&](const SampleStation& station) {
        std::vector<double> mean(kSlots, 0.0);
        int counted = 0;
        for (const SampleDetector& detector : station.detectors) {
            const std::string number = std::to_string(detector.number);
            const bool c30 = members.contains(number + ".c30");
            const auto it = members.find(number + (c30 ? ".c30" : ".o30"));
            counted += it != members.end();
            for (int k = 0; it != members.end() && k < kSlots; ++k) {
                mean[k] += percentAt(it->second, k, c30);
            }
        }
        for (double& value : mean) {
            value /= counted;
        }
        return mean;
    };
    // The first 10-minute block from 05:00 whose mean occupancy passes 20 %, or -1.
    auto onset = [](const std::vector<double>& percent) {
        for (int slot = 5 * 120; slot + 20 <= kSlots; slot += 20) {
            if (meanOver(percent, slot, 20) > 20.0) {
                return slot;
            }
        }
        return -1;
    };
    for (const SampleRoad& road : layout.roads) {
        SCOPED_TRACE(road.name);
        const int b = road.bottleneckCell;
        ASSERT_GE(b, 4);
        auto atCell = [&](int cell) { return occupancy(layout.stations[road.stations[cell]]); };
        const std::vector<double> nearBottleneck = atCell(b - 1);
        const int nearOnset = onset(nearBottleneck);
        ASSERT_GE(nearOnset, 0);
        EXPECT_LT(nearOnset, onset(atCell(b - 4)));
        EXPECT_LT(nearOnset, 10 * 120) << "the morning queue forms before 10:00";
        const double queued = meanOver(nearBottleneck, nearOnset + 20, 40);
        EXPECT_GT(queued, 22.0);
        EXPECT_LT(queued, 45.0);
        EXPECT_LT(meanOver(atCell(b + 1), nearOnset + 20, 40), 15.0) << "free flow past it";
        EXPECT_LT(meanOver(atCell(b + 1), 3 * 120, 120), 2.0) << "03:00";
    }
}

// What the health grading of a build must say of each planted flaw; the detectors without one
// (also those with a single implausible value, and the "c30" one) are good.
HealthStatus expectedStatus(const SampleDetector& detector) {
    switch (detector.flaw) {
        case DetectorFlaw::MissingFromArchive:
        case DetectorFlaw::VolumeOnly:
            return HealthStatus::NoData;
        case DetectorFlaw::CardOff:
            return HealthStatus::CardOff;
        case DetectorFlaw::StuckOccupancy:
            return HealthStatus::Constant;
        case DetectorFlaw::Chattering:
            return HealthStatus::Intermittent;
        case DetectorFlaw::HighOccupancy:
            return HealthStatus::HighValues;
        case DetectorFlaw::GarbledOccupancy:
            return HealthStatus::InsufficientData;
        default:
            return HealthStatus::Good;
    }
}

TEST(SampleDay, BuildGradesEachPlantedFlawAsItsKindAndTheRestGood) {
    for (const SampleOptions options : {SampleOptions{}, SampleOptions{400, 5}}) {
        SCOPED_TRACE(options.stations);
        TempDir dir;
        writeSampleDay(dir.path(), options);
        Log log;
        const Day day = buildDay({dir / "sample.traffic", dir.path(), std::nullopt}, log);
        ASSERT_TRUE(day.health.has_value());
        const std::vector<DetectorGrade>& grades = day.health->detectors;
        std::size_t row = 0;
        for (const SampleStation& station : planSampleDay(options).stations) {
            for (const SampleDetector& detector : station.detectors) {
                ASSERT_LT(row, grades.size());
                EXPECT_EQ(grades[row].detector, detector.number);
                EXPECT_EQ(statusText(grades[row].status), statusText(expectedStatus(detector)))
                    << detector.number;
                ++row;
            }
        }
        EXPECT_EQ(row, grades.size());
    }
}

TEST(SampleCommand, WritesTheDayOrRefusesABadCommandLine) {
    TempDir dir;
    std::ostringstream out, err;
    const std::vector<std::string_view> bad[] = {
        {},         {"--stations", "0", "x"}, {"x", "--stations", "abc"}, {"x", "--seed"},
        {"x", "y"}, {"x", "--colour", "red"}, {"x", "--stations", "5001"}};
    for (const auto& args : bad) {
        EXPECT_EQ(runSampleCommand(args, out, err, "quorvane-sample"), 2);
    }
    EXPECT_NE(err.str().find("usage: quorvane-sample DIR"), std::string::npos);
    const std::string target = (dir / "new" / "day").string();
    const std::vector<std::string_view> good{target, "--stations", "25", "--seed", "9"};
    EXPECT_EQ(runSampleCommand(good, out, err, "quorvane-sample"), 0);
    EXPECT_NE(out.str().find("25 stations on 1 road,"), std::string::npos);
    EXPECT_TRUE(fs::exists(dir / "new" / "day" / "sample.traffic"));

    test::writeFile(dir / "file", "x");
    const std::string blocked = (dir / "file" / "day").string();
    const std::vector<std::string_view> unwritable{blocked};
    EXPECT_EQ(runSampleCommand(unwritable, out, err, "quorvane-sample"), 1);
    EXPECT_NE(err.str().find("Error No: 76, "), std::string::npos);
}

}  // namespace
}  // namespace quorvane::sampleday
