#pragma once

#include "charts/graph_window.h"

namespace quorvane {

enum class RoadMeasure { Volume, Occupancy };

// New, hidden windows with their stored chart settings: frmVolColorGrid, frmOccColorGrid and
// frmContour, each with one series (index 0).
GraphWindow* newColorGridWindow(RoadMeasure measure);
GraphWindow* newContourWindow();

inline constexpr const char* kTrafficDirectionTitle = "Traffic direction ----->";

}  // namespace quorvane
