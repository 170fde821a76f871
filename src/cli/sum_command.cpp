#include <array>

#include "cli/commands.h"
#include "cli/day_input.h"
#include "cli/time_range.h"
#include "views/volume_sum.h"

namespace quorvane::cli {

namespace fs = std::filesystem;

namespace {

constexpr auto kSumOptions = withDayRange(std::array{OptionSpec{"--station", true}});

}  // namespace

int runSum(std::span<const std::string_view> args, CliContext& context) {
    const Arguments arguments(args, kSumOptions);
    const fs::path input(std::string(arguments.onlyPositional("INPUT")));
    const int16_t station = parseStationOption(arguments.required("--station"));
    const TimeOptions times = timeOptions(arguments);

    Log log;
    return runWithLog(arguments, context, log, [&] {
        const DayIntervals in = obtainDayIntervals(input, arguments, times, context, log);
        const auto row = stationRow(*in.day, station);
        if (const auto* refusal = std::get_if<Refusal>(&row)) {
            return refused(refusal->message);
        }
        const auto sum = stationVolumeSum(*in.table, in.selection(std::get<int>(row)));
        if (const auto* refusal = std::get_if<Refusal>(&sum)) {
            return refused(refusal->message);
        }
        context.out << std::get<int32_t>(sum) << "\n";
        return Outcome{};
    });
}

}  // namespace quorvane::cli
