#include "charts/travel_time_graph.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "base/dialogs.h"
#include "charts/chart.h"
#include "charts/graph_window.h"
#include "views/road_measures_export.h"
#include "views/travel_time_picture.h"

namespace quorvane {

namespace {

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

SeriesStyle lineStyle(const QString& title, const QColor& color, int width) {
    SeriesStyle style;
    style.title = title;
    style.color = color;
    style.lineWidth = width;
    style.yAxis = ChartAxis::Left;
    return style;
}

// Minutes up from 0, so that the queue's share of the trip reads at a glance, with room above
// the longest trip.
AxisSettings minutesAxis(const TravelTimePicture& picture) {
    double longest = picture.freeFlowMinutes;
    for (const auto* series : {&picture.instantaneousMinutes, &picture.experiencedMinutes}) {
        for (const double minutes : *series) {
            if (std::isfinite(minutes)) {
                longest = std::max(longest, minutes);
            }
        }
    }
    AxisSettings left;
    left.title = QStringLiteral("Travel time (min)");
    left.automatic = false;
    left.min = 0.0;
    left.max = std::max(1.0, std::ceil(longest * 1.15));
    return left;
}

}  // namespace

void drawTravelTime(Chart& chart, const TravelTimePicture& picture) {
    chart.setAutoRepaint(false);
    QStringList title;
    for (const std::string& line : picture.titleLines) {
        title.append(qText(line));
    }
    chart.setTitleLines(title);
    ChartLook look;
    look.gradientVisible = true;
    look.gradientStart = Qt::white;
    look.gradientEnd = QColor(220, 232, 255);
    look.panHorizontal = true;
    chart.setLook(look);
    AxisSettings bottom;
    bottom.title = QStringLiteral("Departure time");
    bottom.timeOfDay = true;
    bottom.timeFormat = QStringLiteral("hh:mm");
    chart.setAxis(ChartAxis::Bottom, bottom);
    chart.setAxis(ChartAxis::Left, minutesAxis(picture));

    const int instantaneous =
        chart.addSeries(SeriesKind::Line, lineStyle(qText(picture.seriesTitles[0]), Qt::blue, 2));
    const int experienced = chart.addSeries(
        SeriesKind::Line, lineStyle(qText(picture.seriesTitles[1]), QColor(200, 0, 0), 2));
    const int freeFlow = chart.addSeries(
        SeriesKind::Line, lineStyle(qText(picture.freeFlowTitle), QColor(0, 128, 0), 1));
    for (std::size_t i = 0; i < picture.times.size(); ++i) {
        const double x = picture.times[i];
        chart.addPoint(instantaneous, x, picture.instantaneousMinutes[i]);
        chart.addPoint(experienced, x, picture.experiencedMinutes[i]);
        chart.addPoint(freeFlow, x, picture.freeFlowMinutes);
    }
    chart.setAutoRepaint(true);
    chart.replot();
}

GraphWindow* newTravelTimeWindow(const TravelTimePicture& picture) {
    auto* window =
        new GraphWindow(QStringLiteral("frmTravelTime"), qText(picture.caption), QSize(640, 400));
    drawTravelTime(window->chart(), picture);
    return window;
}

OpenedGraph plotTravelTime(const GraphData& data, const GraphSelection& selection, Dialogs& dialogs,
                           Log& log) {
    if (const auto refusal = checkRangeRequest(selection.request())) {
        dialogs.message(MessageIcon::Exclamation, *refusal);
        return {};
    }
    const std::shared_ptr<const Day> day = data.day;
    const std::shared_ptr<const IntervalTable> table = data.table;
    if (!selection.road || !day || !table || *selection.road < 0 ||
        *selection.road >= day->roads.count()) {
        return {};
    }
    const auto measured = measureRoad(*day, *table, *selection.road, selection.request(),
                                      selection.speed, kDefaultThresholdKmh, log);
    if (const auto* refusal = std::get_if<Refusal>(&measured)) {
        dialogs.message(MessageIcon::Exclamation, refusal->message);
        return {};
    }
    const TravelTimePicture picture =
        travelTimePicture(std::get<RoadMeasures>(measured), *selection.start, *selection.end,
                          selection.currentIntervalText());
    std::unique_ptr<GraphWindow> window(newTravelTimeWindow(picture));
    window->show();
    return {window.release(), std::nullopt};
}

}  // namespace quorvane
