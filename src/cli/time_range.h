#pragma once

#include <optional>
#include <string>

#include "cli/arguments.h"
#include "views/interval_table.h"

namespace quorvane::cli {

inline constexpr OptionSpec kIntervalOption{"--interval", true};
inline constexpr OptionSpec kFromOption{"--from", true};
inline constexpr OptionSpec kToOption{"--to", true};

// --interval, --from and --to as given; read before any work, so that a malformed value is a
// UsageError: an interval that is not one of the ten entry texts (compared exactly; default
// "30 sec"), a time not of the form HH:MM:SS or HH:MM.
struct TimeOptions {
    int intervalIndex = 0;
    std::optional<int> fromSeconds;
    std::optional<int> toSeconds;
    std::string fromText;
    std::string toText;
};
TimeOptions timeOptions(const Arguments& arguments);

// The start and end intervals (default: the first and the last interval of the day). A time
// at which no interval of the table starts is an Error.
struct IntervalRange {
    int start = 0;
    int end = 0;
};
IntervalRange intervalRange(const TimeOptions& times, const IntervalTable& table);

}  // namespace quorvane::cli
