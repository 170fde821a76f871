// Many days at once: 13 metro-size days (2000 stations each, seeds 1 .. 13, each with its own
// definition lists beside it) built into their five-minute summaries in parallel, one worker per
// core, against building them one after another; and the peak memory and the time of
// `quorvane-cli typical`, `reliability` and `bottlenecks --rank` over all 13 as a user runs them.
//
//   days_bench [--days DIR] [--rounds N]
//
// DIR keeps the days between runs (they are generated into it when missing); without it they
// are generated into a temporary folder and removed at the end.
//
// The peak is the child's maximum resident set size. A spawned child starts from this
// process's memory until it execs, and the kernel keeps that high-water mark for the child, so
// the peak is measured first, while this process is still small (its own peak is printed beside
// it). The set builds then run in this process, alternating the ways round after round so that
// the shared machine's load meets each alike; medians of wall and CPU time.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"
#include "views/day_set.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
namespace qb = quorvane::bench;

constexpr int kDays = 13;
constexpr int kMetroStations = 2000;

fs::path dayArchive(const fs::path& dir, int seed) {
    char name[16];
    std::snprintf(name, sizeof name, "day%02d", seed);
    return dir / name / "sample.traffic";
}

// Generates the days missing from `dir` with the batch command, so that this process stays small.
bool ensureDays(const fs::path& dir) {
    for (int seed = 1; seed <= kDays; ++seed) {
        const fs::path archive = dayArchive(dir, seed);
        if (fs::exists(archive)) {
            continue;
        }
        const qb::ChildRun run = qb::runChild(
            {qb::besideSelf("quorvane-cli").string(), "sample", archive.parent_path().string(),
             "--stations", std::to_string(kMetroStations), "--seed", std::to_string(seed)});
        if (!run.ok) {
            std::printf("cannot generate %s\n", archive.c_str());
            return false;
        }
    }
    return true;
}

// CPU seconds the whole machine has been busy, from /proc/stat: what other processes took
// during a run is this less the run's own CPU time.
double machineBusySeconds() {
    std::ifstream stat("/proc/stat");
    std::string cpu;
    double user = 0, nice = 0, system = 0, idle = 0, iowait = 0, irq = 0, softirq = 0, steal = 0;
    stat >> cpu >> user >> nice >> system >> idle >> iowait >> irq >> softirq >> steal;
    return (user + nice + system + irq + softirq + steal) /
           static_cast<double>(sysconf(_SC_CLK_TCK));
}

// One way of building the set.
struct Way {
    const char* name;
    int workers;
    int readerThreads;
    std::vector<double> wall;
    std::vector<double> cpu;
    std::vector<double> othersCores;  // the cores other processes kept busy meanwhile
};

bool buildSet(const std::vector<fs::path>& files, Way& way) {
    quorvane::DaySetRequest request;
    request.files = files;
    request.workers = way.workers;
    request.readerThreadsPerDay = way.readerThreads;
    const double busyStart = machineBusySeconds();
    const double cpuStart = qb::ownCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    const auto days = quorvane::buildDaySet(request);
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = qb::ownCpuSeconds() - cpuStart;
    way.wall.push_back(wall);
    way.cpu.push_back(cpu);
    way.othersCores.push_back(std::max(0.0, machineBusySeconds() - busyStart - cpu) / wall);
    return quorvane::builtDayCount(days) == kDays;
}

}  // namespace

int main(int argc, char** argv) {
    fs::path given;
    int rounds = 3;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--days" && i + 1 < argc) {
            given = argv[++i];
        } else if (arg == "--rounds" && i + 1 < argc) {
            rounds = std::max(1, std::atoi(argv[++i]));
        } else {
            std::printf("usage: days_bench [--days DIR] [--rounds N]\n");
            return 2;
        }
    }
    const fs::path dir = given.empty() ? fs::temp_directory_path() /
                                             ("quorvane-days-bench-" + std::to_string(::getpid()))
                                       : given;
    if (!ensureDays(dir)) {
        return 1;
    }
    std::vector<fs::path> files;
    for (int seed = 1; seed <= kDays; ++seed) {
        files.push_back(dayArchive(dir, seed));
    }
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    std::printf("%d metro days (%d stations, seeds 1 .. %d) in %s, %d cores\n", kDays,
                kMetroStations, kDays, dir.c_str(), cores);

    // The lists lie beside each day; the output goes to the folder of the days. The commands
    // on many days, each with its own results of the days' summaries.
    const std::vector<std::vector<std::string>> commands{
        {"typical", "-o", (dir / "out.csv").string()},
        {"reliability", "--road", "Route 1 N", "-o", (dir / "out.csv").string()},
        {"bottlenecks", "--rank", "-o", (dir / "out.csv").string()},
    };
    const long ownBefore = qb::ownPeakKilobytes();
    bool ok = true;
    std::printf("\n");
    for (const std::vector<std::string>& command : commands) {
        std::vector<std::string> args{qb::besideSelf("quorvane-cli").string(), command[0]};
        for (const fs::path& file : files) {
            args.push_back(file.string());
        }
        args.insert(args.end(), command.begin() + 1, command.end());
        const qb::ChildRun run = qb::runChild(args);
        fs::remove(dir / "out.csv");
        ok = run.ok && ok;
        std::printf(
            "quorvane-cli %-11s over the %d days: %s, wall %.1f s, CPU %.1f s, peak memory "
            "(maximum resident set) %.0f MB\n",
            command[0].c_str(), kDays, run.ok ? "done" : "FAILED", run.wallSeconds, run.cpuSeconds,
            static_cast<double>(run.peakKilobytes) / 1024.0);
    }
    std::printf("goal: peak < 1024 MB (this program's own peak when it started them: %.0f MB)\n",
                static_cast<double>(ownBefore) / 1024.0);

    const int defaultReaders = quorvane::BuildOptions::defaultReaderThreads();
    std::vector<Way> ways{
        {"one after another, each day as one build today", 1, defaultReaders, {}, {}, {}},
        {"one after another, one thread a day", 1, 0, {}, {}, {}},
        {"parallel, one worker a core, reader threads 0", cores, 0, {}, {}, {}},
        {"parallel, one worker a core, reader threads 1", cores, 1, {}, {}, {}},
    };
    for (int round = 0; round < rounds; ++round) {
        // Each round in another order: no way always runs first or last.
        for (std::size_t i = 0; i < ways.size(); ++i) {
            ok = buildSet(files, ways[(i + static_cast<std::size_t>(round)) % ways.size()]) && ok;
        }
    }
    std::printf("\nthe set built into its summaries in this process, medians of %d rounds:\n",
                rounds);
    std::printf("%-50s %8s %8s %14s\n", "", "wall s", "CPU s", "others' cores");
    for (const Way& way : ways) {
        std::printf("%-50s %8.2f %8.2f %14.2f\n", way.name, qb::median(way.wall),
                    qb::median(way.cpu), qb::median(way.othersCores));
    }
    const double asToday = qb::median(ways[0].wall) / cores;
    const double oneThread = qb::median(ways[1].wall) / cores;
    for (std::size_t p = 2; p < ways.size(); ++p) {
        const double parallel = qb::median(ways[p].wall);
        std::printf(
            "%s: %.2f x (one after another as today / cores), %.2f x (one after another "
            "on one thread / cores)\n",
            ways[p].name, parallel / asToday, parallel / oneThread);
    }
    std::printf("goal: parallel <= 1.5 x (one after another / cores); peak < 1 GB\n");
    if (given.empty()) {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    return ok ? 0 : 1;
}
