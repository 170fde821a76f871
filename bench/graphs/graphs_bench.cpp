// Filling and first paint of the graph windows at their largest: a colour grid and a contour
// of 1441 intervals x 60 stations (of occupancy, and the speed colour grid, which computes its
// estimate from the 30-second tables first), and whole-day line graphs at "30 sec": the station's
// and the road's travel time (its measures computed first).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>
#include <cmath>
#include <memory>

#include "base/dialogs.h"
#include "base/log.h"
#include "charts/chart.h"
#include "charts/open_graph.h"
#include "charts/road_graph.h"
#include "charts/station_graphs.h"

namespace quorvane {
namespace {

constexpr int kStations = 60;

class SilentDialogs : public Dialogs {
  public:
    void message(MessageIcon, std::string_view) override {}
    std::string chooseFile(const FileDialogRequest&) override { return {}; }
};

// A day at "30 sec" on one road of 60 stations, with a queue spilling upstream in the morning
// and some slot-to-slot noise, so that the contours have real shapes to trace.
GraphData benchData() {
    std::string stations;
    std::string road = "Bench";
    std::string positions;
    for (int s = 0; s < kStations; ++s) {
        stations += std::to_string(101 + s) + ",P," + std::to_string(1 + s) + ",\r\n";
        road += ',';
        road += std::to_string(101 + s);
        positions += std::to_string(101 + s) + "," + std::to_string(s * 0.6) + ",\r\n";
    }
    auto day = std::make_shared<Day>();
    day->stations = StationList::parse(stations);
    day->roads = RoadList::parse(road + ",\r\n");
    day->positions = StationPositions::parse(positions, day->stations);
    day->tables = StationTables::zeroed(kStations);
    day->tables.lanes.assign(day->tables.volume.size(), 3);
    auto table = std::make_shared<IntervalTable>();
    table->intervalIndex = 0;
    table->stationCount = kStations;
    table->intervalCount = 2880;
    table->data.resize(static_cast<std::size_t>(kStations) * 2880);
    for (int s = 0; s < kStations; ++s) {
        for (int k = 0; k < 2880; ++k) {
            const double front = 840 + (kStations - s) * 6.0;
            const bool queue = k >= front && k <= front + 200;
            const double noise = std::sin(k * 12.9898 + s * 78.233) * 3;
            const IntervalValue value{static_cast<float>((queue ? 35 : 8) + noise),
                                      static_cast<int16_t>((queue ? 6 : 12) + noise)};
            table->data[static_cast<std::size_t>(s) * 2880 + k] = value;
            day->tables.volume[StationTables::cell(k, s)] = value.vol;
            day->tables.occupancy[StationTables::cell(k, s)] = value.occ;
        }
    }
    return {day, table};
}

GraphSelection benchSelection(int end) {
    GraphSelection selection;
    selection.stationEntries = kStations;
    selection.station = 0;
    selection.stationText = "101";
    selection.start = 0;
    selection.end = end;
    selection.road = 0;
    selection.intervalText = [] { return std::string("30 sec"); };
    return selection;
}

void destroy(GraphWindow* window) {
    delete window;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void roadGraph(benchmark::State& state, RoadGraphKind kind,
               RoadMeasure measure = RoadMeasure::Occupancy) {
    const GraphData data = benchData();
    const GraphSelection selection = benchSelection(1440);
    SilentDialogs dialogs;
    Log log;
    for (auto _ : state) {
        const OpenedGraph result =
            plotRoadGraph(kind, measure, data, selection, dialogs, log, [] {});
        const QPixmap painted = result.window->grab();  // the first paint, at the stored size
        benchmark::DoNotOptimize(painted.cacheKey());
        state.PauseTiming();
        destroy(result.window);
        state.ResumeTiming();
    }
    state.counters["cells"] = 1441.0 * kStations;
}

void BM_ColorGridFillAndFirstPaint(benchmark::State& state) {
    roadGraph(state, RoadGraphKind::ColorGrid);
}
void BM_ContourFillAndFirstPaint(benchmark::State& state) {
    roadGraph(state, RoadGraphKind::Contour);
}

void BM_SpeedColorGridFillAndFirstPaint(benchmark::State& state) {
    roadGraph(state, RoadGraphKind::ColorGrid, RoadMeasure::Speed);
}

void BM_LineGraphWholeDayAt30Sec(benchmark::State& state) {
    const GraphData data = benchData();
    const GraphSelection selection = benchSelection(2879);
    SilentDialogs dialogs;
    for (auto _ : state) {
        GraphWindow* window = showLineGraph(data, selection, dialogs);
        const QPixmap painted = window->grab();
        benchmark::DoNotOptimize(painted.cacheKey());
        state.PauseTiming();
        destroy(window);
        state.ResumeTiming();
    }
    state.counters["points"] = 2.0 * 2880;
}

void BM_TravelTimeGraphWholeDayAt30Sec(benchmark::State& state) {
    const GraphData data = benchData();
    GraphSelection selection = benchSelection(2879);
    selection.speed = SpeedSettings::fromMetres(SpeedUnit::Kmh, 6.7);
    SilentDialogs dialogs;
    Log log;
    for (auto _ : state) {
        GraphWindow* window =
            openGraph(GraphKind::TravelTime, data, selection, dialogs, log, {}).window;
        const QPixmap painted = window->grab();
        benchmark::DoNotOptimize(painted.cacheKey());
        state.PauseTiming();
        destroy(window);
        state.ResumeTiming();
    }
    state.counters["points"] = 3.0 * 2880;
}

BENCHMARK(BM_ColorGridFillAndFirstPaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContourFillAndFirstPaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpeedColorGridFillAndFirstPaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LineGraphWholeDayAt30Sec)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TravelTimeGraphWholeDayAt30Sec)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorvane

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
