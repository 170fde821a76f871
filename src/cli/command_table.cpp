#include <array>

#include "cli/command.h"
#include "cli/commands.h"
#include "views/interval_table.h"
#ifdef QUORVANE_CLI_PLOT
#include "charts/open_graph.h"
#endif

namespace quorvane::cli {

// A further sub-command lives in a file of its own, is declared in commands.h and listed here,
// and its options go into the tables of data/quorvane-cli.bash-completion (the install check
// compares those with the usage text); `plot` needs Qt and the chart layer and is there only
// in a build with the GUI.
std::span<const Command> commands() {
    // clang-format off
    static constexpr std::array kCommands{
        Command{"build", kBuildSynopsis, runBuild},
        Command{"export", kExportSynopsis, runExport},
        Command{"table", kTableSynopsis, runTable},
        Command{"measures", kMeasuresSynopsis, runMeasures},
        Command{"bottlenecks", kBottlenecksSynopsis, runBottlenecks},
        Command{"sum", kSumSynopsis, runSum},
#ifdef QUORVANE_CLI_PLOT
        Command{"plot", kPlotSynopsis, runPlot},
#endif
        Command{"health", kHealthSynopsis, runHealth},
        Command{"typical", kTypicalSynopsis, runTypical},
        Command{"reliability", kReliabilitySynopsis, runReliability},
        Command{"info", kInfoSynopsis, runInfo},
        Command{"sample", kSampleSynopsis, runSample},
    };
    // clang-format on
    return kCommands;
}

namespace {

// "a, b, c" from the words of a table.
template <class Table, class Word>
std::string listed(const Table& table, Word word) {
    std::string text;
    for (const auto& entry : table) {
        text += (text.empty() ? "" : ", ") + std::string(word(entry));
    }
    return text;
}

}  // namespace

std::string usageText() {
    std::string text = "usage:\n";
    for (const Command& command : commands()) {
        text += "  ";
        text += kProgram;
        text += " ";
        text += command.synopsis;
        text += "\n";
    }
    text += "  ";
    text += kProgram;
    text += " --help | --version\n";
    text +=
        "\n"
        "The definition lists VURSta2Det.list and VURRoad2Sta.list are read from --lists DIR,\n"
        "by default the folder that holds this program or, where that has no VURSta2Det.list,\n"
        "the folder of ARCHIVE, INPUT or each of DAYS. INPUT is a .station file or a .traffic\n"
        "archive (built first); DAYS are several such files, built in parallel (one per core).\n"
        "TEXT is one of: " +
        listed(kIntervalChoices, [](const IntervalChoice& c) { return c.text; }) + " (default " +
        std::string(kIntervalChoices[0].text) + ").\n";
#ifdef QUORVANE_CLI_PLOT
    text +=
        "KIND is one of: " + listed(kGraphKinds, [](const GraphKindName& k) { return k.word; }) +
        " (line and scatter show --station N, the others --road NAME).\n";
#endif
    text +=
        "The speed (table, measures, bottlenecks, typical, reliability, and plot's speed and\n"
        "travel-time kinds) is estimated with each detector's own g-factor, fitted to the day's\n"
        "free-flow periods at --free-flow-speed (60 to 140 km/h; default 105 km/h, 65 mph with\n"
        "--unit mph; KMH in km/h), or, with --vehicle-length METRES (2 to 30), with one effective\n"
        "vehicle length for every detector. A day loaded from a .station file has only the fixed\n"
        "length (default 6.7 m; 22 ft with --unit mph).\n";
    text +=
        "measures, bottlenecks and reliability need VURStaPos.list beside the definition lists\n"
        "(station number, kilometre post); the delay is counted below --threshold KMH (30 to\n"
        "130; default 96.56, 60 mph). reliability writes the mean and 95th percentile of the\n"
        "days' travel times along --road; bottlenecks --rank ranks the bottlenecks of DAYS.\n";
    text +=
        "--from and --to name the start of an interval as HH:MM:SS or HH:MM (default: the first\n"
        "and the last interval of the day). Without --log the log goes to standard error.\n"
        "Exit status: 0 done, 1 error or refused request, 2 usage error.\n";
    return text;
}

}  // namespace quorvane::cli
