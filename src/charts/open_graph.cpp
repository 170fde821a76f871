#include "charts/open_graph.h"

#include <algorithm>

#include "charts/chart.h"
#include "charts/graph_window.h"
#include "charts/station_graphs.h"
#include "charts/travel_time_graph.h"

namespace quorvane {

std::optional<GraphKind> graphKindNamed(std::string_view word) {
    const auto it = std::find_if(kGraphKinds.begin(), kGraphKinds.end(),
                                 [&](const GraphKindName& name) { return name.word == word; });
    if (it == kGraphKinds.end()) {
        return std::nullopt;
    }
    return it->kind;
}

bool showsOneStation(GraphKind kind) {
    return kind == GraphKind::Line || kind == GraphKind::Scatter;
}

bool graphShowsSpeed(GraphKind kind) {
    return kind == GraphKind::SpeedColorGrid || kind == GraphKind::SpeedContour ||
           kind == GraphKind::TravelTime;
}

namespace {

OpenedGraph openWindow(GraphKind kind, const GraphData& data, const GraphSelection& selection,
                       Dialogs& dialogs, Log& log, const std::function<void()>& letEventsRun) {
    const auto road = [&](RoadGraphKind graph, RoadMeasure measure) {
        return plotRoadGraph(graph, measure, data, selection, dialogs, log, letEventsRun);
    };
    switch (kind) {
        case GraphKind::Line:
            return {showLineGraph(data, selection, dialogs), std::nullopt};
        case GraphKind::Scatter:
            return {showScatterGraph(data, selection, dialogs), std::nullopt};
        case GraphKind::VolColorGrid:
            return road(RoadGraphKind::ColorGrid, RoadMeasure::Volume);
        case GraphKind::OccColorGrid:
            return road(RoadGraphKind::ColorGrid, RoadMeasure::Occupancy);
        case GraphKind::VolContour:
            return road(RoadGraphKind::Contour, RoadMeasure::Volume);
        case GraphKind::OccContour:
            return road(RoadGraphKind::Contour, RoadMeasure::Occupancy);
        case GraphKind::SpeedColorGrid:
            return road(RoadGraphKind::ColorGrid, RoadMeasure::Speed);
        case GraphKind::SpeedContour:
            return road(RoadGraphKind::Contour, RoadMeasure::Speed);
        case GraphKind::TravelTime:
            return plotTravelTime(data, selection, dialogs, log);
    }
    return {};
}

}  // namespace

OpenedGraph openGraph(GraphKind kind, const GraphData& data, const GraphSelection& selection,
                      Dialogs& dialogs, Log& log, const std::function<void()>& letEventsRun) {
    OpenedGraph opened = openWindow(kind, data, selection, dialogs, log, letEventsRun);
    if (opened.window != nullptr) {
        opened.window->chart().setDialogs(&dialogs);
    }
    return opened;
}

}  // namespace quorvane
