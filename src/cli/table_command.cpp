#include <array>

#include "cli/commands.h"
#include "cli/day_input.h"
#include "cli/speed_options.h"
#include "cli/station_choice.h"
#include "cli/time_range.h"
#include "views/table_export.h"

namespace quorvane::cli {

namespace fs = std::filesystem;

namespace {

constexpr auto kTableOptions =
    withDayRange(std::array{OptionSpec{"-o", true}, kStationsOption, kRoadOption,
                            kVehicleLengthOption, kFreeFlowSpeedOption});

}  // namespace

int runTable(std::span<const std::string_view> args, CliContext& context) {
    const Arguments arguments(args, kTableOptions);
    const fs::path input(std::string(arguments.onlyPositional("INPUT")));
    const fs::path tableFile(std::string(arguments.required("-o")));
    checkStationChoice(arguments);
    const TimeOptions times = timeOptions(arguments);
    const SpeedSettings speed = speedSettings(arguments);

    Log log;
    return runWithLog(arguments, context, log, [&] {
        const DayIntervals in = obtainDayIntervals(input, arguments, times, context, log);
        const std::vector<std::string> labels = chosenStationLabels(arguments, *in.day);
        noteSpeedFallback(*in.day, speed, context.err);
        return outcomeOf(exportTable(tableFile, *in.day, *in.table, labels,
                                     in.selection(std::nullopt), speed, log));
    });
}

}  // namespace quorvane::cli
