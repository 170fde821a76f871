#include "cli/day_input.h"

#include "base/error.h"
#include "base/text.h"
#include "cli/batch_dialogs.h"
#include "views/interval_table.h"

namespace quorvane::cli {

namespace fs = std::filesystem;

namespace {

// The work's outcome; an Error, or anything else thrown, becomes its "Error No: ..." line.
Outcome runWork(const std::function<Outcome()>& work) {
    try {
        return work();
    } catch (const std::exception& failure) {
        return {kExitError, errorLine(reportedError(failure))};
    }
}

}  // namespace

fs::path programDirectory(const char* argv0) {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec && !self.empty()) {
        return self.parent_path();
    }
    return fs::absolute(fs::path(argv0 == nullptr ? "" : argv0), ec).parent_path();
}

fs::path listDirectory(const Arguments& arguments, const CliContext& context, const fs::path& input,
                       Log& log) {
    if (const auto lists = arguments.value(kListsOption.name)) {
        return fs::path(std::string(*lists));
    }
    return chooseListFolder(context.programDirectory, input, log).directory;
}

BuildHooks buildHooks(const Arguments& arguments) {
    BuildHooks hooks;
    const OccMode mode = arguments.flag(kWorstOption.name) ? OccMode::WorstCase : OccMode::Average;
    hooks.occMode = [mode] { return mode; };
    return hooks;
}

Day obtainDay(const fs::path& input, const Arguments& arguments, const CliContext& context,
              Log& log) {
    const fs::path lists = listDirectory(arguments, context, input, log);
    if (isArchiveFile(input)) {
        return buildDay(BuildRequest{input, lists, std::nullopt}, log, buildHooks(arguments));
    }
    return loadDay(input, lists, log);
}

DayIntervals obtainDayIntervals(const fs::path& input, const Arguments& arguments,
                                const TimeOptions& times, const CliContext& context, Log& log) {
    auto day = std::make_shared<const Day>(obtainDay(input, arguments, context, log));
    auto table = std::make_shared<const IntervalTable>(
        recomputeIntervals(day->tables, day->stations, times.intervalIndex, log));
    const IntervalRange range = intervalRange(times, *table);
    return {std::move(day), std::move(table), range};
}

int roadIndex(const Day& day, std::string_view name) {
    const auto road = day.roads.findRoad(name);
    if (!road) {
        throw Error(errc::kInvalidArgument, "Road \"" + std::string(name) + "\" is not in " +
                                                std::string(kRoadListFileName));
    }
    return *road;
}

RequestSelection DayIntervals::selection(std::optional<int> station) const {
    return {day->stations.count(), station, range.start, range.end};
}

std::variant<int, Refusal> stationRow(const Day& day, int16_t number) {
    const int row = day.stations.staIndex(number);
    if (row < 0) {
        return Refusal{missingStationLine(std::to_string(number))};
    }
    return row;
}

Outcome refused(std::string_view message) {
    return {kExitError, lfLineEnds(message)};
}

Outcome outcomeOf(const std::optional<Refusal>& refusal) {
    return refusal ? refused(refusal->message) : Outcome{};
}

int runWithLog(const Arguments& arguments, CliContext& context, Log& log,
               const std::function<Outcome()>& work) {
    Outcome outcome = runWork(work);
    if (const auto logFile = arguments.value(kLogOption.name)) {
        try {
            log.writeFile(fs::path(std::string(*logFile)));
        } catch (const Error& error) {
            context.err << errorLine(error) << "\n";
            outcome.status = kExitError;
        }
    } else if (!log.logText().empty()) {
        context.err << log.fileText();
    }
    if (!outcome.message.empty()) {
        context.err << outcome.message << "\n";
    }
    return outcome.status;
}

int runReportingErrors(CliContext& context, const std::function<Outcome()>& work) {
    const Outcome outcome = runWork(work);
    if (!outcome.message.empty()) {
        context.err << outcome.message << "\n";
    }
    return outcome.status;
}

}  // namespace quorvane::cli
