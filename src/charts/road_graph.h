#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "charts/graph_request.h"
#include "charts/road_graph_windows.h"

namespace quorvane {

class Dialogs;
class Log;

enum class RoadGraphKind { ColorGrid, Contour };

inline constexpr std::string_view kRangeTooLargeLine =
    "Your selected time range is too large. Please use 1 min or higer intervals to display 24 "
    "hours.";
inline constexpr std::string_view kColorGridRangeLine =
    "The graph will automatically adjust to a displayable range. Click OK to continue.";
inline constexpr std::string_view kContourRangeLine =
    "The graph will display only a part of the selected time range. Click OK to continue.";
// Longest range drawn whole, and the length a longer one is cut to (in intervals after start).
inline constexpr int kLongestRoadRange = 1440;
inline constexpr int kCutRoadRange = 1000;

struct OpenedGraph {
    GraphWindow* window = nullptr;  // shown; nullptr when the request was refused
    // The colour grid's new end index when the range rule cut the range: the main window
    // selects it in cmbEndTime. Never set for the contour.
    std::optional<int> newEnd;
};

// PlotRoadGraph: the colour grid or contour of one measure for every station of the selected
// road over the selected range, in a new window. Refusals: the range check's message (no
// window); no road selected (nothing at all); a road station missing from the station list (a
// log entry, a warning, no window). `letEventsRun` is called once per interval filled.
OpenedGraph plotRoadGraph(RoadGraphKind kind, RoadMeasure measure, const GraphData& data,
                          const GraphSelection& selection, Dialogs& dialogs, Log& log,
                          const std::function<void()>& letEventsRun);

// A prepared picture (the typical speed of many days, a day against it) drawn as a colour grid
// in a new window titled `caption`, shown.
GraphWindow* showRoadPicture(const RoadPicture& picture, const std::string& caption);

}  // namespace quorvane
