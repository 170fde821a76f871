// How the chart's settings and points become Qwt's items, axes and data.

#include <qwt_legend.h>
#include <qwt_scale_widget.h>
#include <qwt_symbol.h>

#include <QLinearGradient>
#include <cmath>

#include "charts/chart_impl.h"
#include "charts/chart_scales.h"

namespace quorvane {

namespace {

QwtSymbol::Style symbolStyle(Marker marker) {
    switch (marker) {
        case Marker::None:
            return QwtSymbol::NoSymbol;
        case Marker::Square:
            return QwtSymbol::Rect;
        case Marker::Circle:
            return QwtSymbol::Ellipse;
        case Marker::Triangle:
            return QwtSymbol::Triangle;
        case Marker::Diamond:
            return QwtSymbol::Diamond;
        case Marker::Cross:
            return QwtSymbol::Cross;
    }
    return QwtSymbol::NoSymbol;
}

}  // namespace

void Chart::applyLook() {
    const ChartLook& look = d_->look;
    QPalette palette = d_->plot->palette();
    if (look.gradientVisible) {
        QLinearGradient gradient(0, 0, 0, 1);
        gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
        gradient.setColorAt(0, look.gradientStart);
        gradient.setColorAt(1, look.gradientEnd);
        palette.setBrush(QPalette::Window, QBrush(gradient));
    } else {
        palette.setBrush(QPalette::Window, QBrush(Qt::white));
    }
    d_->plot->setPalette(palette);
    d_->plot->setAutoFillBackground(true);
    // The canvas lets the chart's background show through, as one picture.
    QPalette canvasPalette = d_->canvas->palette();
    canvasPalette.setBrush(QPalette::Window, Qt::NoBrush);
    d_->canvas->setPalette(canvasPalette);
    d_->canvas->setAutoFillBackground(false);
    d_->plot->setFrameStyle(look.border ? kBoxFrame : static_cast<int>(QFrame::NoFrame));
    d_->plot->setLineWidth(look.border ? 1 : 0);

    bool legendItems = false;
    for (const SeriesEntry& s : d_->series) {
        legendItems = legendItems || (!isGrid(s.kind) && s.style.inLegend);
    }
    const bool wantLegend = look.legendVisible && legendItems;
    if (wantLegend && d_->plot->legend() == nullptr) {
        d_->plot->insertLegend(new QwtLegend(), QwtPlot::BottomLegend);
    } else if (!wantLegend && d_->plot->legend() != nullptr) {
        d_->plot->insertLegend(nullptr);
    }
    d_->panner->setEnabled(look.panHorizontal);

    const bool lineGrid = !d_->series.empty() && d_->firstGrid() == nullptr;
    if (lineGrid && d_->gridLines == nullptr) {
        d_->gridLines = new QwtPlotGrid();
        d_->gridLines->setMajorPen(QColor(0, 0, 0, 40), 0, Qt::DotLine);
        d_->gridLines->attach(d_->plot);
    }
}

void Chart::applyAxes() {
    QwtPlot& plot = *d_->plot;
    const SeriesEntry* grid = d_->firstGrid();
    for (int i = 0; i < kChartAxisCount; ++i) {
        const auto which = static_cast<ChartAxis>(i);
        const AxisSettings& settings = d_->axes[static_cast<std::size_t>(i)];
        const int id = qwtAxis(which);
        plot.setAxisTitle(id, settings.title);
        if (which == ChartAxis::Bottom && settings.timeOfDay) {
            plot.setAxisScaleEngine(id, new TimeScaleEngine());
            plot.setAxisScaleDraw(id, new TimeScaleDraw(settings.timeFormat));
        }
        if (which == ChartAxis::Left && grid != nullptr) {
            plot.setAxisScaleEngine(id, new RowScaleEngine());
            plot.setAxisScaleDraw(id, new RowScaleDraw(d_->rowLabels));
        }
    }

    const auto axisRange = [&](ChartAxis which, double autoLow, double autoHigh, bool haveAuto) {
        const AxisSettings& settings = axis(which);
        const int id = qwtAxis(which);
        if (!settings.automatic) {
            plot.setAxisScale(id, settings.min, settings.max);
        } else if (haveAuto) {
            plot.setAxisScale(id, autoLow, autoHigh);
        } else {
            plot.setAxisAutoScale(id, true);
        }
    };

    if (grid != nullptr) {
        const GridMatrix& m = *grid->matrix;
        axisRange(ChartAxis::Bottom, m.xLow(), m.xHigh(), !m.empty());
        axisRange(ChartAxis::Left, m.zLow(), m.zHigh(), !m.empty());
        // The right axis is the colour bar: it is the legend of a grid.
        const QwtInterval range = GridRasterData::valueRange(m, grid->grid);
        QwtScaleWidget* bar = plot.axisWidget(QwtPlot::yRight);
        bar->setColorBarEnabled(true);
        bar->setColorBarWidth(16);
        bar->setColorMap(range, newColorMap(grid->grid));
        plot.setAxisScaleDraw(QwtPlot::yRight, new ValueScaleDraw(grid->grid.valueFormat));
        axisRange(ChartAxis::Right, range.minValue(), range.maxValue(), true);
        plot.enableAxis(QwtPlot::yRight, d_->look.legendVisible);
        plot.enableAxis(QwtPlot::yLeft, axis(ChartAxis::Left).visible);
        plot.enableAxis(QwtPlot::xBottom, axis(ChartAxis::Bottom).visible);
    } else {
        for (const ChartAxis which : {ChartAxis::Left, ChartAxis::Right, ChartAxis::Bottom}) {
            axisRange(which, 0, 0, false);
        }
        const bool right = d_->rightAxisCurve();
        plot.enableAxis(QwtPlot::yRight, right && axis(ChartAxis::Right).visible);
        plot.enableAxis(QwtPlot::yLeft, axis(ChartAxis::Left).visible);
        plot.enableAxis(QwtPlot::xBottom, axis(ChartAxis::Bottom).visible);
    }
    updateZoomBase();
    if (d_->autoRepaint && isVisible()) {
        plot.replot();
    }
}

void Chart::applySeriesStyle(int series) {
    SeriesEntry& entry = d_->entry(series);
    const SeriesStyle& style = entry.style;
    if (entry.curve != nullptr) {
        QwtPlotCurve& curve = *entry.curve;
        curve.setTitle(style.title);
        curve.setYAxis(
            qwtAxis(style.yAxis == ChartAxis::Right ? ChartAxis::Right : ChartAxis::Left));
        const bool line = entry.kind == SeriesKind::Line && style.lineWidth > 0;
        curve.setStyle(line ? QwtPlotCurve::Lines : QwtPlotCurve::NoCurve);
        curve.setPen(style.color, std::max(1, style.lineWidth));
        if (style.marker == Marker::None) {
            curve.setSymbol(nullptr);
        } else {
            const QSize size(2 * style.markerHalfWidth + 1, 2 * style.markerHalfHeight + 1);
            curve.setSymbol(new QwtSymbol(symbolStyle(style.marker), QBrush(style.color),
                                          QPen(style.color.darker(140)), size));
        }
        curve.setLegendAttribute(QwtPlotCurve::LegendShowLine, true);
        curve.setLegendAttribute(QwtPlotCurve::LegendShowSymbol, style.marker != Marker::None);
        curve.setItemAttribute(QwtPlotItem::Legend, style.inLegend);
        curve.setVisible(style.visible);
    } else {
        GridSpectrogram& spectrogram = *entry.spectrogram;
        spectrogram.setTitle(style.title);
        spectrogram.setColorMap(newColorMap(entry.grid));
        spectrogram.setLineStyle(entry.grid);
        if (entry.kind == SeriesKind::Contour) {
            // A contour draws lines only, but shades its gaps when the style gives them a colour.
            QwtColorMap* gaps = newGapOnlyColorMap(entry.grid);
            spectrogram.setDisplayMode(QwtPlotSpectrogram::ImageMode, gaps != nullptr);
            if (gaps != nullptr) {
                spectrogram.setColorMap(gaps);
            }
        }
        spectrogram.setVisible(style.visible);
    }
    if (d_->autoRepaint && isVisible()) {
        d_->plot->replot();
    }
}

void Chart::syncData() {
    bool gridChanged = false;
    for (SeriesEntry& entry : d_->series) {
        if (!entry.dirty) {
            continue;
        }
        entry.dirty = false;
        if (entry.curve != nullptr) {
            QVector<QPointF> samples;
            samples.reserve(static_cast<int>(entry.points.size()));
            // A point without a value is left out (Qwt would draw NaN as a spike) and breaks
            // the line there.
            std::vector<int> runStarts;
            bool gap = false;
            for (const ChartPoint& p : entry.points) {
                if (std::isfinite(p.x) && std::isfinite(p.y)) {
                    if (gap && !samples.isEmpty()) {
                        runStarts.push_back(samples.size());
                    }
                    gap = false;
                    samples.append(QPointF(p.x, p.y));
                } else {
                    gap = true;
                }
            }
            entry.curve->setSamples(samples);
            entry.curve->setRunStarts(std::move(runStarts));
            continue;
        }
        entry.matrix = std::make_shared<GridMatrix>(GridMatrix::fromPoints(entry.gridPoints));
        const bool contour = entry.kind == SeriesKind::Contour;
        entry.spectrogram->setMatrix(entry.matrix);
        entry.spectrogram->setData(
            new GridRasterData(entry.matrix, contour ? Sampling::Bilinear : Sampling::Nearest,
                               GridRasterData::valueRange(*entry.matrix, entry.grid)));
        entry.levels = contourLevelsOf(*entry.matrix, entry.grid);
        entry.spectrogram->setContourLevels(
            QList<double>(entry.levels.begin(), entry.levels.end()));
        gridChanged = true;
    }
    if (gridChanged) {
        applyAxes();
    }
    updateZoomBase();
}

// The zoomer's way back is the view the settings give, so it follows every settings change
// made while not zoomed in.
void Chart::updateZoomBase() {
    if (isZoomed()) {
        return;
    }
    d_->plot->updateAxes();
    d_->zoomer->setZoomBase(false);
    d_->leftBase = d_->plot->axisScaleDiv(QwtPlot::yLeft).interval();
    d_->rightBase = d_->plot->axisScaleDiv(QwtPlot::yRight).interval();
}

// The zoomer knows the bottom and left axes; a curve on the right axis keeps its place on the
// screen by giving the right axis the same share of its range as the left one gets.
void Chart::followZoom(const QRectF& rect) {
    if (!d_->rightAxisCurve() || d_->leftBase.width() <= 0) {
        return;
    }
    if (!isZoomed()) {
        applyAxes();
        return;
    }
    const double scale = d_->rightBase.width() / d_->leftBase.width();
    const auto toRight = [&](double left) {
        return d_->rightBase.minValue() + (left - d_->leftBase.minValue()) * scale;
    };
    d_->plot->setAxisScale(QwtPlot::yRight, toRight(rect.top()), toRight(rect.bottom()));
    d_->plot->replot();
}

}  // namespace quorvane
