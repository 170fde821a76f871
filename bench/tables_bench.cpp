// Timings of the table operations on a metro-size day (2000 stations): recomputation and the
// speed estimate at "30 sec" and "5 min", saving and loading its ".station" file, and a
// whole-day CSV of 50 stations at "30 sec". Each should stay well under 0.2 s. And the measures
// of a road of 100 of its stations for the whole day at "30 sec", well under 0.1 s.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "base/log.h"
#include "base/station_tables.h"
#include "core/calibration.h"
#include "core/day.h"
#include "definitions/station_file.h"
#include "definitions/station_list.h"
#include "views/csv_export.h"
#include "views/interval_table.h"
#include "views/road_measures.h"
#include "views/road_measures_export.h"
#include "views/speed.h"

namespace {

using namespace quorvane;

constexpr int kStations = 2000;
constexpr int kCsvStations = 50;

// A plausible day: quiet nights with empty slots, busier peaks, occupancy with decimals, two to
// five lanes with one silent now and then.
const StationTables& metroTables() {
    static const StationTables tables = [] {
        StationTables t = StationTables::zeroed(kStations);
        t.lanes.assign(t.volume.size(), 0);
        std::mt19937 random(20240611);
        std::uniform_real_distribution<float> noise(0.0f, 1.0f);
        for (int s = 0; s < kStations; ++s) {
            for (int slot = 0; slot < kSlotsPerDay; ++slot) {
                const bool peak = (slot > 840 && slot < 1100) || (slot > 1920 && slot < 2200);
                const bool night = slot < 600;
                const float level = night ? 0.2f : (peak ? 1.0f : 0.6f);
                const auto vol = static_cast<int16_t>(noise(random) * 60.0f * level);
                t.volume[StationTables::cell(slot, s)] = vol;
                t.occupancy[StationTables::cell(slot, s)] =
                    vol == 0 ? 0.0f : noise(random) * 35.0f * level + 1.0f;
                t.lanes[StationTables::cell(slot, s)] =
                    static_cast<uint8_t>(2 + s % 4 - (noise(random) < 0.05f ? 1 : 0));
            }
        }
        return t;
    }();
    return tables;
}

// The calibrated speed's sums of the same day: every lane calibrated at every free-flow speed,
// and one station in ten with a further lane whose calibration depends on it.
const CalibratedSums& metroSums() {
    static const CalibratedSums sums = [] {
        const StationTables& t = metroTables();
        CalibratedSums c = CalibratedSums::zeroed(kStations);
        for (std::size_t cell = 0; cell < t.volume.size(); ++cell) {
            c.volume[cell] = static_cast<uint16_t>(t.volume[cell]);
            c.detectors[cell] = t.lanes[cell];
            c.density[cell] = t.occupancy[cell] * t.lanes[cell] * 200.0f;
        }
        for (int s = 0; s < kStations; s += 10) {
            BorderlineDetector& detector = c.borderline.emplace_back();
            detector.stationRow = s;
            detector.fit = {40, 160.0, 160.0 * 1050.0 / 4.5};  // g = 4.5 m at 105 km/h
            detector.volume.assign(kSlotsPerDay, 7);
            detector.occupancy.assign(kSlotsPerDay, 450);  // 5 %
        }
        return c;
    }();
    return sums;
}

const StationList& metroList() {
    static const StationList list = [] {
        std::string text;
        for (int s = 0; s < kStations; ++s) {
            text += std::to_string(1000 + s) + ",P," + std::to_string(s * 4 + 1) + ",\r\n";
        }
        return StationList::parse(text);
    }();
    return list;
}

std::filesystem::path benchFolder() {
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() / "quorvane-tables-bench";
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

void recompute(benchmark::State& state, int intervalIndex) {
    const StationTables& tables = metroTables();
    const StationList& list = metroList();
    for (auto _ : state) {
        Log log;
        IntervalTable table = recomputeIntervals(tables, list, intervalIndex, log, [](int, int) {});
        benchmark::DoNotOptimize(table.data.data());
    }
}

void BM_Recompute30Sec(benchmark::State& state) {
    recompute(state, 0);
}
void BM_Recompute5Min(benchmark::State& state) {
    recompute(state, 5);
}

// The speed of every station of the day at one interval.
void speeds(benchmark::State& state, int intervalIndex) {
    std::vector<int> rows(kStations);
    for (int s = 0; s < kStations; ++s) {
        rows[static_cast<std::size_t>(s)] = s;
    }
    for (auto _ : state) {
        SpeedTable table = fixedLengthSpeeds(metroTables(), metroList(), rows, intervalIndex,
                                             SpeedSettings::fromMetres(SpeedUnit::Kmh, 6.7));
        benchmark::DoNotOptimize(table.cells.data());
    }
}

void BM_Speed30Sec(benchmark::State& state) {
    speeds(state, 0);
}
void BM_Speed5Min(benchmark::State& state) {
    speeds(state, 5);
}

// The calibrated estimate of every station of the day, smoothed over the whole day.
void calibratedSpeeds(benchmark::State& state, int intervalIndex) {
    std::vector<int> rows(kStations);
    for (int s = 0; s < kStations; ++s) {
        rows[static_cast<std::size_t>(s)] = s;
    }
    const SpeedSettings settings = SpeedSettings::defaults(SpeedUnit::Kmh);
    for (auto _ : state) {
        SpeedTable table = quorvane::calibratedSpeeds(metroSums(), rows, intervalIndex, settings);
        benchmark::DoNotOptimize(table.cells.data());
    }
}

void BM_CalibratedSpeed30Sec(benchmark::State& state) {
    calibratedSpeeds(state, 0);
}
void BM_CalibratedSpeed5Min(benchmark::State& state) {
    calibratedSpeeds(state, 5);
}

void BM_SaveStationFile(benchmark::State& state) {
    const auto path = benchFolder() / "metro.station";
    for (auto _ : state) {
        writeStationFile(path, metroTables());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stationFileSize(kStations)));
}

void BM_LoadStationFile(benchmark::State& state) {
    const auto path = benchFolder() / "metro-load.station";
    writeStationFile(path, metroTables());
    for (auto _ : state) {
        StationTables tables = readStationFile(path);
        benchmark::DoNotOptimize(tables.volume.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stationFileSize(kStations)));
}

void BM_CsvWholeDay50Stations(benchmark::State& state) {
    Log log;
    const IntervalTable table = recomputeIntervals(metroTables(), metroList(), 0, log);
    std::vector<std::string> labels;
    for (int s = 0; s < kCsvStations; ++s) {
        labels.push_back(std::to_string(1000 + s * 37));
    }
    const auto path = benchFolder() / "metro.csv";
    for (auto _ : state) {
        const auto columns =
            std::get<std::vector<CsvColumn>>(resolveCsvColumns(labels, metroList(), log));
        writeCsvFile(path, table, columns, 0, table.intervalCount - 1);
    }
    state.SetBytesProcessed(
        static_cast<int64_t>(state.iterations() * std::filesystem::file_size(path)));
}

// A road of the day's first 100 stations, 0.4 to 1 km apart, as a day of its own.
constexpr int kRoadStations = 100;

const Day& roadDay() {
    static const Day day = [] {
        Day d;
        std::string stations, road = "Bench Road", positions;
        double post = 3.0;
        for (int s = 0; s < kRoadStations; ++s) {
            const std::string number = std::to_string(1000 + s);
            stations += number + ",P," + std::to_string(s * 4 + 1) + ",\r\n";
            road += "," + number;
            positions += number + "," + std::to_string(post) + ",\r\n";
            post += 0.4 + 0.6 * (s % 7) / 6.0;
        }
        d.stations = StationList::parse(stations);
        d.roads = RoadList::parse(road + ",\r\n");
        d.positions = StationPositions::parse(positions, d.stations);
        const StationTables& metro = metroTables();
        const auto cells = StationTables::cell(0, kRoadStations);
        d.tables.stationCount = kRoadStations;
        d.tables.volume.assign(metro.volume.begin(), metro.volume.begin() + cells);
        d.tables.occupancy.assign(metro.occupancy.begin(), metro.occupancy.begin() + cells);
        d.tables.lanes.assign(metro.lanes.begin(), metro.lanes.begin() + cells);
        return d;
    }();
    return day;
}

// What "Road Measures" and `quorvane-cli measures` compute once the interval table is in force:
// the speeds, every interval's measures and travel times, and the file's text.
void BM_RoadMeasures100StationsWholeDay30Sec(benchmark::State& state) {
    const Day& day = roadDay();
    Log log;
    const IntervalTable table = recomputeIntervals(day.tables, day.stations, 0, log);
    const RequestSelection selection{kRoadStations, std::nullopt, 0, table.intervalCount - 1};
    for (auto _ : state) {
        const auto measured =
            measureRoad(day, table, 0, selection, SpeedSettings::fromMetres(SpeedUnit::Kmh, 6.7),
                        kDefaultThresholdKmh, log);
        const std::string text =
            measuresCsvText(std::get<RoadMeasures>(measured), 0, table.intervalCount - 1);
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["cells"] = 2880.0 * kRoadStations;
}

BENCHMARK(BM_Recompute30Sec)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Recompute5Min)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Speed30Sec)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Speed5Min)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalibratedSpeed30Sec)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalibratedSpeed5Min)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveStationFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadStationFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvWholeDay50Stations)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RoadMeasures100StationsWholeDay30Sec)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
