#include "roadgraphs/chart.h"

#include <qwt_legend.h>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_panner.h>
#include <qwt_plot_zoomer.h>
#include <qwt_scale_widget.h>
#include <qwt_symbol.h>

#include <QContextMenuEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <array>
#include <cmath>
#include <stdexcept>

#include "roadgraphs/chart_editor.h"
#include "roadgraphs/chart_picker.h"
#include "roadgraphs/chart_raster.h"
#include "roadgraphs/chart_scales.h"

namespace quorvane {

namespace {

int qwtAxis(ChartAxis axis) {
    switch (axis) {
        case ChartAxis::Left:
            return QwtPlot::yLeft;
        case ChartAxis::Right:
            return QwtPlot::yRight;
        case ChartAxis::Bottom:
            return QwtPlot::xBottom;
    }
    return QwtPlot::xBottom;
}

bool isGrid(SeriesKind kind) {
    return kind == SeriesKind::ColorGrid || kind == SeriesKind::Contour;
}

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

QString plainNumber(double v) {
    return QString::number(v, 'g', 6);
}

constexpr int kBoxFrame = static_cast<int>(QFrame::Box) | static_cast<int>(QFrame::Plain);

// The right button opens the context menu; the middle button zooms out a step, with Shift all
// the way.
void setZoomButtons(QwtPlotZoomer& zoomer) {
    zoomer.setMousePattern(QwtEventPattern::MouseSelect2, Qt::MiddleButton, Qt::ShiftModifier);
    zoomer.setMousePattern(QwtEventPattern::MouseSelect3, Qt::MiddleButton);
}

}  // namespace

struct SeriesEntry {
    SeriesKind kind = SeriesKind::Line;
    SeriesStyle style;
    GridStyle grid;
    std::vector<ChartPoint> points;
    std::vector<GridPoint> gridPoints;
    bool dirty = true;
    QwtPlotCurve* curve = nullptr;
    GridSpectrogram* spectrogram = nullptr;
    std::shared_ptr<const GridMatrix> matrix = std::make_shared<GridMatrix>();
    std::vector<double> levels;
};

struct Chart::Impl {
    QwtPlot* plot = nullptr;
    QwtPlotCanvas* canvas = nullptr;
    QwtPlotGrid* gridLines = nullptr;
    QwtPlotZoomer* zoomer = nullptr;
    // The left and right axis ranges the zoom starts from: the right axis follows the left.
    QwtInterval leftBase;
    QwtInterval rightBase;
    QwtPlotPanner* panner = nullptr;
    ReadOutPicker* picker = nullptr;
    QStringList title;
    ChartLook look;
    std::array<AxisSettings, kChartAxisCount> axes;
    QStringList rowLabels;
    std::vector<SeriesEntry> series;
    bool autoRepaint = true;
    bool replotQueued = false;

    SeriesEntry& entry(int index) {
        if (index < 0 || index >= static_cast<int>(series.size())) {
            throw std::out_of_range("no series " + std::to_string(index));
        }
        return series[static_cast<std::size_t>(index)];
    }
    const SeriesEntry* firstGrid() const {
        for (const SeriesEntry& s : series) {
            if (isGrid(s.kind)) {
                return &s;
            }
        }
        return nullptr;
    }
    bool rightAxisCurve() const {
        for (const SeriesEntry& s : series) {
            if (!isGrid(s.kind) && s.style.yAxis == ChartAxis::Right) {
                return true;
            }
        }
        return false;
    }
};

Chart::Chart(QWidget* parent) : QWidget(parent), d_(std::make_unique<Impl>()) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    d_->plot = new QwtPlot(this);
    // The axes' label space must not set the window's size: the window keeps the size it is
    // given, and the axes thin out their labels to fit it.
    d_->plot->setMinimumSize(160, 120);
    layout->addWidget(d_->plot);

    d_->canvas = new QwtPlotCanvas();
    d_->canvas->setPaintAttribute(QwtPlotCanvas::BackingStore, false);
    d_->canvas->setFrameStyle(kBoxFrame);
    d_->canvas->setLineWidth(1);
    d_->plot->setCanvas(d_->canvas);
    d_->canvas->installEventFilter(this);
    d_->canvas->setMouseTracking(true);

    d_->zoomer = new QwtPlotZoomer(QwtPlot::xBottom, QwtPlot::yLeft, d_->canvas, false);
    d_->zoomer->setTrackerMode(QwtPicker::AlwaysOff);
    d_->zoomer->setRubberBandPen(QPen(Qt::darkBlue, 1, Qt::DashLine));
    setZoomButtons(*d_->zoomer);
    connect(d_->zoomer, &QwtPlotZoomer::zoomed, this,
            [this](const QRectF& rect) { followZoom(rect); });

    d_->panner = new QwtPlotPanner(d_->canvas);
    d_->panner->setMouseButton(Qt::LeftButton, Qt::ControlModifier);
    d_->panner->setOrientations(Qt::Horizontal);
    d_->panner->setEnabled(false);

    d_->picker = new ReadOutPicker(d_->canvas, [this](QPoint p) { return readOut(p); });

    d_->axes[static_cast<int>(ChartAxis::Right)].visible = false;
    applyLook();
    applyAxes();
}

Chart::~Chart() = default;

QwtPlot* Chart::plot() const {
    return d_->plot;
}

void Chart::clearTitle() {
    setTitleLines({});
}

void Chart::addTitleLine(const QString& line) {
    QStringList lines = d_->title;
    lines.append(line);
    setTitleLines(lines);
}

QStringList Chart::titleLines() const {
    return d_->title;
}

void Chart::setTitleLines(const QStringList& lines) {
    d_->title = lines;
    d_->plot->setTitle(lines.join(QLatin1Char('\n')));
}

const ChartLook& Chart::look() const {
    return d_->look;
}

void Chart::setLook(const ChartLook& look) {
    d_->look = look;
    applyLook();
    applyAxes();
}

const AxisSettings& Chart::axis(ChartAxis which) const {
    return d_->axes[static_cast<std::size_t>(which)];
}

void Chart::setAxis(ChartAxis which, const AxisSettings& settings) {
    d_->axes[static_cast<std::size_t>(which)] = settings;
    applyAxes();
}

void Chart::setRowLabels(const QStringList& labels) {
    d_->rowLabels = labels;
    applyAxes();
}

const QStringList& Chart::rowLabels() const {
    return d_->rowLabels;
}

int Chart::addSeries(SeriesKind kind, const SeriesStyle& style) {
    SeriesEntry entry;
    entry.kind = kind;
    entry.style = style;
    if (isGrid(kind)) {
        entry.spectrogram = new GridSpectrogram(style.title);
        entry.spectrogram->setDisplayMode(QwtPlotSpectrogram::ImageMode,
                                          kind == SeriesKind::ColorGrid);
        entry.spectrogram->setDisplayMode(QwtPlotSpectrogram::ContourMode,
                                          kind == SeriesKind::Contour);
        entry.spectrogram->setRenderThreadCount(0);  // as many as there are cores
        entry.spectrogram->setItemAttribute(QwtPlotItem::Legend, false);
        entry.spectrogram->setData(new GridRasterData(entry.matrix, Sampling::Nearest));
        entry.spectrogram->attach(d_->plot);
    } else {
        entry.curve = new QwtPlotCurve(style.title);
        entry.curve->setRenderHint(QwtPlotItem::RenderAntialiased, true);
        entry.curve->attach(d_->plot);
    }
    d_->series.push_back(std::move(entry));
    const int index = seriesCount() - 1;
    applySeriesStyle(index);
    applyLook();
    applyAxes();
    return index;
}

int Chart::seriesCount() const {
    return static_cast<int>(d_->series.size());
}

SeriesKind Chart::seriesKind(int series) const {
    return d_->entry(series).kind;
}

const SeriesStyle& Chart::seriesStyle(int series) const {
    return d_->entry(series).style;
}

void Chart::setSeriesStyle(int series, const SeriesStyle& style) {
    d_->entry(series).style = style;
    applySeriesStyle(series);
    applyLook();
    applyAxes();
}

const GridStyle& Chart::gridView(int series) const {
    return d_->entry(series).grid;
}

void Chart::setGridView(int series, const GridStyle& view) {
    SeriesEntry& entry = d_->entry(series);
    if (!isGrid(entry.kind)) {
        throw std::invalid_argument("series " + std::to_string(series) + " is not a grid");
    }
    const bool levelsChanged = view.numLevels != entry.grid.numLevels;
    entry.grid = view;
    entry.dirty = entry.dirty || levelsChanged;
    applySeriesStyle(series);
    applyAxes();
}

int Chart::addPoint(int series, double x, double y, const QString& label, uint32_t color) {
    SeriesEntry& entry = d_->entry(series);
    if (isGrid(entry.kind) || !label.isEmpty() || color != kAutoColor) {
        throw std::invalid_argument(
            "AddPoint takes an empty label and AutoColor on a line or point series");
    }
    auto& points = entry.points;
    auto at = points.end();
    if (entry.style.xOrder == ValueOrder::Ascending && !points.empty() && x < points.back().x) {
        at = std::upper_bound(points.begin(), points.end(), x,
                              [](double v, const ChartPoint& p) { return v < p.x; });
    }
    const auto index = static_cast<int>(at - points.begin());
    points.insert(at, ChartPoint{x, y});
    entry.dirty = true;
    if (d_->autoRepaint && isVisible() && !d_->replotQueued) {
        d_->replotQueued = true;
        QTimer::singleShot(0, this, [this] { replot(); });
    }
    return index;
}

int Chart::addGridPoint(int series, double x, double y, double z, const QString& label,
                        uint32_t color) {
    SeriesEntry& entry = d_->entry(series);
    if (!isGrid(entry.kind) || !label.isEmpty() || color != kAutoColor) {
        throw std::invalid_argument(
            "AddGridPoint takes an empty label and AutoColor on a grid series");
    }
    entry.gridPoints.push_back(GridPoint{x, y, z});
    entry.dirty = true;
    if (d_->autoRepaint && isVisible() && !d_->replotQueued) {
        d_->replotQueued = true;
        QTimer::singleShot(0, this, [this] { replot(); });
    }
    return static_cast<int>(entry.gridPoints.size()) - 1;
}

const std::vector<ChartPoint>& Chart::points(int series) const {
    return d_->entry(series).points;
}

const std::vector<GridPoint>& Chart::gridPoints(int series) const {
    return d_->entry(series).gridPoints;
}

void Chart::setAutoRepaint(bool on) {
    d_->autoRepaint = on;
    d_->plot->setAutoReplot(false);
}

bool Chart::autoRepaint() const {
    return d_->autoRepaint;
}

std::vector<double> Chart::contourLevels(int series) const {
    return d_->entry(series).levels;
}

void Chart::replot() {
    d_->replotQueued = false;
    syncData();
    d_->plot->replot();
}

void Chart::openEditor() {
    ChartEditor editor(*this, this);
    editor.exec();
}

void Chart::resetZoom() {
    if (!isZoomed()) {
        return;
    }
    d_->zoomer->zoom(0);
    applyAxes();  // back to the settings' ranges, automatic ones included
}

bool Chart::isZoomed() const {
    return d_->zoomer->zoomRectIndex() > 0;
}

void Chart::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    adjustTickDensity();
    replot();
}

void Chart::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    adjustTickDensity();
}

bool Chart::eventFilter(QObject* watched, QEvent* event) {
    if (watched == d_->canvas) {
        if (event->type() == QEvent::MouseButtonDblClick &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            openEditor();
            return true;
        }
        if (event->type() == QEvent::ContextMenu) {
            showContextMenu(static_cast<QContextMenuEvent*>(event)->pos());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Chart::showContextMenu(QPoint canvasPosition) {
    showChartMenu(*this, d_->canvas->mapToGlobal(canvasPosition));
}

// Labels about 70 pixels apart on the time axis and two text lines apart on the rows.
void Chart::adjustTickDensity() {
    const QSize canvasSize = d_->canvas->size();
    const int lineHeight = fontMetrics().height();
    d_->plot->setAxisMaxMajor(QwtPlot::xBottom, std::max(2, canvasSize.width() / 70));
    d_->plot->setAxisMaxMajor(QwtPlot::yLeft, std::max(2, canvasSize.height() / (lineHeight * 2)));
    d_->plot->setAxisMaxMajor(QwtPlot::yRight, std::max(2, canvasSize.height() / (lineHeight * 2)));
}

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
        const QwtInterval range = GridRasterData::valueRange(m);
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
            for (const ChartPoint& p : entry.points) {
                if (std::isfinite(p.x) && std::isfinite(p.y)) {  // Qwt would draw NaN as a spike
                    samples.append(QPointF(p.x, p.y));
                }
            }
            entry.curve->setSamples(samples);
            continue;
        }
        entry.matrix = std::make_shared<GridMatrix>(GridMatrix::fromPoints(entry.gridPoints));
        const bool contour = entry.kind == SeriesKind::Contour;
        entry.spectrogram->setMatrix(entry.matrix);
        entry.spectrogram->setData(
            new GridRasterData(entry.matrix, contour ? Sampling::Bilinear : Sampling::Nearest));
        entry.levels = contourLevelsBetween(entry.matrix->minValue, entry.matrix->maxValue,
                                            entry.grid.numLevels);
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
