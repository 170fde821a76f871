#pragma once

// What the secondary windows' "Export CSV..." share: the name they propose and the way through
// the save dialog to the written file and its message.

#include <functional>
#include <optional>
#include <string>

#include "views/request_checks.h"

namespace quorvane {

class Dialogs;
struct MainControls;

// A file beside the day in force named after the day and the road: "may5.traffic" and the road
// "Route 1 N" with `suffix` "_measures.csv" propose "may5_Route_1_N_measures.csv" beside it.
std::string proposedRoadFile(const MainControls& controls, const std::string& road,
                             const std::string& suffix);

// The save dialog proposing `proposedCsv` (a cancel ends it silently), then `write` to the path
// chosen: its refusal (exclamation) or error (critical) shown, else "Saving done.".
void exportCsvThroughDialogs(
    Dialogs& dialogs, const std::string& proposedCsv,
    const std::function<std::optional<Refusal>(const std::string& path)>& write);

}  // namespace quorvane
