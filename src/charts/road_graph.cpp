#include "charts/road_graph.h"

#include <QPointer>
#include <string>
#include <vector>

#include "base/log.h"
#include "charts/chart.h"
#include "base/dialogs.h"

namespace quorvane {

namespace {

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

std::string captionPrefix(RoadGraphKind kind, RoadMeasure measure) {
    const bool volume = measure == RoadMeasure::Volume;
    if (kind == RoadGraphKind::ColorGrid) {
        return volume ? "Volume Color Grid Graph: " : "Occupancy Color Grid Graph: ";
    }
    return volume ? "Volume Contour Graph: " : "Occupancy Contour Graph: ";
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

double measureOf(const IntervalValue& value, RoadMeasure measure) {
    return measure == RoadMeasure::Volume ? static_cast<double>(value.vol)
                                          : static_cast<double>(value.occ);
}

}  // namespace

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
    const int road = *selection.road;
    const std::string& roadName = day->roads.roadByIndex(road);
    const std::vector<int16_t> stationNumbers = day->roads.staList(road);
    const int start = *selection.start;
    int end = *selection.end;

    WindowBeingFilled window(kind == RoadGraphKind::ColorGrid ? newColorGridWindow(measure)
                                                              : newContourWindow());
    Chart& chart = window.get()->chart();
    chart.clearTitle();
    chart.addTitleLine(QStringLiteral("Road: ") + qText(roadName));
    chart.setAutoRepaint(false);
    GridStyle view = chart.gridView(0);
    view.startColor = oleColor(255);
    view.endColor = oleColor(65280);
    view.paletteFlag = true;
    chart.setGridView(0, view);

    OpenedGraph result;
    if (end - start > kLongestRoadRange) {
        const std::string_view second =
            kind == RoadGraphKind::ColorGrid ? kColorGridRangeLine : kContourRangeLine;
        dialogs.message(MessageIcon::Information,
                        std::string(kRangeTooLargeLine) + std::string(kCrLf) + std::string(second));
        if (window.closed()) {  // the program shut down while the message was up
            return result;
        }
        end = start + kCutRoadRange;
        if (kind == RoadGraphKind::ColorGrid) {
            result.newEnd = end;
        }
    }

    // Every station of the road is looked up before the first point, as the first interval
    // would meet a missing one; the first missing station in road order refuses the graph.
    std::vector<int> rows;
    for (const int16_t number : stationNumbers) {
        const int station = day->stations.staIndex(number);
        if (station == -1) {
            const std::string numberText = std::to_string(number);
            log.appendLog(roadName + " :" + numberText + "doesn't exist.");
            dialogs.message(MessageIcon::Exclamation, missingStationLine(numberText) +
                                                          std::string(kCrLf) +
                                                          "Unable to plot the graph.");
            return result;
        }
        rows.push_back(station);
    }
    // A table that does not match the lists (never the case when the main window keeps them
    // together) draws nothing rather than reading outside it.
    bool inTable = start >= 0 && end < table->intervalCount;
    for (const int station : rows) {
        inTable = inTable && station < table->stationCount;
    }
    if (!inTable) {
        return result;
    }

    QStringList labels;
    for (const int16_t number : stationNumbers) {
        labels.append(QString::number(number));
    }
    chart.setRowLabels(labels);

    for (int t = start; t <= end; ++t) {
        const double x = table->intervalTime(t);
        for (std::size_t k = 0; k < rows.size(); ++k) {
            chart.addGridPoint(0, x, measureOf(table->at(rows[k], t), measure),
                               static_cast<double>(k + 1));
        }
        if (letEventsRun) {
            letEventsRun();
        }
        if (window.closed()) {  // closed meanwhile (the program is shutting down)
            return result;
        }
    }

    window.get()->setWindowTitle(
        qText(captionPrefix(kind, measure) + selection.currentIntervalText() + " Data"));
    result.window = window.show();
    return result;
}

}  // namespace quorvane
