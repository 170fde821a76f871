#include <array>
#include <fstream>
#include <string>

#include "base/file_io.h"
#include "cli/commands.h"
#include "cli/day_input.h"
#include "cli/speed_options.h"
#include "views/bottlenecks.h"

namespace quorvane::cli {

namespace fs = std::filesystem;

namespace {

constexpr std::array kBottlenecksOptions{OptionSpec{"-o", true},
                                         OptionSpec{"--road", true},
                                         kVehicleLengthOption,
                                         kFreeFlowSpeedOption,
                                         kThresholdOption,
                                         kListsOption,
                                         kLogOption};

}  // namespace

int runBottlenecks(std::span<const std::string_view> args, CliContext& context) {
    const Arguments arguments(args, kBottlenecksOptions);
    const fs::path input(std::string(arguments.onlyPositional("INPUT")));
    const auto out = arguments.value("-o");
    const auto road = arguments.value("--road");
    const double threshold = thresholdKmh(arguments);
    // In km/h, as the file's columns: --free-flow-speed in km/h.
    const SpeedSettings speed = speedSettings(arguments);

    Log log;
    return runWithLog(arguments, context, log, [&]() -> Outcome {
        const Day day = obtainDay(input, arguments, context, log);
        std::vector<int> roads;
        if (road) {
            roads.push_back(roadIndex(day, *road));
        } else {
            for (int r = 0; r < day.roads.count(); ++r) {
                roads.push_back(r);
            }
        }
        noteSpeedFallback(day, speed, context.err);
        std::string text(kBottlenecksHeader);
        text += '\n';
        std::size_t activations = 0;
        for (const int r : roads) {
            const auto found = findBottlenecks(day, r, speed, threshold, log);
            if (const auto* refusal = std::get_if<Refusal>(&found)) {
                // One road asked for, or no positions at all: nothing is written. Of every road,
                // one the finder cannot place is left out and named.
                if (road || !day.positions) {
                    return refused(refusal->message);
                }
                context.err << "Road \"" << day.roads.roadByIndex(r)
                            << "\" left out: " << refusal->message << "\n";
                continue;
            }
            const RoadBottlenecks& bottlenecks = std::get<RoadBottlenecks>(found);
            activations += bottlenecks.activations.size();
            text += bottleneckLines(bottlenecks);
        }
        if (out) {
            writeFileReplacing(fs::path(std::string(*out)), text);
        } else {
            context.out << text;
        }
        return Outcome{kExitOk, bottleneckSummary(activations, roads.size())};
    });
}

}  // namespace quorvane::cli
