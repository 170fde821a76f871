// Shapes over a grid: drawn by Qwt's shape items, named by the read-out.
#include <QPen>

#include "charts/chart_impl.h"

namespace quorvane {

void Chart::setOverlays(std::vector<ChartOverlay> overlays) {
    for (QwtPlotShapeItem* item : d_->overlayItems) {
        item->detach();
        delete item;
    }
    d_->overlayItems.clear();
    d_->overlays = std::move(overlays);
    for (const ChartOverlay& overlay : d_->overlays) {
        auto* item = new QwtPlotShapeItem(overlay.label);
        item->setPolygon(overlay.outline);
        // Black reads on every colour of the speed scale, red to green and the grey of gaps.
        QPen pen(Qt::black, overlay.dashed ? 1.5 : 2.0);
        pen.setStyle(overlay.dashed ? Qt::DashLine : Qt::SolidLine);
        pen.setJoinStyle(Qt::MiterJoin);
        item->setPen(pen);
        item->setBrush(Qt::NoBrush);
        item->setRenderHint(QwtPlotItem::RenderAntialiased, true);
        item->setItemAttribute(QwtPlotItem::Legend, false);
        item->setZ(50.0);  // over the grid's cells and lines
        item->attach(d_->plot);
        d_->overlayItems.push_back(item);
    }
    if (autoRepaint()) {
        replot();
    }
}

const std::vector<ChartOverlay>& Chart::overlays() const {
    return d_->overlays;
}

QString Chart::overlayReadOut(double x, double z) const {
    for (const ChartOverlay& overlay : d_->overlays) {
        if (overlay.outline.containsPoint(QPointF(x, z), Qt::OddEvenFill)) {
            return overlay.label;
        }
    }
    return {};
}

}  // namespace quorvane
