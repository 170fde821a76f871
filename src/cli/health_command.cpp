#include <array>

#include "cli/commands.h"
#include "cli/day_input.h"
#include "views/health_report.h"

namespace quorvane::cli {

namespace fs = std::filesystem;

namespace {

constexpr std::array kHealthOptions{OptionSpec{"-o", true}, kListsOption, kLogOption};

}  // namespace

int runHealth(std::span<const std::string_view> args, CliContext& context) {
    const Arguments arguments(args, kHealthOptions);
    const fs::path archive(std::string(arguments.onlyPositional("ARCHIVE")));
    const auto out = arguments.value("-o");

    Log log;
    return runWithLog(arguments, context, log, [&]() -> Outcome {
        // A station file holds the combined tables only: there is nothing to grade.
        if (!isArchiveFile(archive)) {
            return refused(kHealthNeedsBuildMessage);
        }
        const Day day = buildDay(
            BuildRequest{archive, listDirectory(arguments, context, archive, log), std::nullopt}, log, {});
        const DetectorHealth& health = *day.health;
        if (out) {
            writeHealthCsv(fs::path(std::string(*out)), health);
        } else {
            context.out << healthCsvText(health);
        }
        // The summary is the last line on standard error, after the build's log.
        return Outcome{kExitOk, healthSummary(health)};
    });
}

}  // namespace quorvane::cli
