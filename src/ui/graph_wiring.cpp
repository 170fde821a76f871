#include "ui/graph_wiring.h"

#include <QComboBox>
#include <QPointer>

#include "charts/chart.h"
#include "charts/graph_request.h"
#include "charts/graph_window.h"
#include "charts/road_graph.h"
#include "charts/station_graphs.h"
#include "ui/command_context.h"
#include "ui/view_requests.h"
#include "ui/window_lists.h"

namespace quorvane {

namespace {

// A window of the program saves its image through the program's dialogs.
void offerSaving(GraphWindow* window, Dialogs& dialogs) {
    if (window != nullptr) {
        window->chart().setDialogs(&dialogs);
    }
}

void openRoadGraph(RoadGraphKind kind, RoadMeasure measure, CommandContext& context) {
    Workspace& workspace = context.workspace;
    const GraphData data{workspace.day, workspace.intervals};
    const RoadGraphResult result =
        plotRoadGraph(kind, measure, data, readGraphSelection(context.controls), context.dialogs,
                      workspace.log, [&workspace] { letEventsRun(workspace); });
    offerSaving(result.window, context.dialogs);
    // The colour grid shows the range it drew. A recomputation, build or load during the fill
    // refilled the time lists for another table: the cut end means nothing there.
    QComboBox& endTime = *context.controls.cmbEndTime;
    if (result.newEnd && workspace.intervals == data.table && *result.newEnd < endTime.count()) {
        endTime.setCurrentIndex(*result.newEnd);
    }
}

void openGraph(GraphKind kind, CommandContext& context) {
    switch (kind) {
        case GraphKind::Line:
        case GraphKind::Scatter: {
            const GraphData data{context.workspace.day, context.workspace.intervals};
            const GraphSelection selection = readGraphSelection(context.controls);
            offerSaving(kind == GraphKind::Line
                            ? showLineGraph(data, selection, context.dialogs)
                            : showScatterGraph(data, selection, context.dialogs),
                        context.dialogs);
            return;
        }
        case GraphKind::VolColorGrid:
            return openRoadGraph(RoadGraphKind::ColorGrid, RoadMeasure::Volume, context);
        case GraphKind::OccColorGrid:
            return openRoadGraph(RoadGraphKind::ColorGrid, RoadMeasure::Occupancy, context);
        case GraphKind::VolContour:
            return openRoadGraph(RoadGraphKind::Contour, RoadMeasure::Volume, context);
        case GraphKind::OccContour:
            return openRoadGraph(RoadGraphKind::Contour, RoadMeasure::Occupancy, context);
    }
}

}  // namespace

GraphSelection readGraphSelection(const MainControls& controls) {
    const RequestSelection lists = readSelection(controls);
    GraphSelection selection;
    selection.stationEntries = lists.stationEntries;
    selection.station = lists.station;
    if (lists.station) {
        selection.stationText = controls.cmbStaList->itemText(*lists.station).toStdString();
    }
    selection.start = lists.start;
    selection.end = lists.end;
    selection.road = selectedIndex(*controls.cmbRoadList);
    selection.intervalText = [list = QPointer<QComboBox>(controls.cmbPlotInterval)] {
        return list != nullptr ? list->currentText().toStdString() : std::string();
    };
    return selection;
}

GraphCommand graphWindowCommand() {
    return [](GraphKind kind, CommandContext& context) { openGraph(kind, context); };
}

}  // namespace quorvane
