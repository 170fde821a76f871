#include <array>
#include <fstream>
#include <string>

#include "base/file_io.h"
#include "cli/commands.h"
#include "cli/day_input.h"
#include "cli/many_days.h"
#include "cli/speed_options.h"
#include "views/bottleneck_ranking.h"
#include "views/bottlenecks.h"
#include "views/roads_of_days.h"
#include "views/typical_day.h"

namespace quorvane::cli {

namespace fs = std::filesystem;

namespace {

constexpr std::array kBottlenecksOptions{OptionSpec{"-o", true},
                                         OptionSpec{"--road", true},
                                         kVehicleLengthOption,
                                         kFreeFlowSpeedOption,
                                         kThresholdOption,
                                         kListsOption,
                                         kLogOption,
                                         OptionSpec{"--rank", false}};

// `text` to -o, replacing the file whole, or to standard output.
void writeOut(const Arguments& arguments, CliContext& context, const std::string& text) {
    if (const auto out = arguments.value("-o")) {
        writeFileReplacing(fs::path(std::string(*out)), text);
    } else {
        context.out << text;
    }
}

// The ranking of every road of the days, or of --road. The roads some days do not place are
// logged with those days; a road (or, of every road, any road) that no day places refuses.
Outcome writeRanking(const Arguments& arguments, CliContext& context,
                     std::span<const DayResult> days, Log& log) {
    const auto road = arguments.value("--road");
    const std::optional<Refusal> refusal =
        road ? roadPlacement(days, *road) : anyRoadPlacement(days);
    if (refusal) {
        return refused(refusal->message);
    }
    const std::vector<std::string> roads =
        road ? std::vector<std::string>{std::string(*road)} : roadNamesOfDays(days);
    for (const RoadAbsence& absence : roadAbsences(days, roads)) {
        log.appendLog(roadAbsenceLine(absence) + std::string(kCrLf));
    }
    const std::vector<RankedBottleneck> ranking = rankBottlenecks(days, road);
    writeOut(arguments, context, rankingText(ranking));
    return Outcome{kExitOk, rankingSummary(ranking)};
}

int runRanking(const Arguments& arguments, CliContext& context) {
    const DaySetRequest request = daySetRequest(arguments, context);
    Log log;
    return runWithLog(arguments, context, log, [&] {
        return runOnDays(request, context, log, [&](std::span<const DayResult> days) {
            return writeRanking(arguments, context, days, log);
        });
    });
}

}  // namespace

int runBottlenecks(std::span<const std::string_view> args, CliContext& context) {
    const Arguments arguments(args, kBottlenecksOptions);
    if (arguments.flag("--rank")) {
        return runRanking(arguments, context);
    }
    if (arguments.positional().size() > 1) {
        throw UsageError("one INPUT only: the bottlenecks of several DAYS are ranked with --rank");
    }
    const fs::path input(std::string(arguments.onlyPositional("INPUT")));
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
        writeOut(arguments, context, text);
        return Outcome{kExitOk, bottleneckSummary(activations, roads.size())};
    });
}

}  // namespace quorvane::cli
