#include <array>
#include <string>

#include "cli/commands.h"
#include "cli/day_input.h"
#include "cli/speed_options.h"
#include "cli/time_range.h"
#include "views/road_measures_export.h"

namespace quorvane::cli {

namespace fs = std::filesystem;

namespace {

constexpr auto kMeasuresOptions =
    withDayRange(std::array{OptionSpec{"-o", true}, OptionSpec{"--road", true}, kThresholdOption,
                            kVehicleLengthOption, kFreeFlowSpeedOption});

}  // namespace

int runMeasures(std::span<const std::string_view> args, CliContext& context) {
    const Arguments arguments(args, kMeasuresOptions);
    const fs::path input(std::string(arguments.onlyPositional("INPUT")));
    const fs::path out(std::string(arguments.required("-o")));
    const std::string road(arguments.required("--road"));
    const TimeOptions times = timeOptions(arguments);
    const double threshold = thresholdKmh(arguments);
    // The unit is km/h: --free-flow-speed in km/h, as the file's header says.
    const SpeedSettings speed = speedSettings(arguments);

    Log log;
    return runWithLog(arguments, context, log, [&]() -> Outcome {
        const DayIntervals in = obtainDayIntervals(input, arguments, times, context, log);
        const int roadAt = roadIndex(*in.day, road);
        noteSpeedFallback(*in.day, speed, context.err);
        const auto written = exportRoadMeasures(out, *in.day, *in.table, roadAt,
                                                in.selection(std::nullopt), speed, threshold, log);
        if (const auto* refusal = std::get_if<Refusal>(&written)) {
            return refused(refusal->message);
        }
        // The totals end standard error, after the log.
        return Outcome{kExitOk, std::get<MeasuresWritten>(written).totals};
    });
}

}  // namespace quorvane::cli
