#pragma once

#include <QColor>

#include "charts/graph_window.h"
#include "views/road_picture.h"
#include "views/speed.h"

namespace quorvane {

class Chart;

// New, hidden windows with their stored chart settings: frmVolColorGrid, frmOccColorGrid,
// frmSpeedColorGrid, frmContour and frmSpeedContour, each with one series (index 0).
GraphWindow* newColorGridWindow(RoadMeasure measure);
GraphWindow* newContourWindow(RoadMeasure measure);

// The speed's scale on a road window's series 0: colours fixed from 0 to the unit's free-flow
// speed, gaps in grey, the colour bar titled with the unit and the read-out naming both.
void setSpeedScale(Chart& chart, SpeedUnit unit);
// The difference from the typical speed on series 0: a diverging scale fixed around 0, red
// where the day was slower than typical, white where it was as typical, blue where it was
// faster; gaps in grey.
void setDifferenceScale(Chart& chart, SpeedUnit unit);
inline const QColor kGapColor{170, 170, 170};

inline constexpr const char* kTrafficDirectionTitle = "Traffic direction ----->";

}  // namespace quorvane
