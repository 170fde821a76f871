#pragma once

#include "ui/graph_commands.h"

namespace quorvane {

struct MainControls;
struct GraphSelection;

// The command of the six graph buttons: the line and scatter graphs of the selected station
// and the colour grids and contours of the selected road, each in a new window. The graph
// procedures make the request checks and show their own refusals.
GraphCommand graphWindowCommand();

// What a graph reads of the main window's lists when it starts. The interval text is read
// when the graph asks for it (after its fill), from the list as it then stands.
GraphSelection readGraphSelection(const MainControls& controls);

}  // namespace quorvane
