#include <array>

#include "cli/commands.h"
#include "cli/day_input.h"
#include "cli/speed_options.h"
#include "views/health_report.h"

namespace quorvane::cli {

namespace fs = std::filesystem;

namespace {

constexpr std::array kHealthOptions{OptionSpec{"-o", true}, kListsOption, kLogOption,
                                    kFreeFlowSpeedOption};

}  // namespace

int runHealth(std::span<const std::string_view> args, CliContext& context) {
    const Arguments arguments(args, kHealthOptions);
    const fs::path archive(std::string(arguments.onlyPositional("ARCHIVE")));
    const auto out = arguments.value("-o");
    // The g-factors at V in km/h (the command has no --unit).
    const double freeFlowKmh = speedSettings(arguments).freeFlowKmh();

    Log log;
    return runWithLog(arguments, context, log, [&]() -> Outcome {
        // A station file holds the combined tables only: there is nothing to grade.
        if (!isArchiveFile(archive)) {
            return refused(kHealthNeedsBuildMessage);
        }
        const Day day = buildDay(
            BuildRequest{archive, listDirectory(arguments, context, archive, log), std::nullopt},
            log, {});
        const DetectorHealth& health = *day.health;
        if (out) {
            writeHealthCsv(fs::path(std::string(*out)), health, freeFlowKmh);
        } else {
            context.out << healthCsvText(health, freeFlowKmh);
        }
        // The summary is the last line on standard error, after the build's log.
        return Outcome{kExitOk, healthSummary(health)};
    });
}

}  // namespace quorvane::cli
