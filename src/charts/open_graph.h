#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string_view>

#include "charts/graph_request.h"
#include "charts/road_graph.h"

namespace quorvane {

class Dialogs;
class Log;

// The graphs a user can open: one per graph button of the main window, each with the word the
// batch command's --kind names it by.
enum class GraphKind {
    Line,
    Scatter,
    VolColorGrid,
    OccColorGrid,
    VolContour,
    OccContour,
    SpeedColorGrid,
    SpeedContour,
    TravelTime
};

struct GraphKindName {
    std::string_view word;
    GraphKind kind;
};
inline constexpr std::array kGraphKinds{
    GraphKindName{"line", GraphKind::Line},
    GraphKindName{"scatter", GraphKind::Scatter},
    GraphKindName{"volgrid", GraphKind::VolColorGrid},
    GraphKindName{"occgrid", GraphKind::OccColorGrid},
    GraphKindName{"volcontour", GraphKind::VolContour},
    GraphKindName{"occcontour", GraphKind::OccContour},
    GraphKindName{"speedgrid", GraphKind::SpeedColorGrid},
    GraphKindName{"speedcontour", GraphKind::SpeedContour},
    GraphKindName{"traveltime", GraphKind::TravelTime},
};

std::optional<GraphKind> graphKindNamed(std::string_view word);
// The line and scatter graphs show the selected station; the others the selected road.
bool showsOneStation(GraphKind kind);
// The graphs drawn from the speed estimate (the travel time among them).
bool graphShowsSpeed(GraphKind kind);

// Opens a graph of `kind` for the selection in a new window, shown, whose image is saved
// through `dialogs`. Refusals are shown through `dialogs` and open nothing (window nullptr).
// `letEventsRun` runs once per interval of a road graph's fill.
OpenedGraph openGraph(GraphKind kind, const GraphData& data, const GraphSelection& selection,
                      Dialogs& dialogs, Log& log, const std::function<void()>& letEventsRun);

}  // namespace quorvane
