#include "ui/graph_commands.h"

#include <QComboBox>
#include <QPointer>

#include "ui/button_guard.h"
#include "ui/command_context.h"
#include "ui/speed_controls.h"
#include "ui/view_requests.h"
#include "ui/window_lists.h"

namespace quorvane {

namespace {

void openInForce(CommandContext& context, GraphKind kind) {
    Workspace& workspace = context.workspace;
    const GraphData data{workspace.day, workspace.intervals};
    const OpenedGraph opened =
        openGraph(kind, data, readGraphSelection(context.controls), context.dialogs, workspace.log,
                  [&workspace] { letEventsRun(workspace); });
    // The colour grid shows the range it drew. A recomputation, build or load during the fill
    // refilled the time lists for another table: the cut end means nothing there.
    QComboBox& endTime = *context.controls.cmbEndTime;
    if (opened.newEnd && workspace.intervals == data.table && *opened.newEnd < endTime.count()) {
        endTime.setCurrentIndex(*opened.newEnd);
    }
}

}  // namespace

void openGraphWindow(CommandContext& context, GraphKind kind, QWidget* button) {
    ButtonGuard guard(button);
    runCommand(context, guard, ErrorReport::Line, [&] { openInForce(context, kind); });
}

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
    selection.speed = readSpeedSettings(controls);
    return selection;
}

}  // namespace quorvane
