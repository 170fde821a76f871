#pragma once

#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

#include "base/log.h"
#include "core/day.h"
#include "views/day_set.h"
#include "views/interval_table.h"

namespace quorvane {

// Where the main window reads the definition lists and writes its report files.
struct Environment {
    std::filesystem::path listDirectory;    // the program's own directory
    std::filesystem::path outputDirectory;  // empty: the current directory (relative names)

    std::filesystem::path outputFile(std::string_view name) const { return outputDirectory / name; }
};

// A set of days of the Many Days tab: what was made of each day, and the speed settings they
// were summarized with (their travel times and bottlenecks depend on them).
struct ManyDays {
    std::vector<DayResult> days;
    SpeedSettings speed;  // km/h
    double thresholdKmh = 0.0;
};

// The data in force. Commands compute new values aside and replace these whole only once they
// are complete; `intervals` is always computed from `day`, so a reader that copies both
// pointers at one moment holds a consistent pair for as long as it likes.
struct Workspace {
    std::shared_ptr<const Day> day;
    std::shared_ptr<const IntervalTable> intervals;
    // The set of days of the Many Days tab, replaced whole once every day of a new set is done.
    std::shared_ptr<const ManyDays> days;
    Log log;
    bool closing = false;  // ShutDown has begun: running loops give up at their next station
};

// Thrown from a long loop's per-station hook once the program is closing; commands end
// silently on it.
struct ProgramClosing {};

// Lets pending window events run (the main window stays usable during long loops), then gives
// up the running command if one of those events closed the program.
void letEventsRun(const Workspace& workspace);

}  // namespace quorvane
