#include "charts/road_graph_windows.h"

#include "charts/chart.h"
#include "views/many_days_picture.h"

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
    const QString name = volume                              ? QStringLiteral("frmVolColorGrid")
                         : measure == RoadMeasure::Occupancy ? QStringLiteral("frmOccColorGrid")
                         : measure == RoadMeasure::SpeedDifference
                             ? QStringLiteral("frmSpeedDifferenceGrid")
                             : QStringLiteral("frmSpeedColorGrid");
    auto* window = new GraphWindow(name, name, volume ? QSize(566, 334) : QSize(575, 335));
    GridStyle grid;
    grid.startColor = Qt::red;
    grid.endColor = oleColor(8453888);
    grid.valueFormat = volume ? QStringLiteral("#,##0.") : QStringLiteral("#,##0");
    setUpRoadChart(window->chart(), SeriesKind::ColorGrid, grid);
    return window;
}

GraphWindow* newContourWindow(RoadMeasure measure) {
    const QString name = measure == RoadMeasure::Speed ? QStringLiteral("frmSpeedContour")
                                                       : QStringLiteral("frmContour");
    auto* window = new GraphWindow(name, name, QSize(575, 334));
    GridStyle grid;
    grid.startColor = Qt::red;
    grid.endColor = oleColor(8453888);
    grid.valueFormat = QStringLiteral("#,##0");
    grid.numLevels = 12;
    setUpRoadChart(window->chart(), SeriesKind::Contour, grid);
    return window;
}

void setSpeedScale(Chart& chart, SpeedUnit unit) {
    const SpeedUnitInfo& info = unitInfo(unit);
    const QString unitText =
        QString::fromLatin1(info.text.data(), static_cast<int>(info.text.size()));
    GridStyle view = chart.gridView(0);
    view.fixedRange = true;
    view.rangeLow = 0.0;
    view.rangeHigh = info.scaleTop;
    view.gapColor = kGapColor;
    view.valueName = QStringLiteral("Speed");
    view.valueUnit = unitText;
    view.numLevels = static_cast<int>(info.scaleTop / 10.0) - 1;  // a line every 10 units
    chart.setGridView(0, view);
    AxisSettings bar = chart.axis(ChartAxis::Right);
    bar.title = QStringLiteral("Speed (%1)").arg(unitText);
    chart.setAxis(ChartAxis::Right, bar);
}

void setDifferenceScale(Chart& chart, SpeedUnit unit) {
    const SpeedUnitInfo& info = unitInfo(unit);
    const QString unitText =
        QString::fromLatin1(info.text.data(), static_cast<int>(info.text.size()));
    const double range = unit == SpeedUnit::Mph ? kDifferenceRangeMph : kDifferenceRangeKmh;
    GridStyle view = chart.gridView(0);
    view.startColor = QColor(200, 30, 30);  // slower than typical
    view.midColor = Qt::white;              // as typical
    view.endColor = QColor(30, 80, 200);    // faster than typical
    view.paletteFlag = false;
    view.fixedRange = true;
    view.rangeLow = -range;
    view.rangeHigh = range;
    view.gapColor = kGapColor;
    view.valueName = QStringLiteral("Difference");
    view.valueUnit = unitText;
    view.numLevels = 7;
    chart.setGridView(0, view);
    AxisSettings bar = chart.axis(ChartAxis::Right);
    bar.title = QStringLiteral("Difference from typical (%1)").arg(unitText);
    chart.setAxis(ChartAxis::Right, bar);
}

}  // namespace quorvane
