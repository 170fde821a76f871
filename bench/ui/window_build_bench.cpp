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

#include "child_process.h"
#include "core/day.h"
#include "core/log.h"
#include "definitions/station_file.h"
#include "roadgraphs/offscreen_platform.h"
#include "sampleday/sample_day.h"
#include "ui/commands.h"
#include "ui/dialogs.h"
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
};

void printRow(const char* name, const Timing& timing) {
    std::printf("%-40s %9.1f %9.1f\n", name, qb::median(timing.wall) * 1e3,
                qb::median(timing.cpu) * 1e3);
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
    fs::create_directories(scratch / "out");
    fs::path dayDir = given;
    if (given.empty()) {
        quorvane::sampleday::SampleOptions options;
        options.stations = kMetroStations;
        quorvane::sampleday::writeSampleDay(scratch / "day", options);
        dayDir = scratch / "day";
    }
    const fs::path archive = dayDir / quorvane::sampleday::kArchiveFileName;
    const fs::path stationFile = scratch / "out" / "day.station";

    ScriptedDialogs dialogs(archive.string());
    quorvane::MainWindow window(dialogs, quorvane::Environment{dayDir, scratch / "out"});
    window.resize(720, 480);
    window.show();
    QApplication::processEvents();

    const std::vector<std::string> batch{qb::besideSelf("quorvane-cli").string(),
                                         "build",
                                         archive.string(),
                                         "-o",
                                         stationFile.string(),
                                         "--lists",
                                         dayDir.string()};
    Timing windowBuild, batchCommand, inProcess;
    std::vector<double> ratios;
    for (int i = 0; i < pairs; ++i) {
        dialogs.last.clear();
        const double cpuBefore = qb::ownCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        window.controls().btnBuildStationData->click();
        const double wall = secondsSince(start);
        const double cpu = qb::ownCpuSeconds() - cpuBefore;
        if (dialogs.last != quorvane::kBuildDoneMessage) {
            std::printf("the window's build failed: %s\n", dialogs.last.c_str());
            return 1;
        }
        const qb::ChildRun child = qb::runChild(batch);
        if (!child.ok) {
            std::printf("quorvane-cli build failed\n");
            return 1;
        }
        windowBuild.wall.push_back(wall);
        windowBuild.cpu.push_back(cpu);
        batchCommand.wall.push_back(child.wallSeconds);
        batchCommand.cpu.push_back(child.cpuSeconds);
        ratios.push_back(wall / child.wallSeconds);

        const double engineCpuBefore = qb::ownCpuSeconds();
        const auto engineStart = std::chrono::steady_clock::now();
        quorvane::Log log;
        const quorvane::Day day = quorvane::buildDay({archive, dayDir, std::nullopt}, log);
        quorvane::writeStationFile(stationFile, day.tables);
        inProcess.wall.push_back(secondsSince(engineStart));
        inProcess.cpu.push_back(qb::ownCpuSeconds() - engineCpuBefore);
    }

    std::printf("metro day: %s, medians of %d pairs\n", archive.string().c_str(), pairs);
    std::printf("%-40s %9s %9s\n", "", "wall ms", "CPU ms");
    printRow("window: button to its message", windowBuild);
    printRow("batch command: quorvane-cli build", batchCommand);
    printRow("in process: buildDay + station file", inProcess);
    std::printf("window / batch command: %.2f (median of the pairs' ratios; goal <= 1.30)\n",
                qb::median(ratios));
    std::printf("window / in process: %.2f\n",
                qb::median(windowBuild.wall) / qb::median(inProcess.wall));

    window.close();
    std::error_code ec;
    fs::remove_all(scratch, ec);
    return 0;
}
