#pragma once

#include "charts/graph_window.h"

namespace quorvane {

// New, hidden windows with their stored chart settings: frmGraphL (series 0 "Vol" on the left
// axis, series 1 "Occ" on the right) and frmGraphS (series 0, occupancy across, volume up).
GraphWindow* newLineGraphWindow();
GraphWindow* newScatterGraphWindow();

}  // namespace quorvane
