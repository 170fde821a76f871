// The analyses of a metro-size sample day (2000 stations on 50 roads, built once with its
// calibration and positions): the calibrated speed of every station at "5 min" and the
// bottlenecks of every road. Each should stay well under 0.1 s.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/log.h"
#include "core/day.h"
#include "sampleday/sample_day.h"
#include "views/bottlenecks.h"
#include "views/road_measures.h"
#include "views/speed.h"

namespace {

using namespace quorvane;

const Day& metroDay() {
    static const Day day = [] {
        const auto folder = std::filesystem::temp_directory_path() / "quorvane-analysis-bench";
        std::filesystem::remove_all(folder);
        sampleday::SampleOptions options;
        options.stations = 2000;
        sampleday::writeSampleDay(folder, options);
        Log log;
        Day built = buildDay({folder / "sample.traffic", folder, std::nullopt}, log);
        std::filesystem::remove_all(folder);
        return built;
    }();
    return day;
}

void BM_CalibratedSpeedEveryStation5Min(benchmark::State& state) {
    const Day& day = metroDay();
    std::vector<int> rows(static_cast<std::size_t>(day.stations.count()));
    for (std::size_t s = 0; s < rows.size(); ++s) {
        rows[s] = static_cast<int>(s);
    }
    for (auto _ : state) {
        const SpeedTable table =
            computeSpeeds(day, rows, 5, SpeedSettings::defaults(SpeedUnit::Kmh));
        benchmark::DoNotOptimize(table.cells.data());
    }
}

// What `quorvane-cli bottlenecks` computes once the day is built: every road's activations.
void BM_BottlenecksEveryRoad(benchmark::State& state) {
    const Day& day = metroDay();
    std::size_t activations = 0;
    for (auto _ : state) {
        Log log;
        activations = 0;
        for (int road = 0; road < day.roads.count(); ++road) {
            const auto found = findBottlenecks(day, road, SpeedSettings::defaults(SpeedUnit::Kmh),
                                               kDefaultThresholdKmh, log);
            activations += std::get<RoadBottlenecks>(found).activations.size();
        }
    }
    state.counters["roads"] = day.roads.count();
    state.counters["activations"] = static_cast<double>(activations);
}

}  // namespace

BENCHMARK(BM_CalibratedSpeedEveryStation5Min)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BottlenecksEveryRoad)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
