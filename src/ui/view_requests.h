#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "views/request_checks.h"

namespace quorvane {

struct CommandContext;
struct Day;
struct IntervalTable;
struct MainControls;

// What a view reads, taken when it starts: the day and interval table then in force (a view
// keeps reading them however long it runs) and the interval range start..end inclusive.
struct ViewRange {
    std::shared_ptr<const Day> day;
    std::shared_ptr<const IntervalTable> intervals;
    int start = 0;
    int end = 0;
};

// A one-station view: the station's row in the tables and its entry text in cmbStaList.
struct StationView : ViewRange {
    int row = 0;
    QString label;
};

// What the checks read of the main window's lists.
RequestSelection readSelection(const MainControls& controls);

// CheckStationRequest: the request of the volume sum, or none after the
// refusal's message (exclamation icon) was shown.
std::optional<StationView> stationViewRequest(CommandContext& context);
// CheckRangeRequest: the request of the CSV export.
std::optional<ViewRange> rangeViewRequest(CommandContext& context);

}  // namespace quorvane
