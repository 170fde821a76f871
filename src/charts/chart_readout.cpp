// The hover read-out: what lies under the mouse, as text.

#include <cmath>

#include "charts/chart_impl.h"
#include "charts/chart_scales.h"

namespace quorvane {

namespace {

QString plainNumber(double v) {
    return QString::number(v, 'g', 6);
}

}  // namespace

QString Chart::readOut(QPoint canvasPosition) const {
    const QwtPlot& plot = *d_->plot;
    const QwtScaleMap xMap = plot.canvasMap(QwtPlot::xBottom);
    const double x = xMap.invTransform(canvasPosition.x());
    const AxisSettings& bottom = axis(ChartAxis::Bottom);
    const QString xText =
        bottom.timeOfDay ? formatTimeOfDay(x, QStringLiteral("hh:mm:ss")) : plainNumber(x);

    if (const SeriesEntry* grid = d_->firstGrid(); grid != nullptr) {
        const double z = plot.canvasMap(QwtPlot::yLeft).invTransform(canvasPosition.y());
        const GridMatrix& m = *grid->matrix;
        const int row = m.rowAt(z);
        const int column = m.columnAt(x);
        if (row < 0 || column < 0) {
            return {};
        }
        const double value =
            grid->kind == SeriesKind::Contour ? m.bilinear(x, z) : m.at(row, column);
        const QString time = bottom.timeOfDay
                                 ? formatTimeOfDay(m.xs[static_cast<std::size_t>(column)],
                                                   QStringLiteral("hh:mm:ss"))
                                 : xText;
        const int station = static_cast<int>(std::lround(m.zs[static_cast<std::size_t>(row)]));
        return QStringLiteral("%1  Station %2  Value %3")
            .arg(time, rowLabel(d_->rowLabels, station),
                 formatValue(value, grid->grid.valueFormat));
    }

    if (bottom.timeOfDay) {
        // The value of each visible series at the interval nearest the mouse.
        QStringList parts{xText};
        for (const SeriesEntry& s : d_->series) {
            if (!s.style.visible || s.points.empty()) {
                continue;
            }
            const ChartPoint* best = &s.points.front();
            for (const ChartPoint& p : s.points) {
                if (std::abs(p.x - x) < std::abs(best->x - x)) {
                    best = &p;
                }
            }
            parts[0] = formatTimeOfDay(best->x, QStringLiteral("hh:mm:ss"));
            parts.append(QStringLiteral("%1 %2").arg(s.style.title, plainNumber(best->y)));
        }
        return parts.join(QStringLiteral("  "));
    }

    // The point nearest the mouse, within a few pixels.
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
        .arg(bottom.title, plainNumber(best->x), axis(ChartAxis::Left).title, plainNumber(best->y));
}

}  // namespace quorvane
