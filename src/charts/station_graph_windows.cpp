#include "charts/station_graph_windows.h"

#include "charts/chart.h"

namespace quorvane {

namespace {

const QColor kGreen(0, 128, 0);  // the component's "green", darker than pure green

ChartLook gradientLook(const QColor& end) {
    ChartLook look;
    look.gradientVisible = true;
    look.gradientStart = Qt::white;
    look.gradientEnd = end;
    look.border = true;
    return look;
}

}  // namespace

GraphWindow* newLineGraphWindow() {
    auto* window = new GraphWindow(QStringLiteral("frmGraphL"),
                                   QStringLiteral("Line Graph of vol and occ"), QSize(592, 358));
    Chart& chart = window->chart();
    chart.setTitleLines({QStringLiteral("TeeChart")});
    ChartLook look = gradientLook(QColor(255, 255, 128));
    look.panHorizontal = true;
    chart.setLook(look);

    AxisSettings bottom;
    bottom.title = QStringLiteral("Time");
    bottom.timeOfDay = true;
    bottom.timeFormat = QStringLiteral("hh:mm");
    chart.setAxis(ChartAxis::Bottom, bottom);
    AxisSettings left;
    left.title = QStringLiteral("Volume");
    chart.setAxis(ChartAxis::Left, left);
    AxisSettings right;
    right.title = QStringLiteral("Occupancy");  // the right axis writes its title turned by 90°
    chart.setAxis(ChartAxis::Right, right);

    SeriesStyle vol;
    vol.title = QStringLiteral("Vol");
    vol.color = Qt::red;
    vol.yAxis = ChartAxis::Left;
    vol.xOrder = ValueOrder::Ascending;
    chart.addSeries(SeriesKind::Line, vol);
    SeriesStyle occ;
    occ.title = QStringLiteral("Occ");
    occ.color = kGreen;
    occ.yAxis = ChartAxis::Right;
    occ.xOrder = ValueOrder::None;
    chart.addSeries(SeriesKind::Line, occ);
    return window;
}

GraphWindow* newScatterGraphWindow() {
    auto* window = new GraphWindow(QStringLiteral("frmGraphS"),
                                   QStringLiteral("vol/occ scatter graph"), QSize(441, 323));
    Chart& chart = window->chart();
    chart.setTitleLines({QStringLiteral("TeeChart")});
    chart.setLook(gradientLook(QColor(128, 255, 255)));

    AxisSettings bottom;
    bottom.title = QStringLiteral("Occupancy");
    chart.setAxis(ChartAxis::Bottom, bottom);
    AxisSettings left;
    left.title = QStringLiteral("Volume");
    chart.setAxis(ChartAxis::Left, left);

    SeriesStyle points;
    points.title = QStringLiteral("Series0");
    points.color = Qt::red;
    points.lineWidth = 0;
    points.marker = Marker::Square;
    points.markerHalfWidth = 3;
    points.markerHalfHeight = 3;
    points.inLegend = false;
    points.xOrder = ValueOrder::Ascending;
    chart.addSeries(SeriesKind::Point, points);
    return window;
}

}  // namespace quorvane
