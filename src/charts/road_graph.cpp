#include "charts/road_graph.h"

#include <QPointer>
#include <algorithm>
#include <string>
#include <vector>

#include "base/dialogs.h"
#include "base/log.h"
#include "charts/chart.h"
#include "views/road_picture.h"
#include "views/speed.h"

namespace quorvane {

namespace {

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

std::string captionPrefix(RoadGraphKind kind, RoadMeasure measure) {
    const std::string graph =
        kind == RoadGraphKind::ColorGrid ? " Color Grid Graph: " : " Contour Graph: ";
    switch (measure) {
        case RoadMeasure::Volume:
            return "Volume" + graph;
        case RoadMeasure::Occupancy:
            return "Occupancy" + graph;
        case RoadMeasure::Speed:
            return "Speed" + graph;
        case RoadMeasure::SpeedDifference:
            return "Speed Difference" + graph;
    }
    return graph;
}

// The window being filled: destroyed on every way out (refusal, error) but its showing, unless
// it was closed and destroyed meanwhile.
class WindowBeingFilled {
  public:
    explicit WindowBeingFilled(GraphWindow* window) : window_(window) {}
    ~WindowBeingFilled() { delete window_.data(); }
    WindowBeingFilled(const WindowBeingFilled&) = delete;
    WindowBeingFilled& operator=(const WindowBeingFilled&) = delete;

    GraphWindow* get() const { return window_.data(); }
    bool closed() const { return window_.isNull(); }
    GraphWindow* show() {
        GraphWindow* shown = window_.data();
        window_.clear();
        shown->show();
        return shown;
    }

  private:
    QPointer<GraphWindow> window_;
};

// A new window of the kind, titled with the road, with the colours every road graph draws in.
GraphWindow* newRoadWindow(RoadGraphKind kind, RoadMeasure measure, const std::string& roadName,
                           SpeedUnit unit) {
    GraphWindow* window =
        kind == RoadGraphKind::ColorGrid ? newColorGridWindow(measure) : newContourWindow(measure);
    Chart& chart = window->chart();
    chart.clearTitle();
    chart.addTitleLine(QStringLiteral("Road: ") + qText(roadName));
    chart.setAutoRepaint(false);
    GridStyle view = chart.gridView(0);
    view.startColor = oleColor(255);
    view.endColor = oleColor(65280);
    view.paletteFlag = true;
    chart.setGridView(0, view);
    if (measure == RoadMeasure::Speed) {
        setSpeedScale(chart, unit);
    } else if (measure == RoadMeasure::SpeedDifference) {
        setDifferenceScale(chart, unit);
    }
    return window;
}

// The range rule: a range of more than 1440 intervals is cut to 1001 after the user was told.
// The new end, or none when the range stands.
std::optional<int> cutRange(RoadGraphKind kind, int start, int end, Dialogs& dialogs) {
    if (end - start <= kLongestRoadRange) {
        return std::nullopt;
    }
    const std::string_view second =
        kind == RoadGraphKind::ColorGrid ? kColorGridRangeLine : kContourRangeLine;
    dialogs.message(MessageIcon::Information,
                    std::string(kRangeTooLargeLine) + std::string(kCrLf) + std::string(second));
    return start + kCutRoadRange;
}

std::vector<ChartOverlay> chartOverlays(const std::vector<PictureOverlay>& overlays) {
    std::vector<ChartOverlay> shapes;
    for (const PictureOverlay& overlay : overlays) {
        QPolygonF outline;
        for (const auto& [x, z] : overlay.points) {
            outline.append(QPointF(x, z));
        }
        if (!outline.isEmpty() && outline.front() != outline.back()) {
            outline.append(outline.front());  // a shape item draws its polygon as a path
        }
        shapes.push_back(
            {outline, qText(overlay.label), overlay.kind == PictureOverlay::Kind::Outline});
    }
    return shapes;
}

// One column of cells per interval, the road's first station at the bottom (z = 1); pending
// events run after each column. False when the window was closed meanwhile.
bool fillRoadGrid(WindowBeingFilled& window, const RoadPicture& picture,
                  const std::function<void()>& letEventsRun) {
    Chart& chart = window.get()->chart();
    for (std::size_t column = 0; column < picture.times.size(); ++column) {
        const double x = picture.times[column];
        for (std::size_t row = 0; row < picture.rows(); ++row) {
            chart.addGridPoint(0, x, picture.value(row, column), static_cast<double>(row + 1));
        }
        if (letEventsRun) {
            letEventsRun();
        }
        if (window.closed()) {  // closed meanwhile (the program is shutting down)
            return false;
        }
    }
    return true;
}

void setRowLabels(Chart& chart, const RoadPicture& picture) {
    QStringList labels;
    for (const int16_t number : picture.stations) {
        labels.append(QString::number(number));
    }
    chart.setRowLabels(labels);
}

}  // namespace

GraphWindow* showRoadPicture(const RoadPicture& picture, const std::string& caption) {
    WindowBeingFilled window(
        newRoadWindow(RoadGraphKind::ColorGrid, picture.measure, picture.roadName, picture.unit));
    setRowLabels(window.get()->chart(), picture);
    fillRoadGrid(window, picture, {});
    window.get()->chart().setOverlays(chartOverlays(picture.overlays));
    window.get()->setWindowTitle(qText(caption));
    return window.show();
}

OpenedGraph plotRoadGraph(RoadGraphKind kind, RoadMeasure measure, const GraphData& data,
                          const GraphSelection& selection, Dialogs& dialogs, Log& log,
                          const std::function<void()>& letEventsRun) {
    if (const auto refusal = checkRangeRequest(selection.request())) {
        dialogs.message(MessageIcon::Exclamation, *refusal);
        return {};
    }
    // The fill's own snapshot: whatever is put in force meanwhile, this fill reads these.
    const std::shared_ptr<const Day> day = data.day;
    const std::shared_ptr<const IntervalTable> table = data.table;
    // No road selected (text typed into the road list): nothing to draw and nothing to say.
    if (!selection.road || !day || !table || *selection.road < 0 ||
        *selection.road >= day->roads.count()) {
        return {};
    }
    const std::string& roadName = day->roads.roadByIndex(*selection.road);
    const int start = *selection.start;
    int end = *selection.end;

    WindowBeingFilled window(newRoadWindow(kind, measure, roadName, selection.speed.unit));
    OpenedGraph result;
    if (const auto cut = cutRange(kind, start, end, dialogs)) {
        if (window.closed()) {  // the program shut down while the message was up
            return result;
        }
        end = *cut;
        if (kind == RoadGraphKind::ColorGrid) {
            result.newEnd = end;
        }
    }
    // Every station of the road looked up before the first point, as the first interval would
    // meet a missing one.
    const auto rows = roadRows(*day, *selection.road, log);
    if (const auto* refusal = std::get_if<Refusal>(&rows)) {
        dialogs.message(MessageIcon::Exclamation, refusal->message);
        return result;
    }
    const RoadPicture picture =
        prepareRoadPicture(*day, *table, measure, *selection.road, std::get<std::vector<int>>(rows),
                           start, end, selection.speed);
    if (picture.times.empty()) {
        return result;
    }
    setRowLabels(window.get()->chart(), picture);
    if (!fillRoadGrid(window, picture, letEventsRun)) {
        return result;
    }
    window.get()->chart().setOverlays(chartOverlays(picture.overlays));
    window.get()->setWindowTitle(
        qText(captionPrefix(kind, measure) + selection.currentIntervalText() + " Data"));
    result.window = window.show();
    return result;
}

}  // namespace quorvane
