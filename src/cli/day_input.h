#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "base/log.h"
#include "cli/arguments.h"
#include "cli/command.h"
#include "cli/time_range.h"
#include "core/day.h"
#include "views/request_checks.h"

namespace quorvane::cli {

// The options every command on a day shares.
inline constexpr OptionSpec kListsOption{"--lists", true};
inline constexpr OptionSpec kWorstOption{"--worst", false};
inline constexpr OptionSpec kLogOption{"--log", true};
// The options of every command that works on a range of a day's intervals.
inline constexpr std::array kDayRangeOptions{kIntervalOption, kFromOption,  kToOption,
                                             kListsOption,    kWorstOption, kLogOption};

// A command's own options followed by those of the day's range.
template <std::size_t N>
constexpr std::array<OptionSpec, N + kDayRangeOptions.size()> withDayRange(
    const std::array<OptionSpec, N>& own) {
    std::array<OptionSpec, N + kDayRangeOptions.size()> all{};
    for (std::size_t i = 0; i < N; ++i) {
        all[i] = own[i];
    }
    for (std::size_t i = 0; i < kDayRangeOptions.size(); ++i) {
        all[N + i] = kDayRangeOptions[i];
    }
    return all;
}

// The folder of the running executable (/proc/self/exe), else that of `argv0`.
std::filesystem::path programDirectory(const char* argv0);

// --lists DIR; without it the program's folder or, where that has no station list, the folder
// of `input` (logged).
std::filesystem::path listDirectory(const Arguments& arguments, const CliContext& context,
                                    const std::filesystem::path& input, Log& log);

BuildHooks buildHooks(const Arguments& arguments);

// The day of INPUT: loaded from a station file or built from an archive. Throws Error.
Day obtainDay(const std::filesystem::path& input, const Arguments& arguments,
              const CliContext& context, Log& log);

// The day of INPUT re-aggregated at --interval, and the range --from/--to name in it.
struct DayIntervals {
    std::shared_ptr<const Day> day;
    std::shared_ptr<const IntervalTable> table;
    IntervalRange range;

    // The main window's lists as a user would set them for this range: the day's stations
    // listed, `station` selected (if any), the range's start and end.
    RequestSelection selection(std::optional<int> station) const;
};
DayIntervals obtainDayIntervals(const std::filesystem::path& input, const Arguments& arguments,
                                const TimeOptions& times, const CliContext& context, Log& log);

// The index of the road named `name` (compared exactly) in the road list; an Error when no road
// has that name.
int roadIndex(const Day& day, std::string_view name);

// The row of a station number in the station list, or the refusal for a number the list lacks
// (the main window offers only listed stations; on the command line a number can name any).
std::variant<int, Refusal> stationRow(const Day& day, int16_t number);

// What a command ends with besides its own output: its exit status and the last line for
// standard error: a refused request's message, or a closing summary of work done.
struct Outcome {
    int status = kExitOk;
    std::string message;
};

// A refusal as the terminal shows it: the message box's CR LF line breaks become LF.
Outcome refused(std::string_view message);
// The outcome of work that ends with a refusal or with none.
Outcome outcomeOf(const std::optional<Refusal>& refusal);

// Runs a command's work and then hands out its log, as "Log.txt" would hold it, to --log FILE
// or (when there is any) to standard error; then the refusal message or the "Error No: ..."
// line of an Error thrown by the work. Returns the exit status.
int runWithLog(const Arguments& arguments, CliContext& context, Log& log,
               const std::function<Outcome()>& work);

// Runs work that keeps no log: an Error becomes its "Error No: ..." line and status 1.
int runReportingErrors(CliContext& context, const std::function<Outcome()>& work);

}  // namespace quorvane::cli
