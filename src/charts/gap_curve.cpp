#include "charts/gap_curve.h"

#include <algorithm>

namespace quorvane {

void GapCurve::drawSeries(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                          const QRectF& canvasRect, int from, int to) const {
    if (to < 0) {
        to = static_cast<int>(dataSize()) - 1;
    }
    auto next = std::upper_bound(runStarts_.begin(), runStarts_.end(), from);
    int first = from;
    while (first <= to) {
        const int last = next == runStarts_.end() ? to : std::min(to, *next - 1);
        QwtPlotCurve::drawSeries(painter, xMap, yMap, canvasRect, first, last);
        first = last + 1;
        if (next != runStarts_.end()) {
            ++next;
        }
    }
}

}  // namespace quorvane
