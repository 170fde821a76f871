#pragma once

#include "charts/graph_request.h"
#include "charts/road_graph.h"

namespace quorvane {

class Chart;
class Dialogs;
class Log;
struct TravelTimePicture;

// Sets `chart` up for the travel-time graph (departure time across, minutes up from 0; series 0
// the instantaneous travel time, 1 the experienced one, 2 the free-flow travel time) and draws
// the picture into it. The road measures window draws into its own chart, the graph window
// below into its.
void drawTravelTime(Chart& chart, const TravelTimePicture& picture);

// frmTravelTime: a new, hidden window with the picture drawn, captioned with it.
GraphWindow* newTravelTimeWindow(const TravelTimePicture& picture);

// The travel-time graph of the selected road over the selected range, in a new window, shown.
// Refusals: the range check's message; no road selected (nothing at all); whatever the road's
// measures refuse (a road station missing from the station list, with its log entry; the
// positions). Each shown through `dialogs`, with no window.
OpenedGraph plotTravelTime(const GraphData& data, const GraphSelection& selection, Dialogs& dialogs,
                           Log& log);

}  // namespace quorvane
