#include "charts/road_graph_windows.h"

#include "charts/chart.h"

namespace quorvane {

namespace {

// What the colour-grid and contour windows share: a time axis across, the road's stations up,
// the colour bar on the right.
void setUpRoadChart(Chart& chart, SeriesKind kind, const GridStyle& grid) {
    chart.setTitleLines({QStringLiteral("TeeChart")});
    AxisSettings bottom;
    bottom.timeOfDay = true;
    bottom.timeFormat = QStringLiteral("hh:mm");
    chart.setAxis(ChartAxis::Bottom, bottom);
    AxisSettings left;
    left.title = QString::fromLatin1(kTrafficDirectionTitle);
    chart.setAxis(ChartAxis::Left, left);
    SeriesStyle style;
    style.title = QStringLiteral("Series0");
    style.color = Qt::red;
    style.inLegend = false;
    const int series = chart.addSeries(kind, style);
    chart.setGridView(series, grid);
}

}  // namespace

GraphWindow* newColorGridWindow(RoadMeasure measure) {
    const bool volume = measure == RoadMeasure::Volume;
    auto* window = volume ? new GraphWindow(QStringLiteral("frmVolColorGrid"),
                                            QStringLiteral("frmVolColorGrid"), QSize(566, 334))
                          : new GraphWindow(QStringLiteral("frmOccColorGrid"),
                                            QStringLiteral("frmOccColorGrid"), QSize(575, 335));
    GridStyle grid;
    grid.startColor = Qt::red;
    grid.endColor = oleColor(8453888);
    grid.valueFormat = volume ? QStringLiteral("#,##0.") : QStringLiteral("#,##0");
    setUpRoadChart(window->chart(), SeriesKind::ColorGrid, grid);
    return window;
}

GraphWindow* newContourWindow() {
    auto* window = new GraphWindow(QStringLiteral("frmContour"), QStringLiteral("frmContour"),
                                   QSize(575, 334));
    GridStyle grid;
    grid.startColor = Qt::red;
    grid.endColor = oleColor(8453888);
    grid.valueFormat = QStringLiteral("#,##0");
    grid.numLevels = 12;
    setUpRoadChart(window->chart(), SeriesKind::Contour, grid);
    return window;
}

}  // namespace quorvane
