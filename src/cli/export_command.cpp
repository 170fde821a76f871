#include <array>

#include "cli/commands.h"
#include "cli/day_input.h"
#include "cli/time_range.h"
#include "views/csv_export.h"

namespace quorvane::cli {

namespace fs = std::filesystem;

namespace {

constexpr auto kExportOptions = withDayRange(
    std::array{OptionSpec{"-o", true}, OptionSpec{"--stations", true}, OptionSpec{"--road", true}});

// The station list entries of the export, as the main window's station list shows them: the
// numbers of --stations, or those of the road named by --road (exactly), in road order.
std::vector<std::string> exportLabels(const Arguments& arguments, const Day& day) {
    std::vector<std::string> labels;
    if (const auto numbers = arguments.value("--stations")) {
        for (int16_t number : parseStationNumbers(*numbers)) {
            labels.push_back(std::to_string(number));
        }
        return labels;
    }
    for (int16_t number : day.roads.staList(roadIndex(day, *arguments.value("--road")))) {
        labels.push_back(std::to_string(number));
    }
    return labels;
}

}  // namespace

int runExport(std::span<const std::string_view> args, CliContext& context) {
    const Arguments arguments(args, kExportOptions);
    const fs::path input(std::string(arguments.onlyPositional("INPUT")));
    const fs::path csvFile(std::string(arguments.required("-o")));
    const bool byStations = arguments.value("--stations").has_value();
    if (byStations == arguments.value("--road").has_value()) {
        throw UsageError("give either --stations or --road");
    }
    if (byStations) {
        parseStationNumbers(*arguments.value("--stations"));  // malformed: a usage error now
    }
    const TimeOptions times = timeOptions(arguments);

    Log log;
    return runWithLog(arguments, context, log, [&] {
        const DayIntervals in = obtainDayIntervals(input, arguments, times, context, log);
        const std::vector<std::string> labels = exportLabels(arguments, *in.day);
        return outcomeOf(exportCsv(csvFile, *in.table, in.day->stations, labels,
                                   in.selection(std::nullopt), log));
    });
}

}  // namespace quorvane::cli
