#include "charts/station_graphs.h"

#include <memory>

#include "base/dialogs.h"
#include "charts/chart.h"
#include "charts/station_graph_windows.h"

namespace quorvane {

namespace {

enum class StationGraph { Line, Scatter };

GraphWindow* showStationGraph(StationGraph kind, const GraphData& data,
                              const GraphSelection& selection, Dialogs& dialogs) {
    if (const auto refusal = checkStationRequest(selection.request())) {
        dialogs.message(MessageIcon::Exclamation, *refusal);
        return nullptr;
    }
    const std::shared_ptr<const IntervalTable> table = data.table;
    const int row = *selection.station;
    const int start = *selection.start;
    const int end = *selection.end;
    // A table that does not match the lists (never the case when the main window keeps them
    // together) draws nothing rather than reading outside it.
    if (!table || row < 0 || row >= table->stationCount || start < 0 ||
        end >= table->intervalCount) {
        return nullptr;
    }

    std::unique_ptr<GraphWindow> window(kind == StationGraph::Line ? newLineGraphWindow()
                                                                   : newScatterGraphWindow());
    Chart& chart = window->chart();
    chart.clearTitle();
    chart.addTitleLine(QStringLiteral("Station: ") + QString::fromStdString(selection.stationText));
    for (int k = start; k <= end; ++k) {
        const IntervalValue& value = table->at(row, k);
        if (kind == StationGraph::Line) {
            chart.addPoint(0, table->intervalTime(k), value.vol);
            chart.addPoint(1, table->intervalTime(k), value.occ);
        } else {
            chart.addPoint(0, value.occ, value.vol);
        }
    }
    const std::string prefix =
        kind == StationGraph::Line ? "Vol/Occ Line Graph: " : "Vol/Occ Scatter Graph: ";
    window->setWindowTitle(
        QString::fromStdString(prefix + selection.currentIntervalText() + " Data"));
    window->show();
    return window.release();
}

}  // namespace

GraphWindow* showLineGraph(const GraphData& data, const GraphSelection& selection,
                           Dialogs& dialogs) {
    return showStationGraph(StationGraph::Line, data, selection, dialogs);
}

GraphWindow* showScatterGraph(const GraphData& data, const GraphSelection& selection,
                              Dialogs& dialogs) {
    return showStationGraph(StationGraph::Scatter, data, selection, dialogs);
}

}  // namespace quorvane
