#pragma once

#include <memory>

#include "views/request_checks.h"

namespace quorvane {

struct CommandContext;
struct Day;
struct IntervalTable;
struct MainControls;

// What the checks read of the main window's lists.
RequestSelection readSelection(const MainControls& controls);

// The day and interval table in force, taken when a view starts: the view keeps reading them
// however long it runs, whatever is put in force meanwhile.
struct DataInForce {
    std::shared_ptr<const Day> day;
    std::shared_ptr<const IntervalTable> intervals;
};
// None, after the no-data message was shown, before any build or load.
std::optional<DataInForce> dataInForce(CommandContext& context);

// A refusal's message, with the exclamation icon.
void showRefusal(CommandContext& context, const Refusal& refusal);

}  // namespace quorvane
