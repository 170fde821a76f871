// The sample day's generator: its bytes follow from the seed, its numbers fit the lists up to the
// largest day, and its road model shows a morning queue travelling upstream. Its flaws, build log
// and health grades are tested with quorvane-cli sample, build and health.
#include <gtest/gtest.h>

#include <numeric>

#include "base/log.h"
#include "core/day.h"
#include "sampleday/layout.h"
#include "sampleday/sample_day.h"
#include "sampleday/traffic_model.h"
#include "support/test_files.h"
#include "views/bottlenecks.h"
#include "views/road_measures.h"

namespace quorvane::sampleday {
namespace {

using test::readFile;
using test::TempDir;

// Mean over slots [first, first + count).
double meanOver(const std::vector<float>& values, int first, int count) {
    return std::accumulate(values.begin() + first, values.begin() + first + count, 0.0) / count;
}

TEST(SampleDay, SameSeedSameBytesOtherSeedOtherBytes) {
    TempDir first, second, third;
    for (const auto& [dir, seed] : {std::pair{&first, 7}, {&second, 7}, {&third, 8}}) {
        writeSampleDay(dir->path(), {40, static_cast<uint64_t>(seed)});
    }
    for (const char* name : {"sample.traffic", "VURSta2Det.list", "VURRoad2Sta.list"}) {
        EXPECT_EQ(readFile(first / name), readFile(second / name)) << name;
    }
    EXPECT_NE(readFile(first / "sample.traffic"), readFile(third / "sample.traffic"));
}

// Numbers ascend through the largest day: none wraps past 32767.
TEST(SampleDay, NoNumberWrapsOnTheLargestDay) {
    int previousStation = 0, previousDetector = 0;
    for (const SampleStation& station : planSampleDay({kMaxStations, 3}).stations) {
        EXPECT_GT(station.number, previousStation);
        previousStation = station.number;
        for (const SampleDetector& detector : station.detectors) {
            EXPECT_GT(detector.number, previousDetector);
            previousDetector = detector.number;
        }
    }
}

// The queue of each morning peak stands upstream of the bottleneck and reaches stations further
// upstream later: a wave travelling against the traffic. Past the bottleneck the road flows
// freely, and at night it is nearly empty.
TEST(SampleDay, QueueGrowsUpstreamFromTheBottleneck) {
    const SampleLayout layout = planSampleDay({});
    // The first 10-minute block from 05:00 whose mean speed falls below 50 km/h, or -1.
    const auto onset = [](const CellSeries& cell) {
        for (int slot = 5 * 120; slot + 20 <= kSlots; slot += 20) {
            if (meanOver(cell.speedKmh, slot, 20) < 50.0) {
                return slot;
            }
        }
        return -1;
    };
    for (const SampleRoad& road : layout.roads) {
        SCOPED_TRACE(road.name);
        const std::vector<CellSeries> cells = simulateRoad(road, kDefaultSeed);
        const int b = road.bottleneckCell;
        ASSERT_GE(b, 4);
        const int nearOnset = onset(cells[b - 1]);
        ASSERT_GE(nearOnset, 0);
        EXPECT_LT(nearOnset, onset(cells[b - 4]));
        EXPECT_LT(nearOnset, 10 * 120) << "the morning queue forms before 10:00";
        EXPECT_LT(meanOver(cells[b - 1].speedKmh, nearOnset + 20, 40), 40.0) << "queued";
        EXPECT_GT(meanOver(cells[b + 1].speedKmh, nearOnset + 20, 40), 80.0) << "free past it";
        EXPECT_LT(meanOver(cells[b + 1].vehicles, 3 * 120, 120), 2.0) << "03:00, a lane and slot";
    }
}

// The bottleneck finder, on the built sample day, finds each road's bottleneck once in each peak
// and nowhere else: the pair of stations around the cell where the road narrows.
TEST(SampleDay, FinderFindsEachRoadsBottleneckInBothPeaks) {
    TempDir dir;
    const SampleLayout layout = planSampleDay({});
    writeSampleDay(dir.path(), {});
    Log log;
    const Day day = buildDay({dir / "sample.traffic", dir.path(), std::nullopt}, log);
    for (int r = 0; r < day.roads.count(); ++r) {
        const SampleRoad& road = layout.roads[static_cast<std::size_t>(r)];
        SCOPED_TRACE(road.name);
        const auto found = findBottlenecks(day, r, SpeedSettings::defaults(SpeedUnit::Kmh),
                                           kDefaultThresholdKmh, log);
        const auto& activations = std::get<RoadBottlenecks>(found).activations;
        ASSERT_EQ(activations.size(), 2u);
        const auto station = [&](int cell) {
            return layout
                .stations[static_cast<std::size_t>(road.stations[static_cast<std::size_t>(cell)])]
                .number;
        };
        for (const Activation& a : activations) {
            EXPECT_EQ(std::pair(a.upstreamStation, a.downstreamStation),
                      std::pair(station(road.bottleneckCell - 1), station(road.bottleneckCell)));
        }
        EXPECT_EQ(std::pair(activations[0].shift, activations[1].shift),
                  std::pair(Shift::AM, Shift::PM));
    }
}

}  // namespace
}  // namespace quorvane::sampleday
