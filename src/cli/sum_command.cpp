#include <array>

#include "cli/commands.h"
#include "cli/day_input.h"
#include "cli/time_range.h"
#include "views/request_checks.h"
#include "views/volume_sum.h"

namespace quorvane::cli {

namespace fs = std::filesystem;

namespace {

constexpr std::array kSumOptions{
    OptionSpec{"--station", true},
    kIntervalOption,
    kFromOption,
    kToOption,
    kListsOption,
    kWorstOption,
    kLogOption,
};

}  // namespace

int runSum(std::span<const std::string_view> args, CliContext& context) {
    const Arguments arguments(args, kSumOptions);
    const fs::path input(std::string(arguments.onlyPositional("INPUT")));
    const int16_t station = parseStationOption(arguments.required("--station"));
    const TimeOptions times = timeOptions(arguments);

    Log log;
    return runWithLog(arguments, context, log, [&] {
        const DayIntervals in = obtainDayIntervals(input, arguments, times, context, log);
        const Day& day = *in.day;
        const IntervalRange range = in.range;
        const int row = day.stations.staIndex(station);
        if (row < 0) {
            return refused(missingStationMessage(station));
        }
        const RequestSelection selection{day.stations.count(), row, range.start, range.end};
        if (const auto message = checkStationRequest(selection)) {
            return refused(*message);
        }
        context.out << volumeSum(*in.table, row, range.start, range.end) << "\n";
        return Outcome{};
    });
}

}  // namespace quorvane::cli
