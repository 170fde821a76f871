#include "cli/many_days.h"

#include <exception>
#include <string>

#include "cli/speed_options.h"

namespace quorvane::cli {

namespace fs = std::filesystem;

namespace {

// "Days built: 7 of 13" on standard error: one line rewritten in place on a terminal, otherwise
// a line a day, which a log file or a CI console keeps readable.
std::function<void(int, int)> progressLine(CliContext& context) {
    return [&context](int done, int total) {
        context.err << (context.errIsTerminal ? "\r" : "") << "Days built: " << done << " of "
                    << total;
        if (!context.errIsTerminal || done == total) {
            context.err << "\n";
        }
        context.err.flush();
    };
}

}  // namespace

DaySetRequest daySetRequest(const Arguments& arguments, const CliContext& context) {
    if (arguments.positional().empty()) {
        throw UsageError("DAYS is missing");
    }
    DaySetRequest request;
    for (const std::string_view file : arguments.positional()) {
        request.files.emplace_back(std::string(file));
    }
    if (const auto lists = arguments.value(kListsOption.name)) {
        request.listDirectory = fs::path(std::string(*lists));
    }
    request.programDirectory = context.programDirectory;
    request.speed = speedSettings(arguments);
    request.thresholdKmh = thresholdKmh(arguments);
    return request;
}

Outcome runOnDays(const DaySetRequest& request, CliContext& context, Log& log,
                  const std::function<Outcome(std::span<const DayResult> days)>& work) {
    const std::vector<DayResult> days = buildDaySet(request, progressLine(context));
    log.appendLog(daySetLogText(days));
    // The days left out and the count close standard error, after whatever the work says.
    std::string closing;
    for (const std::string& line : leftOutLines(days)) {
        closing += line + "\n";
    }
    Outcome outcome{kExitError, {}};
    if (builtDayCount(days) > 0) {
        for (const DayResult& day : days) {
            if (day.summary && request.speed.estimate == SpeedEstimate::Calibrated &&
                day.summary->speeds.estimate == SpeedEstimate::FixedLength) {
                closing += std::string(kLoadedDaySpeedNote) + "\n";
                break;
            }
        }
        try {
            outcome = work(days);
        } catch (const std::exception& failure) {
            outcome = {kExitError, errorLine(reportedError(failure))};
        }
    }
    if (!outcome.message.empty()) {
        closing += outcome.message + "\n";
    }
    return Outcome{outcome.status, closing + daySetSummaryLine(days)};
}

}  // namespace quorvane::cli
