// The bottleneck rule on roads whose activations are known by hand.
#include "views/bottlenecks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

#include "views/road_measures.h"
#include "views/road_picture.h"

namespace quorvane {
namespace {

constexpr int kIntervals = 288;
constexpr int kVolume = 100;  // every station, every five minutes

// A road of stations 1, 2, ... at the posts given, all at 100 km/h unless slowed.
class Road {
  public:
    explicit Road(std::initializer_list<double> posts) {
        geometry.name = "Ring, \"inner\"";
        for (const double post : posts) {
            geometry.rows.push_back(static_cast<int>(geometry.rows.size()));
            geometry.stations.push_back(static_cast<int16_t>(geometry.rows.size()));
            geometry.postsKm.push_back(post);
        }
        const std::size_t n = geometry.postsKm.size();
        for (std::size_t i = 0; i < n; ++i) {
            const double before = i > 0 ? geometry.gapKm(i - 1) : 0.0;
            const double after = i + 1 < n ? geometry.gapKm(i) : 0.0;
            geometry.lengthsKm.push_back((before + after) / 2);
        }
        speeds.intervalIndex = kBottleneckIntervalIndex;
        speeds.intervalCount = kIntervals;
        speeds.rows = geometry.rows;
        speeds.cells.assign(n * kIntervals, SpeedCell{100.0f, 4.0f});
        volumes.assign(n * kIntervals, kVolume);
    }
    // Stations `stations` (indexes) at `kmh` over intervals first..last.
    Road& slow(std::initializer_list<std::size_t> stations, int first, int last, float kmh = 30) {
        for (const std::size_t i : stations) {
            for (int t = first; t <= last; ++t) {
                speeds.cells[i * kIntervals + static_cast<std::size_t>(t)].speed = kmh;
            }
        }
        return *this;
    }
    std::vector<Activation> find() const {
        return findActivations(geometry, speeds, volumes, kDefaultThresholdKmh);
    }

    RoadGeometry geometry;
    SpeedTable speeds;
    std::vector<int> volumes;
};

// A station-interval at 30 km/h against 60 mph: 100 vehicles over a kilometre.
const double kDelayPerStationInterval = kVolume * 1.0 * (1 / 30.0 - 1 / kDefaultThresholdKmh);

TEST(Bottlenecks, QueueOfThreeStationsBehindFreeFlowForNinetyMinutes) {
    Road road({0, 1, 2, 3, 4, 5});
    road.slow({1, 2, 3}, 84, 101);  // 07:00 .. 08:30
    const std::vector<Activation> found = road.find();
    ASSERT_EQ(found.size(), 1u);
    const Activation& a = found[0];
    EXPECT_EQ(std::tuple(a.upstreamStation, a.downstreamStation, a.positionKm, a.shift),
              std::tuple(int16_t{4}, int16_t{5}, 4.0, Shift::AM));
    EXPECT_EQ(std::tuple(a.startSeconds(), a.endSeconds(), a.durationMinutes()),
              std::tuple(7 * 3600, 8 * 3600 + 1800, 90));
    EXPECT_EQ(std::pair(a.maxExtentKm, a.medianExtentKm), std::pair(3.0, 3.0));
    EXPECT_NEAR(a.delayHours, 18 * 3 * kDelayPerStationInterval, 1e-9);
    EXPECT_EQ(bottleneckLines({road.geometry, found}),
              "\"Ring, \"\"inner\"\"\",4,5,4.000,AM,07:00:00,08:30:00,90,3.000,3.000,124.08\n");
}

// Drawn over a picture at "5 min" (cells centred on their starts, 150 s before and after): the
// box between the rows of stations 4 and 5, the queue's outline down to the lower edge of
// station 2's row.
TEST(Bottlenecks, OverlaysBoxTheBottleneckAndOutlineItsQueue) {
    Road road({0, 1, 2, 3, 4, 5});
    road.slow({1, 2, 3}, 84, 85);
    road.slow({2, 3}, 86, 89);
    const std::vector<PictureOverlay> overlays =
        bottleneckOverlays({road.geometry, road.find()}, 300);
    ASSERT_EQ(overlays.size(), 2u);
    const double start = (7 * 3600 - 150) / 86400.0, end = (7 * 3600 + 1800 - 150) / 86400.0;
    EXPECT_EQ(overlays[0].label, "Bottleneck 4 > 5, 07:00 to 07:30, queue up to 3.0 km");
    EXPECT_EQ(overlays[0].points,
              (std::vector<std::array<double, 2>>{{start, 4}, {end, 4}, {end, 5}, {start, 5}}));
    const std::vector<std::array<double, 2>>& queue = overlays[1].points;
    EXPECT_EQ(queue.size(), 2u + 2 * 6);
    EXPECT_EQ(queue[2], (std::array<double, 2>{end, 2.5}));        // 07:25, stations 3 and 4
    EXPECT_EQ(queue.back(), (std::array<double, 2>{start, 1.5}));  // 07:00, down to station 2
}

// Five active intervals in seven are enough, and a short dip inside a queue does not split it;
// four are not. The queue that grows to the road's first station is measured to its end; the
// median of an even count is the mean of the middle two.
TEST(Bottlenecks, WindowsOfSevenWithFiveActiveChainAndTheQueueStopsAtTheRoadsStart) {
    Road dip({0, 1, 2, 3});
    dip.slow({1}, 10, 13);  // four intervals
    EXPECT_TRUE(dip.find().empty());

    Road gappy({0, 1, 2, 3});
    gappy.slow({2}, 200, 204).slow({2}, 207, 211);  // 16:40, two intervals off, again
    gappy.slow({0, 1}, 208, 211);                   // the queue reaches station 1 at 17:20
    const std::vector<Activation> found = gappy.find();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(std::tuple(found[0].firstInterval, found[0].lastInterval, found[0].shift),
              std::tuple(200, 211, Shift::PM));
    // Extents over the ten active intervals: six of station 3's 1 km, four of 2.5 km.
    EXPECT_EQ(std::pair(found[0].maxExtentKm, found[0].medianExtentKm), std::pair(2.5, 1.0));
    EXPECT_EQ(found[0].runStations[6], 0);  // 17:10, a dip: no queue, no delay there
    EXPECT_NEAR(found[0].delayHours,
                (5 + 1 + 2 * 4) * kDelayPerStationInterval +
                    4 * kVolume * 0.5 * (1 / 30.0 - 1 / kDefaultThresholdKmh),
                1e-9);
}

// Stations 5 km apart are no pair; a gap in the data is neither slow nor free; the bottleneck
// needs the downstream station 20 mph faster; a queue to midnight ends at 24:00:00.
TEST(Bottlenecks, FarPairsGapsAndSmallDropsActivateNothing) {
    Road far({0, 5, 6});
    far.slow({0}, 50, 80);
    EXPECT_TRUE(far.find().empty());

    Road gap({0, 1, 2});
    gap.slow({1}, 50, 80).slow({2}, 50, 80, NAN);
    gap.slow({0}, 120, 150).slow({1, 2}, 120, 150, 60);  // 30 against 60 km/h: a drop of 30
    EXPECT_TRUE(gap.find().empty());

    Road late({0, 1, 2});
    late.slow({1}, 280, 287);
    const std::vector<Activation> found = late.find();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_NE(bottleneckLines({late.geometry, found}).find(",night,23:20:00,24:00:00,40,"),
              std::string::npos);
    EXPECT_EQ(found[0].shift, Shift::Night);
}

}  // namespace
}  // namespace quorvane
