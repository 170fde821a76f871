// The metro-size day (2000 stations) built through the main window's "Load File and Build
// Station Data" button on the offscreen platform, the file dialog answered by a script, against
// the batch command `quorvane-cli build` on the same archive, in alternating pairs (the machine
// is shared, so medians). The window's build is timed from the click to its success message:
// the build with its progress window, the recomputation at "30 sec", the refilled lists. The
// same build in this process without a window (buildDay and the station file, what the batch
// command does after its start) is timed beside them.
//
//   window_build_bench [--day DIR] [--pairs N]
//
// DIR holds a day (sample.traffic and both lists); without it one is generated into a
// temporary folder by the sample-day generator.
#include <QApplication>
#include <QPushButton>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/dialogs.h"
#include "base/log.h"
#include "charts/offscreen_platform.h"
#include "child_process.h"
#include "core/day.h"
#include "definitions/station_file.h"
#include "sampleday/sample_day.h"
#include "ui/commands.h"
#include "ui/main_window.h"

namespace {

namespace fs = std::filesystem;
namespace qb = quorvane::bench;

constexpr int kMetroStations = 2000;

// Answers every file dialog with the archive and keeps the last message.
class ScriptedDialogs : public quorvane::Dialogs {
  public:
    explicit ScriptedDialogs(std::string archive) : archive_(std::move(archive)) {}
    void message(quorvane::MessageIcon, std::string_view text) override { last = text; }
    std::string chooseFile(const quorvane::FileDialogRequest&) override { return archive_; }
    std::string last;

  private:
    std::string archive_;
};

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Timing {
    std::vector<double> wall;
    std::vector<double> cpu;

    // Times `run` on this process's clock and CPU time; false when it fails.
    template <class Run>
    bool add(Run&& run) {
        const double cpuBefore = qb::ownCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        if (!run()) {
            return false;
        }
        wall.push_back(secondsSince(start));
        cpu.push_back(qb::ownCpuSeconds() - cpuBefore);
        return true;
    }
};

void printRow(const char* name, const Timing& timing) {
    std::printf("%-40s %9.1f %9.1f\n", name, qb::median(timing.wall) * 1e3,
                qb::median(timing.cpu) * 1e3);
}

struct Day {
    fs::path folder;   // the archive and both lists
    fs::path archive;  // its sample.traffic
    fs::path output;   // the window's report files, the station files written
};

// The window's build and the batch command, one after the other, `pairs` times; the same build
// in process after each pair.
int comparePairs(const Day& day, int pairs) {
    ScriptedDialogs dialogs(day.archive.string());
    quorvane::MainWindow window(dialogs, quorvane::Environment{day.folder, day.output});
    window.resize(720, 480);
    window.show();
    QApplication::processEvents();
    const fs::path stationFile = day.output / "day.station";
    const std::vector<std::string> batch{qb::besideSelf("quorvane-cli").string(),
                                         "build",
                                         day.archive.string(),
                                         "-o",
                                         stationFile.string(),
                                         "--lists",
                                         day.folder.string()};

    Timing windowBuild, batchCommand, inProcess;
    std::vector<double> ratios;
    for (int i = 0; i < pairs; ++i) {
        dialogs.last.clear();
        const bool built = windowBuild.add([&] {
            window.controls().btnBuildStationData->click();
            return dialogs.last == quorvane::kBuildDoneMessage;
        });
        const qb::ChildRun child = qb::runChild(batch);
        if (!built || !child.ok) {
            std::printf("%s failed %s\n", built ? "quorvane-cli build" : "the window's build",
                        dialogs.last.c_str());
            return 1;
        }
        batchCommand.wall.push_back(child.wallSeconds);
        batchCommand.cpu.push_back(child.cpuSeconds);
        ratios.push_back(windowBuild.wall.back() / child.wallSeconds);
        inProcess.add([&] {
            quorvane::Log log;
            const quorvane::Day engineDay = quorvane::buildDay({day.archive, day.folder, {}}, log);
            quorvane::writeStationFile(stationFile, engineDay.tables);
            return true;
        });
    }
    window.close();

    std::printf("metro day: %s, medians of %d pairs\n", day.archive.string().c_str(), pairs);
    std::printf("%-40s %9s %9s\n", "", "wall ms", "CPU ms");
    printRow("window: button to its message", windowBuild);
    printRow("batch command: quorvane-cli build", batchCommand);
    printRow("in process: buildDay + station file", inProcess);
    std::printf("window / batch command: %.2f (median of the pairs' ratios; goal <= 1.30)\n",
                qb::median(ratios));
    std::printf("window / in process: %.2f\n",
                qb::median(windowBuild.wall) / qb::median(inProcess.wall));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    fs::path given;
    int pairs = 7;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--day" && i + 1 < argc) {
            given = argv[++i];
        } else if (std::string(argv[i]) == "--pairs" && i + 1 < argc) {
            pairs = std::atoi(argv[++i]);
        }
    }
    quorvane::prepareOffscreenPlatform();
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    const fs::path scratch =
        fs::temp_directory_path() / ("quorvane-window-bench-" + std::to_string(::getpid()));
    Day day{given, {}, scratch / "out"};
    fs::create_directories(day.output);
    if (given.empty()) {
        quorvane::sampleday::SampleOptions options;
        options.stations = kMetroStations;
        quorvane::sampleday::writeSampleDay(scratch / "day", options);
        day.folder = scratch / "day";
    }
    day.archive = day.folder / quorvane::sampleday::kArchiveFileName;
    const int status = comparePairs(day, pairs);
    std::error_code ec;
    fs::remove_all(scratch, ec);
    return status;
}
