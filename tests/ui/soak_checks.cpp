#include "soak_checks.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

#include "charts/chart.h"
#include "charts/graph_window.h"
#include "core/day.h"
#include "views/interval_table.h"

namespace quorvane::test {

namespace {

std::string text(const QString& s) {
    return s.toStdString();
}

std::vector<std::string> itemsOf(const QComboBox& list) {
    std::vector<std::string> items;
    for (int i = 0; i < list.count(); ++i) {
        items.push_back(text(list.itemText(i)));
    }
    return items;
}

std::vector<std::string> itemsOf(const QListWidget& list) {
    std::vector<std::string> items;
    for (int i = 0; i < list.count(); ++i) {
        items.push_back(text(list.item(i)->text()));
    }
    return items;
}

// A hash of every point of every series: what a window shows, to compare later.
uint64_t pointsOf(const Chart& chart) {
    uint64_t hash = 14695981039346656037ull;  // FNV-1a over the values' bytes
    const auto add = [&hash](double value) {
        uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        for (int byte = 0; byte < 8; ++byte) {
            hash = (hash ^ ((bits >> (8 * byte)) & 0xFF)) * 1099511628211ull;
        }
    };
    for (int s = 0; s < chart.seriesCount(); ++s) {
        for (const ChartPoint& p : chart.points(s)) {
            add(p.x);
            add(p.y);
        }
        for (const GridPoint& p : chart.gridPoints(s)) {
            add(p.x);
            add(p.y);
            add(p.z);
        }
        add(-1.0);
    }
    return hash;
}

// The interval of a point's time, or -1 when no interval of the table starts there.
int intervalAt(const IntervalTable& table, double x) {
    const long k = std::lround(x * 86400.0 / table.choice().intervalSeconds);
    return k >= 0 && k < table.intervalCount && table.intervalTime(static_cast<int>(k)) == x
               ? static_cast<int>(k)
               : -1;
}

bool lineFrom(const Chart& chart, const IntervalTable& table, int row) {
    for (int series = 0; series < 2; ++series) {
        for (const ChartPoint& p : chart.points(series)) {
            const int k = intervalAt(table, p.x);
            if (k < 0) {
                return false;
            }
            const IntervalValue& value = table.at(row, k);
            if (p.y != (series == 0 ? static_cast<double>(value.vol) : value.occ)) {
                return false;
            }
        }
    }
    return true;
}

bool scatterFrom(const Chart& chart, const IntervalTable& table, int row) {
    std::set<std::pair<double, double>> values;
    for (const IntervalValue& value : table.row(row)) {
        values.emplace(value.occ, value.vol);
    }
    for (const ChartPoint& p : chart.points(0)) {
        if (!values.contains({p.x, p.y})) {
            return false;
        }
    }
    return true;
}

enum class Measure { Volume, Occupancy, Unchecked };

// The grid's cells lie on the road's stations and the table's intervals; their values are the
// volume or occupancy of the table (a speed's are not checked).
bool gridFrom(const Chart& chart, const Day& day, const IntervalTable& table, int road,
              Measure measure) {
    const std::vector<int16_t>& stations = day.roads.staList(road);
    for (const GridPoint& p : chart.gridPoints(0)) {
        const auto z = static_cast<std::size_t>(p.z);
        const int k = intervalAt(table, p.x);
        if (z < 1 || z > stations.size() || k < 0) {
            return false;
        }
        const int row = day.stations.staIndex(stations[z - 1]);
        if (row < 0 || row >= table.stationCount) {
            return false;
        }
        const IntervalValue& value = table.at(row, k);
        if (measure != Measure::Unchecked &&
            p.y != (measure == Measure::Volume ? static_cast<double>(value.vol) : value.occ)) {
            return false;
        }
    }
    return true;
}

}  // namespace

void SoakChecks::noteDataInForce() {
    const Workspace& workspace = window_.workspace();
    if (!workspace.day || !workspace.intervals ||
        (!history_.empty() && history_.front().table == workspace.intervals)) {
        return;
    }
    history_.push_front({workspace.day, workspace.intervals});
    if (history_.size() > 24) {
        history_.pop_back();
    }
}

std::vector<std::string> SoakChecks::dayMatchesItsTable() const {
    const Workspace& workspace = window_.workspace();
    if (!workspace.day && !workspace.intervals) {
        return {};
    }
    if (!workspace.day || !workspace.intervals) {
        return {"a day without an interval table, or a table without a day, is in force"};
    }
    const int stations = workspace.day->stations.count();
    std::vector<std::string> problems;
    if (workspace.intervals->stationCount != stations) {
        problems.push_back("the interval table has " +
                           std::to_string(workspace.intervals->stationCount) +
                           " stations, the day " + std::to_string(stations));
    }
    if (workspace.day->tables.stationCount < stations) {
        problems.push_back("the day's tables hold fewer stations than its list");
    }
    return problems;
}

std::vector<std::string> SoakChecks::listsShowTheDay() const {
    const MainControls& c = const_cast<MainWindow&>(window_).controls();
    const Workspace& workspace = window_.workspace();
    std::vector<std::string> problems;
    const auto expect = [&](bool ok, const std::string& problem) {
        if (!ok) {
            problems.push_back(problem);
        }
    };
    if (!workspace.day) {
        for (const QComboBox* list : {c.cmbStaList, c.cmbRoadList, c.cmbStartTime, c.cmbEndTime}) {
            expect(list->count() == 0, text(list->objectName()) + " has entries without a day");
        }
        expect(c.lstSta->count() == 0 && c.lstN->count() == 0, "road stations without a day");
        return problems;
    }
    const Day& day = *workspace.day;
    std::vector<std::string> stations;
    for (int i = 0; i < day.stations.count(); ++i) {
        stations.push_back(std::to_string(day.stations.staNumByIndex(i)));
    }
    expect(itemsOf(*c.cmbStaList) == stations, "cmbStaList does not list the day's stations");
    std::vector<std::string> roads;
    for (int i = 0; i < day.roads.count(); ++i) {
        roads.push_back(day.roads.roadByIndex(i));
    }
    expect(itemsOf(*c.cmbRoadList) == roads, "cmbRoadList does not list the day's roads");
    bool someRoad = false;
    for (int r = 0; r < day.roads.count() && !someRoad; ++r) {
        std::vector<std::string> numbers;
        std::vector<std::string> positions;
        for (const int16_t number : day.roads.staList(r)) {
            numbers.push_back(std::to_string(number));
            positions.push_back(std::to_string(positions.size() + 1));
        }
        someRoad = itemsOf(*c.lstSta) == numbers && itemsOf(*c.lstN) == positions;
    }
    expect(someRoad, "lstN and lstSta show no road of the day");
    if (workspace.intervals) {
        const int intervals = workspace.intervals->intervalCount;
        expect(c.cmbStartTime->count() == intervals && c.cmbEndTime->count() == intervals,
               "the time lists do not hold one entry per interval of the table in force");
    }
    return problems;
}

std::vector<std::string> SoakChecks::buttonsAreEnabled() const {
    std::vector<std::string> problems;
    for (const QWidget* top : QApplication::topLevelWidgets()) {
        if (!top->isVisible()) {
            continue;
        }
        // Our own buttons (named); Qt's scroll arrows and the like come and go by themselves.
        for (const QPushButton* button : top->findChildren<QPushButton*>()) {
            if (!button->objectName().isEmpty() && button->testAttribute(Qt::WA_ForceDisabled)) {
                problems.push_back(text(button->objectName() + QLatin1Char(' ') + button->text()) +
                                   " stays disabled after its command ended");
            }
        }
    }
    return problems;
}

bool SoakChecks::filledFrom(const GraphWindow& window, const InForce& data) const {
    const Chart& chart = window.chart();
    const QString title = chart.titleLines().value(0);
    const QString kind = window.objectName();
    const Day& day = *data.day;
    const IntervalTable& table = *data.table;
    if (kind == QLatin1String("frmGraphL") || kind == QLatin1String("frmGraphS")) {
        const QString number = title.mid(QStringLiteral("Station: ").size());
        for (int row = 0; row < day.stations.count() && row < table.stationCount; ++row) {
            if (QString::number(day.stations.staNumByIndex(row)) == number &&
                (kind == QLatin1String("frmGraphL") ? lineFrom(chart, table, row)
                                                    : scatterFrom(chart, table, row))) {
                return true;
            }
        }
        return false;
    }
    Measure measure = kind == QLatin1String("frmVolColorGrid") ||
                              window.windowTitle().startsWith(QLatin1String("Volume"))
                          ? Measure::Volume
                          : Measure::Occupancy;
    if (kind.startsWith(QLatin1String("frmSpeed"))) {
        measure = Measure::Unchecked;
    }
    const std::string road = text(title.mid(QStringLiteral("Road: ").size()));
    for (int r = 0; r < day.roads.count(); ++r) {
        if (day.roads.roadByIndex(r) == road && gridFrom(chart, day, table, r, measure)) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> SoakChecks::graphsShowTheirTables() {
    std::vector<std::string> problems;
    std::erase_if(known_, [](const auto& entry) { return entry.first.isNull(); });
    for (GraphWindow* window : graphWindows()) {
        const uint64_t points = pointsOf(window->chart());
        const auto known = std::find_if(known_.begin(), known_.end(),
                                        [&](const auto& entry) { return entry.first == window; });
        if (known != known_.end()) {
            if (known->second != points) {
                problems.push_back(text(window->windowTitle()) + " changed its points");
            }
            continue;
        }
        known_.emplace_back(window, points);
        const bool found = std::any_of(history_.begin(), history_.end(),
                                       [&](const InForce& d) { return filledFrom(*window, d); });
        if (!found) {
            problems.push_back(text(window->windowTitle()) + " (" +
                               text(window->chart().titleLines().value(0)) +
                               ") shows no table that was in force");
        }
    }
    return problems;
}

}  // namespace quorvane::test
