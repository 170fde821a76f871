#include <array>

#include "cli/commands.h"
#include "cli/day_input.h"
#include "cli/station_choice.h"
#include "cli/time_range.h"
#include "views/csv_export.h"

namespace quorvane::cli {

namespace fs = std::filesystem;

namespace {

constexpr auto kExportOptions =
    withDayRange(std::array{OptionSpec{"-o", true}, kStationsOption, kRoadOption});

}  // namespace

int runExport(std::span<const std::string_view> args, CliContext& context) {
    const Arguments arguments(args, kExportOptions);
    const fs::path input(std::string(arguments.onlyPositional("INPUT")));
    const fs::path csvFile(std::string(arguments.required("-o")));
    checkStationChoice(arguments);
    const TimeOptions times = timeOptions(arguments);

    Log log;
    return runWithLog(arguments, context, log, [&] {
        const DayIntervals in = obtainDayIntervals(input, arguments, times, context, log);
        const std::vector<std::string> labels = chosenStationLabels(arguments, *in.day);
        return outcomeOf(exportCsv(csvFile, *in.table, in.day->stations, labels,
                                   in.selection(std::nullopt), log));
    });
}

}  // namespace quorvane::cli
