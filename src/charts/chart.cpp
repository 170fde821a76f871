#include "charts/chart.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "charts/chart_editor.h"
#include "charts/chart_impl.h"

namespace quorvane {

namespace {

// The right button opens the context menu; the middle button zooms out a step, with Shift all
// the way.
void setZoomButtons(QwtPlotZoomer& zoomer) {
    zoomer.setMousePattern(QwtEventPattern::MouseSelect2, Qt::MiddleButton, Qt::ShiftModifier);
    zoomer.setMousePattern(QwtEventPattern::MouseSelect3, Qt::MiddleButton);
}

}  // namespace

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
    // The canvas shows the chart's background through (applyLook): Qt paints it under a canvas
    // that does not claim to be opaque. An "opaque" canvas leaves that to Qwt, whose copy of a
    // gradient background comes out black on a screen and as stale pixels in a grab.
    d_->canvas->setPaintAttribute(QwtPlotCanvas::Opaque, false);
    d_->canvas->setAttribute(Qt::WA_OpaquePaintEvent, false);
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
        entry.spectrogram->setData(
            new GridRasterData(entry.matrix, Sampling::Nearest,
                               GridRasterData::valueRange(*entry.matrix, entry.grid)));
        entry.spectrogram->attach(d_->plot);
    } else {
        entry.curve = new GapCurve(style.title);
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
    const bool levelsChanged =
        view.numLevels != entry.grid.numLevels || view.fixedRange != entry.grid.fixedRange ||
        view.rangeLow != entry.grid.rangeLow || view.rangeHigh != entry.grid.rangeHigh;
    entry.grid = view;
    entry.dirty = entry.dirty || levelsChanged;
    applySeriesStyle(series);
    applyAxes();
}

int Chart::addPoint(int series, double x, double y) {
    SeriesEntry& entry = d_->entry(series);
    if (isGrid(entry.kind)) {
        throw std::invalid_argument("AddPoint needs a line or point series");
    }
    auto& points = entry.points;
    auto at = points.end();
    if (entry.style.xOrder == ValueOrder::Ascending && !points.empty() && x < points.back().x) {
        at = std::upper_bound(points.begin(), points.end(), x,
                              [](double v, const ChartPoint& p) { return v < p.x; });
    }
    const auto index = static_cast<int>(at - points.begin());
    points.insert(at, ChartPoint{x, y});
    pointAdded(entry);
    return index;
}

int Chart::addGridPoint(int series, double x, double y, double z) {
    SeriesEntry& entry = d_->entry(series);
    if (!isGrid(entry.kind)) {
        throw std::invalid_argument("AddGridPoint needs a colour-grid or contour series");
    }
    entry.gridPoints.push_back(GridPoint{x, y, z});
    pointAdded(entry);
    return static_cast<int>(entry.gridPoints.size()) - 1;
}

// A shown chart with auto-repaint redraws once after a burst of points, not per point.
void Chart::pointAdded(SeriesEntry& entry) {
    entry.dirty = true;
    if (d_->autoRepaint && isVisible() && !d_->replotQueued) {
        d_->replotQueued = true;
        QTimer::singleShot(0, this, [this] { replot(); });
    }
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

void Chart::setDialogs(Dialogs* dialogs) {
    d_->dialogs = dialogs;
}

Dialogs* Chart::dialogs() const {
    return d_->dialogs;
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

}  // namespace quorvane
