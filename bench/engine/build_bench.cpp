// The build of a metro-size day (2000 stations, about 8000 detectors, 16000 members), with and
// without grading the detectors' health, timed in one run against its floor, listing and reading
// the same members with libzip alone into memory on one thread, and against Info-ZIP's `unzip -p
// ARCHIVE > /dev/null`. Then the batch command `quorvane-cli build` and `unzip -p` as the user runs
// them, in alternating pairs (wall and CPU time, medians: the machine is shared). Afterwards the
// peak memory of one build, measured in a child process so that nothing of the benchmarks counts.
//
//   build_bench [--day DIR] [--pairs N] [benchmark flags]
//
// DIR holds a day (sample.traffic and both lists); without it one is generated into a
// temporary folder by the sample-day generator.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/log.h"
#include "child_process.h"
#include "core/day.h"
#include "core/station_builder.h"
#include "core/unzip.h"
#include "definitions/road_list.h"
#include "definitions/station_list.h"
#include "sampleday/sample_day.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int kMetroStations = 2000;

fs::path g_dayDir;

fs::path archivePath() {
    return g_dayDir / quorvane::sampleday::kArchiveFileName;
}

// The floor: what any reader of these members must do at least.
void BM_FloorLibzipReadAll(benchmark::State& state) {
    std::vector<uint8_t> buffer;
    for (auto _ : state) {
        int code = 0;
        zip_t* archive = zip_open(archivePath().c_str(), ZIP_RDONLY, &code);
        if (archive == nullptr) {
            state.SkipWithError("cannot open the archive");
            return;
        }
        const zip_int64_t count = zip_get_num_entries(archive, 0);
        std::vector<std::string> names;
        std::vector<zip_uint64_t> sizes;
        for (zip_int64_t i = 0; i < count; ++i) {
            zip_stat_t st;
            zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &st);
            names.emplace_back(st.name);
            sizes.push_back(st.size);
        }
        std::size_t total = 0;
        for (zip_int64_t i = 0; i < count; ++i) {
            // One byte more than the member holds: libzip checks the CRC at the end.
            buffer.resize(sizes[static_cast<std::size_t>(i)] + 1);
            zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
            const zip_int64_t n = zip_fread(file, buffer.data(), buffer.size());
            zip_fclose(file);
            if (n < 0) {
                state.SkipWithError("cannot read a member");
                return;
            }
            total += static_cast<std::size_t>(n);
            benchmark::DoNotOptimize(buffer.data());
        }
        zip_discard(archive);
        state.counters["MB"] = static_cast<double>(total) / 1e6;
    }
}

void BM_InfoZipUnzipToDevNull(benchmark::State& state) {
    const std::string command = "unzip -p '" + archivePath().string() + "' > /dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("unzip -p failed");
            return;
        }
    }
}

// The build as the program runs it: member list, both lists, every station, with or without
// grading the detectors' health and calibrating their g-factors.
quorvane::StationBuild build(int readerThreads, bool gradeHealth, bool calibrate = true) {
    quorvane::Log log;
    quorvane::Unzip archive;
    archive.setZipFileName(archivePath());
    archive.zipList();
    const quorvane::StationList stations = quorvane::StationList::buildList(g_dayDir);
    const quorvane::RoadList roads = quorvane::RoadList::buildList(g_dayDir);
    quorvane::BuildOptions options;
    options.readerThreads = readerThreads;
    options.gradeHealth = gradeHealth;
    options.calibrate = calibrate;
    return quorvane::buildStations(archive, stations, log, {}, options);
}

void BM_Build(benchmark::State& state) {
    const int readers = static_cast<int>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(build(readers, true).tables.stationCount);
    }
}

void BM_BuildWithoutHealth(benchmark::State& state) {
    const int readers = static_cast<int>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(build(readers, false, false).tables.stationCount);
    }
}

// What a part of the build adds: builds with it and without it alternate (in both orders), so
// that a disturbance of the shared machine meets both alike. Reports the medians of each and
// the median of the per-pair ratios, for real time and for the process's CPU time (all
// threads). `withPart(true)` builds with the part, `withPart(false)` without it.
template <class Build>
void partCost(benchmark::State& state, Build withPart) {
    constexpr int kPairs = 11;
    auto now = [] {
        timespec cpu{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
        return std::pair{std::chrono::steady_clock::now(),
                         static_cast<double>(cpu.tv_sec) + static_cast<double>(cpu.tv_nsec) * 1e-9};
    };
    std::vector<double> with, without, wallRatio, cpuRatio;
    for (auto _ : state) {
        for (int pair = 0; pair < kPairs; ++pair) {
            std::array<double, 2> wall{}, cpu{};  // [with the part]
            for (const bool part : {pair % 2 == 0, pair % 2 != 0}) {
                const auto [wallStart, cpuStart] = now();
                benchmark::DoNotOptimize(withPart(part).tables.stationCount);
                const auto [wallEnd, cpuEnd] = now();
                wall[part] = std::chrono::duration<double>(wallEnd - wallStart).count();
                cpu[part] = cpuEnd - cpuStart;
            }
            with.push_back(wall[1]);
            without.push_back(wall[0]);
            wallRatio.push_back(wall[1] / wall[0]);
            cpuRatio.push_back(cpu[1] / cpu[0]);
        }
    }
    auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    state.counters["with_ms"] = median(with) * 1e3;
    state.counters["without_ms"] = median(without) * 1e3;
    state.counters["extra_pct"] = (median(wallRatio) - 1.0) * 100.0;
    state.counters["cpu_extra_pct"] = (median(cpuRatio) - 1.0) * 100.0;
}

// Grading against no grading, both without calibration (which needs the grades).
void BM_HealthCost(benchmark::State& state) {
    const int readers = static_cast<int>(state.range(0));
    partCost(state, [readers](bool grade) { return build(readers, grade, false); });
}

// The calibrated speed's fits and sums against a graded build without them.
void BM_CalibrationCost(benchmark::State& state) {
    const int readers = static_cast<int>(state.range(0));
    partCost(state, [readers](bool calibrate) { return build(readers, true, calibrate); });
}

// Keeps every repetition's real time per iteration of each benchmark, for the ratios printed
// at the end: the best run (the one least disturbed on this shared machine) and the median.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_name.str().find("Cost", 0) != std::string::npos) {
                continue;  // many builds per run: its counters say what it measured
            }
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                times_[run.run_name.str()].push_back(run.real_accumulated_time /
                                                     static_cast<double>(run.iterations));
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void printRatios() const {
        const double floor = find("BM_FloorLibzipReadAll");
        const double unzip = find("BM_InfoZipUnzipToDevNull");
        std::printf("\nreal time over the repetitions (ratios of medians):\n");
        std::printf("%-44s %9s %9s %9s %9s\n", "", "best ms", "median ms", "/floor", "/unzip-p");
        for (const auto& [name, times] : times_) {
            const double best = *std::min_element(times.begin(), times.end());
            const double middle = quorvane::bench::median(times);
            std::printf("%-44s %9.1f %9.1f %9.2f %9.2f\n", name.c_str(), best * 1e3, middle * 1e3,
                        floor > 0 ? middle / floor : 0.0, unzip > 0 ? middle / unzip : 0.0);
        }
        std::printf(
            "goal: single-threaded build (readerThreads/0) <= 0.70 x floor; grading the "
            "detectors' health adds <= 10 %% (BM_HealthCost extra_pct: median ratio of "
            "alternating builds), calibrating their g-factors <= 10 %% more "
            "(BM_CalibrationCost)\n");
    }

  private:
    double find(const std::string& prefix) const {
        for (const auto& [name, times] : times_) {
            if (name.rfind(prefix, 0) == 0) {
                return quorvane::bench::median(times);
            }
        }
        return 0.0;
    }
    std::map<std::string, std::vector<double>> times_;
};

// `quorvane-cli build` against `unzip -p`, one right after the other, `pairs` times: the
// machine's load changes slowly, so each pair sees about the same; medians of both.
void compareBatchWithUnzip(int pairs) {
    namespace qb = quorvane::bench;
    const fs::path out =
        fs::temp_directory_path() / ("quorvane-bench-" + std::to_string(::getpid()) + ".station");
    const std::vector<std::string> batch{qb::besideSelf("quorvane-cli").string(),
                                         "build",
                                         archivePath().string(),
                                         "-o",
                                         out.string(),
                                         "--lists",
                                         g_dayDir.string()};
    const std::vector<std::string> unzip{"unzip", "-p", archivePath().string()};
    std::vector<double> batchWall, batchCpu, unzipWall, unzipCpu, wallRatio, cpuRatio;
    for (int i = 0; i < pairs; ++i) {
        const qb::ChildRun b = qb::runChild(batch);
        const qb::ChildRun u = qb::runChild(unzip);
        if (!b.ok || !u.ok) {
            std::printf("pair %d: %s failed\n", i + 1, b.ok ? "unzip -p" : "quorvane-cli build");
            continue;
        }
        batchWall.push_back(b.wallSeconds);
        batchCpu.push_back(b.cpuSeconds);
        unzipWall.push_back(u.wallSeconds);
        unzipCpu.push_back(u.cpuSeconds);
        wallRatio.push_back(b.wallSeconds / u.wallSeconds);
        cpuRatio.push_back(b.cpuSeconds / u.cpuSeconds);
    }
    fs::remove(out);
    std::printf("\nbatch command against unzip -p, medians of %zu pairs:\n", batchWall.size());
    std::printf("%-28s %9s %9s\n", "", "wall ms", "CPU ms");
    std::printf("%-28s %9.1f %9.1f\n", "quorvane-cli build", qb::median(batchWall) * 1e3,
                qb::median(batchCpu) * 1e3);
    std::printf("%-28s %9.1f %9.1f\n", "unzip -p > /dev/null", qb::median(unzipWall) * 1e3,
                qb::median(unzipCpu) * 1e3);
    std::printf("%-28s %9.2f %9.2f   (median of the pairs' ratios)\n", "build / unzip -p",
                qb::median(wallRatio), qb::median(cpuRatio));
    std::printf("goals: build <= 0.35 x unzip -p wall, <= 0.60 x its CPU\n");
}

// Peak resident memory of one build with the default reader threads, in a fresh process. The
// child reports its own VmHWM: the rusage maxrss of a spawned process keeps the parent's peak
// across exec, so it would count the benchmarks' memory too.
long childPeakKilobytes(const char* self) {
    const std::string dir = g_dayDir.string();
    const fs::path report =
        fs::temp_directory_path() / ("quorvane-peak-" + std::to_string(::getpid()) + ".txt");
    const std::string reportName = report.string();
    char* argv[] = {const_cast<char*>(self), const_cast<char*>("--peak-build"),
                    const_cast<char*>(dir.c_str()), const_cast<char*>(reportName.c_str()), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, "/proc/self/exe", nullptr, nullptr, argv, environ) != 0) {
        return -1;
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return -1;
    }
    long kilobytes = -1;
    std::ifstream(report) >> kilobytes;
    fs::remove(report);
    return kilobytes;
}

int peakBuild(const fs::path& dir, const fs::path& report) {
    g_dayDir = dir;
    quorvane::Log log;
    quorvane::BuildRequest request;
    request.archive = archivePath();
    request.listDirectory = dir;
    const quorvane::Day day = quorvane::buildDay(request, log);
    std::ofstream(report) << quorvane::bench::ownPeakKilobytes() << "\n";
    return day.tables.stationCount == kMetroStations ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--peak-build") {
        return peakBuild(argv[2], argv[3]);
    }
    std::vector<char*> args;
    fs::path given;
    int pairs = 7;
    for (int i = 0; i < argc; ++i) {
        if (std::string(argv[i]) == "--day" && i + 1 < argc) {
            given = argv[++i];
        } else if (std::string(argv[i]) == "--pairs" && i + 1 < argc) {
            pairs = std::atoi(argv[++i]);
        } else {
            args.push_back(argv[i]);
        }
    }
    const fs::path scratch =
        fs::temp_directory_path() / ("quorvane-bench-" + std::to_string(::getpid()));
    if (given.empty()) {
        quorvane::sampleday::SampleOptions options;
        options.stations = kMetroStations;
        const auto summary = quorvane::sampleday::writeSampleDay(scratch, options);
        std::printf("metro day: %d stations, %d detectors, %d members, %.1f MB archive\n",
                    summary.stations, summary.detectors, summary.members,
                    static_cast<double>(fs::file_size(summary.archive)) / 1e6);
        g_dayDir = scratch;
    } else {
        g_dayDir = given;
    }

    benchmark::RegisterBenchmark("BM_FloorLibzipReadAll", BM_FloorLibzipReadAll)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Repetitions(5);
    benchmark::RegisterBenchmark("BM_InfoZipUnzipToDevNull", BM_InfoZipUnzipToDevNull)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Repetitions(5);
    benchmark::RegisterBenchmark("BM_Build/readerThreads", BM_Build)
        ->Arg(0)
        ->Arg(1)
        ->Arg(2)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Repetitions(5);
    benchmark::RegisterBenchmark("BM_BuildWithoutHealth/readerThreads", BM_BuildWithoutHealth)
        ->Arg(0)
        ->Arg(2)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Repetitions(5);
    benchmark::RegisterBenchmark("BM_HealthCost/readerThreads", BM_HealthCost)
        ->Arg(0)
        ->Arg(2)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("BM_CalibrationCost/readerThreads", BM_CalibrationCost)
        ->Arg(0)
        ->Arg(2)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();

    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    compareBatchWithUnzip(pairs);

    const long peak = childPeakKilobytes(argv[0]);
    std::printf("peak memory of one build (default reader threads): %.1f MB (goal < 200 MB)\n",
                static_cast<double>(peak) / 1024.0);
    benchmark::Shutdown();
    if (given.empty()) {
        std::error_code ec;
        fs::remove_all(scratch, ec);
    }
    return peak > 0 ? 0 : 1;
}
