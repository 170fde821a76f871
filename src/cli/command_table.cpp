#include <array>

#include "cli/command.h"
#include "cli/commands.h"

namespace quorvane::cli {

// A further sub-command lives in a file of its own, is declared in commands.h and listed here;
// `plot` needs Qt and the chart layer and is there only in a build with the GUI.
std::span<const Command> commands() {
    // clang-format off
    static constexpr std::array kCommands{
        Command{"build", kBuildSynopsis, runBuild},
        Command{"export", kExportSynopsis, runExport},
        Command{"sum", kSumSynopsis, runSum},
#ifdef QUORVANE_CLI_PLOT
        Command{"plot", kPlotSynopsis, runPlot},
#endif
        Command{"info", kInfoSynopsis, runInfo},
        Command{"sample", kSampleSynopsis, runSample},
    };
    // clang-format on
    return kCommands;
}

std::string usageText() {
    std::string text = "usage:\n";
    for (const Command& command : commands()) {
        text += "  ";
        text += kProgram;
        text += " ";
        text += command.synopsis;
        text += "\n";
    }
    text +=
        "\n"
        "The definition lists VURSta2Det.list and VURRoad2Sta.list are read from --lists DIR,\n"
        "by default the folder that holds this program or, where that has no VURSta2Det.list,\n"
        "the folder of ARCHIVE or INPUT. INPUT is a .station file or a .traffic archive (built\n"
        "first). TEXT is one of: 30 sec, 1 min, 2 min, 3 min, 4 min, 5 min, 10 min, 15 min,\n"
        "30 min, 1 hour (default 30 sec). --from and --to name the start of an interval as\n"
        "HH:MM:SS or HH:MM (default: the first and the last interval of the day).\n"
        "Without --log the log goes to standard error. Exit status: 0 done, 1 error or refused\n"
        "request, 2 usage error.\n";
    return text;
}

}  // namespace quorvane::cli
