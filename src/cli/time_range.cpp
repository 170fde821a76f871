#include "cli/time_range.h"

#include "base/error.h"

namespace quorvane::cli {

namespace {

std::optional<int> secondsOf(const Arguments& arguments, const OptionSpec& option,
                             std::string& text) {
    const auto given = arguments.value(option.name);
    if (!given) {
        return std::nullopt;
    }
    text = std::string(*given);
    const auto seconds = parseTimeOfDay(*given);
    if (!seconds) {
        throw UsageError(std::string(option.name) +
                         " takes a time of day HH:MM:SS or HH:MM, not \"" + text + "\"");
    }
    return seconds;
}

int intervalStartingAt(std::optional<int> seconds, std::string_view option, const std::string& text,
                       const IntervalTable& table, int fallback) {
    if (!seconds) {
        return fallback;
    }
    const int length = table.choice().intervalSeconds;
    if (*seconds % length != 0 || *seconds / length >= table.intervalCount) {
        throw Error(errc::kInvalidArgument, std::string(option) + " " + text +
                                                " is not the start of a " +
                                                std::string(table.choice().text) + " interval");
    }
    return *seconds / length;
}

}  // namespace

TimeOptions timeOptions(const Arguments& arguments) {
    TimeOptions times;
    if (const auto text = arguments.value(kIntervalOption.name)) {
        const auto index = intervalIndexForText(*text);
        if (!index) {
            throw UsageError(
                "--interval takes one of: 30 sec, 1 min, 2 min, 3 min, 4 min, 5 min, 10 min, "
                "15 min, 30 min, 1 hour; not \"" +
                std::string(*text) + "\"");
        }
        times.intervalIndex = *index;
    }
    times.fromSeconds = secondsOf(arguments, kFromOption, times.fromText);
    times.toSeconds = secondsOf(arguments, kToOption, times.toText);
    return times;
}

IntervalRange intervalRange(const TimeOptions& times, const IntervalTable& table) {
    return {intervalStartingAt(times.fromSeconds, kFromOption.name, times.fromText, table, 0),
            intervalStartingAt(times.toSeconds, kToOption.name, times.toText, table,
                               table.intervalCount - 1)};
}

}  // namespace quorvane::cli
