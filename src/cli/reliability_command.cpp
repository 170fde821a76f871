#include <array>

#include "base/file_io.h"
#include "cli/commands.h"
#include "cli/day_input.h"
#include "cli/many_days.h"
#include "cli/speed_options.h"
#include "cli/station_choice.h"
#include "views/reliability.h"
#include "views/roads_of_days.h"

namespace quorvane::cli {

namespace fs = std::filesystem;

namespace {

// No --threshold: the travel times do not depend on it.
constexpr std::array kReliabilityOptions{OptionSpec{"-o", true}, kRoadOption,
                                         kListsOption,           kLogOption,
                                         kVehicleLengthOption,   kFreeFlowSpeedOption};

// The road's reliability written to `out`; the days that do not place it are logged, and a road
// that no day places refuses the request.
Outcome writeReliability(const fs::path& out, std::string_view road, double freeFlowKmh,
                         std::span<const DayResult> days, Log& log) {
    const auto found = roadReliability(days, road, freeFlowKmh);
    if (const auto* refusal = std::get_if<Refusal>(&found)) {
        return refused(refusal->message);
    }
    const std::string roads[] = {std::string(road)};
    for (const RoadAbsence& absence : roadAbsences(days, roads)) {
        log.appendLog(roadAbsenceLine(absence) + std::string(kCrLf));
    }
    writeFileReplacing(out, reliabilityText(std::get<RoadReliability>(found)));
    return {};
}

}  // namespace

int runReliability(std::span<const std::string_view> args, CliContext& context) {
    const Arguments arguments(args, kReliabilityOptions);
    const fs::path out(std::string(arguments.required("-o")));
    const std::string_view road = arguments.required(kRoadOption.name);
    const DaySetRequest request = daySetRequest(arguments, context);

    Log log;
    return runWithLog(arguments, context, log, [&] {
        return runOnDays(request, context, log, [&](std::span<const DayResult> days) {
            return writeReliability(out, road, request.speed.freeFlowKmh(), days, log);
        });
    });
}

}  // namespace quorvane::cli
