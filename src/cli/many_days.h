#pragma once

#include <functional>
#include <span>

#include "base/log.h"
#include "cli/arguments.h"
#include "cli/command.h"
#include "cli/day_input.h"
#include "views/day_set.h"

namespace quorvane::cli {

// The set of days of a command on many days: the positional DAYS (a UsageError without any),
// --lists, the program's folder, the speed estimate and --threshold (where the command takes
// them).
DaySetRequest daySetRequest(const Arguments& arguments, const CliContext& context);

// Builds the set with the progress line on standard error and puts its log into `log`, then
// runs `work` on the days when at least one was built (an Error it throws is its outcome). The
// outcome's message closes standard error: the days left out, the note of a loaded day's speed,
// the work's own message, then "13 days: 12 built, 1 left out". Exit 1 when no day was built.
Outcome runOnDays(const DaySetRequest& request, CliContext& context, Log& log,
                  const std::function<Outcome(std::span<const DayResult> days)>& work);

}  // namespace quorvane::cli
