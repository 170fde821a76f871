#pragma once

#include <string>
#include <vector>

#include "cli/arguments.h"

namespace quorvane {
struct Day;
}

namespace quorvane::cli {

inline constexpr OptionSpec kStationsOption{"--stations", true};
inline constexpr OptionSpec kRoadOption{"--road", true};

// The exports name their stations by --stations or by --road, never both: a UsageError
// otherwise, and for a malformed --stations, before any work.
void checkStationChoice(const Arguments& arguments);

// The station list entries of an export, as the main window's station list shows them: the
// numbers of --stations, or those of the road named by --road (exactly), in road order.
std::vector<std::string> chosenStationLabels(const Arguments& arguments, const Day& day);

}  // namespace quorvane::cli
