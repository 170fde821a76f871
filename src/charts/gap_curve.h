#pragma once

// A line series that breaks where a value is missing. Qwt joins every sample to the next; a
// series with no value for a while (a travel time that is unknown) must show the hole, not a
// straight line across it.

#include <qwt_plot_curve.h>

#include <vector>

namespace quorvane {

class GapCurve : public QwtPlotCurve {
  public:
    using QwtPlotCurve::QwtPlotCurve;

    // The indexes of the samples that start a new run after a gap, ascending.
    void setRunStarts(std::vector<int> starts) { runStarts_ = std::move(starts); }

    void drawSeries(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                    const QRectF& canvasRect, int from, int to) const override;

  private:
    std::vector<int> runStarts_;
};

}  // namespace quorvane
