// The hover read-out: what lies under the mouse, as text.

#include <algorithm>
#include <cmath>

#include "charts/chart_impl.h"
#include "charts/chart_scales.h"

namespace quorvane {

namespace {

QString plainNumber(double v) {
    return QString::number(v, 'g', 6);
}

QString timeText(double dayFraction) {
    return formatTimeOfDay(dayFraction, QStringLiteral("hh:mm:ss"));
}

// A grid's cell under the mouse: its interval, its station and its value (a contour's value
// between the cell centres, as its lines are drawn).
QString gridReadOut(const SeriesEntry& grid, const QStringList& rowLabels, bool timeOfDay, double x,
                    double z) {
    const GridMatrix& m = *grid.matrix;
    const int row = m.rowAt(z);
    const int column = m.columnAt(x);
    if (row < 0 || column < 0) {
        return {};
    }
    const double value = grid.kind == SeriesKind::Contour ? m.bilinear(x, z) : m.at(row, column);
    const double cellX = m.xs[static_cast<std::size_t>(column)];
    const int station = static_cast<int>(std::lround(m.zs[static_cast<std::size_t>(row)]));
    const GridStyle& style = grid.grid;
    QString valueText = QStringLiteral("none");  // a gap: no value in this cell
    if (!std::isnan(value)) {
        valueText = formatValue(value, style.valueFormat);
        if (!style.valueUnit.isEmpty()) {
            valueText += QLatin1Char(' ') + style.valueUnit;
        }
    }
    return QStringLiteral("%1  Station %2  %3 %4")
        .arg(timeOfDay ? timeText(cellX) : plainNumber(x), rowLabel(rowLabels, station),
             style.valueName, valueText);
}

// Over time: the value of each visible series at the interval nearest the mouse.
QString timeReadOut(const std::vector<SeriesEntry>& series, double x) {
    QStringList parts{timeText(x)};
    for (const SeriesEntry& s : series) {
        if (!s.style.visible || s.points.empty()) {
            continue;
        }
        const auto best = std::min_element(s.points.begin(), s.points.end(),
                                           [x](const ChartPoint& a, const ChartPoint& b) {
                                               return std::abs(a.x - x) < std::abs(b.x - x);
                                           });
        parts[0] = timeText(best->x);
        parts.append(QStringLiteral("%1 %2").arg(
            s.style.title, std::isnan(best->y) ? QStringLiteral("none") : plainNumber(best->y)));
    }
    return parts.join(QStringLiteral("  "));
}

}  // namespace

QString Chart::readOut(QPoint canvasPosition) const {
    const QwtPlot& plot = *d_->plot;
    const QwtScaleMap xMap = plot.canvasMap(QwtPlot::xBottom);
    const double x = xMap.invTransform(canvasPosition.x());
    const AxisSettings& bottom = axis(ChartAxis::Bottom);
    if (const SeriesEntry* grid = d_->firstGrid(); grid != nullptr) {
        const double z = plot.canvasMap(QwtPlot::yLeft).invTransform(canvasPosition.y());
        const QString cell = gridReadOut(*grid, d_->rowLabels, bottom.timeOfDay, x, z);
        const QString over = overlayReadOut(x, z);
        return cell.isEmpty() || over.isEmpty() ? cell : cell + QStringLiteral("  ") + over;
    }
    if (bottom.timeOfDay) {
        return timeReadOut(d_->series, x);
    }
    return nearestPointReadOut(canvasPosition);
}

// The point nearest the mouse, within a few pixels.
QString Chart::nearestPointReadOut(QPoint canvasPosition) const {
    const QwtPlot& plot = *d_->plot;
    const QwtScaleMap xMap = plot.canvasMap(QwtPlot::xBottom);
    const ChartPoint* best = nullptr;
    double bestDistance = 8.0;
    for (const SeriesEntry& s : d_->series) {
        if (!s.style.visible) {
            continue;
        }
        const QwtScaleMap yMap = plot.canvasMap(qwtAxis(s.style.yAxis));
        for (const ChartPoint& p : s.points) {
            const double distance = std::hypot(xMap.transform(p.x) - canvasPosition.x(),
                                               yMap.transform(p.y) - canvasPosition.y());
            if (distance <= bestDistance) {
                best = &p;
                bestDistance = distance;
            }
        }
    }
    if (best == nullptr) {
        return {};
    }
    return QStringLiteral("%1 %2, %3 %4")
        .arg(axis(ChartAxis::Bottom).title, plainNumber(best->x), axis(ChartAxis::Left).title,
             plainNumber(best->y));
}

}  // namespace quorvane
