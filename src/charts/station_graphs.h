#pragma once

#include "charts/graph_request.h"

namespace quorvane {

class Dialogs;
class GraphWindow;

// ShowLineGraph: the selected station's interval volume (left axis) and occupancy (right axis)
// over the selected range, in a new frmGraphL window, shown and not modal. Returns nullptr,
// with the check's message, when CheckStationRequest refuses.
GraphWindow* showLineGraph(const GraphData& data, const GraphSelection& selection,
                           Dialogs& dialogs);
// ShowScatterGraph: one point per interval, occupancy across, volume up, in a new frmGraphS.
GraphWindow* showScatterGraph(const GraphData& data, const GraphSelection& selection,
                              Dialogs& dialogs);

}  // namespace quorvane
