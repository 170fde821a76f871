// The sample day's generator: its bytes follow from the seed, its numbers fit the lists up to the
// largest day, and its roads show a morning queue travelling upstream. Its flaws, build log and
// health grades are tested with quorvane-cli sample, build and health.
#include <gtest/gtest.h>

#include <map>
#include <numeric>

#include "sampleday/layout.h"
#include "sampleday/sample_day.h"
#include "sampleday/traffic_model.h"
#include "support/test_files.h"

namespace quorvane::sampleday {
namespace {

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

// A metro-size day for the benchmarks; numbers ascend through the largest day: none wraps past
// 32767.
TEST(SampleDay, MetroSizedForTwoThousandAndNoNumberWrapsOnTheLargestDay) {
    const SampleLayout metro = planSampleDay({2000, 1});
    ASSERT_EQ(metro.stations.size(), 2000u);
    EXPECT_GT(metro.detectorCount(), 7400);
    EXPECT_LT(metro.detectorCount(), 8000);
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

}  // namespace
}  // namespace quorvane::sampleday
