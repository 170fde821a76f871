#include "charts/road_graph.h"

#include <QPointer>
#include <algorithm>
#include <string>
#include <vector>

#include "base/dialogs.h"
#include "base/log.h"
#include "charts/chart.h"
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

// The value of the road's station at `position` in interval t.
using RoadValue = std::function<double(std::size_t position, int t)>;

// Volume and occupancy come from the interval table; the speed is computed once for the road's
// rows from the day's 30-second tables, at the table's interval.
RoadValue roadValues(RoadMeasure measure, const Day& day, const IntervalTable& table,
                     const std::vector<int>& rows, const SpeedSettings& speed) {
    if (measure == RoadMeasure::Speed) {
        auto speeds = std::make_shared<const SpeedTable>(
            computeSpeeds(day, rows, table.intervalIndex, speed));
        return [speeds](std::size_t position, int t) {
            return static_cast<double>(speeds->at(position, t).speed);
        };
    }
    return [&table, &rows, measure](std::size_t position, int t) {
        const IntervalValue& value = table.at(rows[position], t);
        return measure == RoadMeasure::Volume ? static_cast<double>(value.vol)
                                              : static_cast<double>(value.occ);
    };
}

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

// Every station of the road looked up before the first point, as the first interval would meet
// a missing one: the rows in road order, or none after the first missing station in road order
// was logged and refused.
std::optional<std::vector<int>> roadRows(const Day& day, const std::string& roadName,
                                         const std::vector<int16_t>& stationNumbers,
                                         Dialogs& dialogs, Log& log) {
    std::vector<int> rows;
    for (const int16_t number : stationNumbers) {
        const int station = day.stations.staIndex(number);
        if (station == -1) {
            const std::string numberText = std::to_string(number);
            log.appendLog(missingRoadStationEntry(roadName, numberText));
            dialogs.message(
                MessageIcon::Exclamation,
                missingStationLine(numberText) + std::string(kCrLf) + "Unable to plot the graph.");
            return std::nullopt;
        }
        rows.push_back(station);
    }
    return rows;
}

// A table that does not match the lists (never the case when the main window keeps them
// together) draws nothing rather than reading outside it.
bool inTable(const IntervalTable& table, const std::vector<int>& rows, int start, int end) {
    return start >= 0 && end < table.intervalCount &&
           std::all_of(rows.begin(), rows.end(),
                       [&](int station) { return station < table.stationCount; });
}

// One column of cells per interval, the road's first station at the bottom (z = 1); pending
// events run after each column. False when the window was closed meanwhile.
bool fillRoadGrid(WindowBeingFilled& window, const IntervalTable& table, std::size_t stations,
                  const RoadValue& valueAt, int start, int end,
                  const std::function<void()>& letEventsRun) {
    Chart& chart = window.get()->chart();
    for (int t = start; t <= end; ++t) {
        const double x = table.intervalTime(t);
        for (std::size_t k = 0; k < stations; ++k) {
            chart.addGridPoint(0, x, valueAt(k, t), static_cast<double>(k + 1));
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
    const std::string& roadName = day->roads.roadByIndex(*selection.road);
    const std::vector<int16_t> stationNumbers = day->roads.staList(*selection.road);
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
    const auto rows = roadRows(*day, roadName, stationNumbers, dialogs, log);
    if (!rows || !inTable(*table, *rows, start, end)) {
        return result;
    }
    QStringList labels;
    for (const int16_t number : stationNumbers) {
        labels.append(QString::number(number));
    }
    window.get()->chart().setRowLabels(labels);
    const RoadValue valueAt = roadValues(measure, *day, *table, *rows, selection.speed);
    if (!fillRoadGrid(window, *table, rows->size(), valueAt, start, end, letEventsRun)) {
        return result;
    }
    window.get()->setWindowTitle(
        qText(captionPrefix(kind, measure) + selection.currentIntervalText() + " Data"));
    result.window = window.show();
    return result;
}

}  // namespace quorvane
