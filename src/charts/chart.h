#pragma once

#include <QPoint>
#include <QRectF>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <vector>

#include "charts/chart_types.h"

class QwtPlot;

namespace quorvane {

class Dialogs;
struct SeriesEntry;

// The program's chart: a title, three axes (left, right, bottom) and series of four kinds.
// Points may be added one by one while the chart is hidden; they are turned into drawing data
// once, when the chart is shown or replotted, never per point. A colour-grid or contour series
// uses the right axis as its colour bar.
class Chart : public QWidget {
    Q_OBJECT

  public:
    explicit Chart(QWidget* parent = nullptr);
    ~Chart() override;

    // ClearTitle and AddTitleLine.
    void clearTitle();
    void addTitleLine(const QString& line);
    QStringList titleLines() const;
    void setTitleLines(const QStringList& lines);

    const ChartLook& look() const;
    void setLook(const ChartLook& look);

    const AxisSettings& axis(ChartAxis which) const;
    void setAxis(ChartAxis which, const AxisSettings& settings);
    // Rows 1..n of a grid labelled "k (label k)" on the left axis, e.g. "1 (101)".
    void setRowLabels(const QStringList& labels);
    const QStringList& rowLabels() const;

    // Adds a series; returns its index.
    int addSeries(SeriesKind kind, const SeriesStyle& style);
    int seriesCount() const;
    SeriesKind seriesKind(int series) const;
    const SeriesStyle& seriesStyle(int series) const;
    void setSeriesStyle(int series, const SeriesStyle& style);
    // The colour-grid or contour view of a series (StartColor, EndColor, PaletteFlag, ...).
    const GridStyle& gridView(int series) const;
    void setGridView(int series, const GridStyle& view);

    // AddPoint on a line or point series; returns the point's index. Every point takes its
    // series' colour and carries no label.
    int addPoint(int series, double x, double y);
    // AddGridPoint on a colour-grid or contour series: y is the value (it sets the colour), z
    // the row.
    int addGridPoint(int series, double x, double y, double z);
    const std::vector<ChartPoint>& points(int series) const;
    const std::vector<GridPoint>& gridPoints(int series) const;

    // Shapes drawn over the grid (replacing any before), in front of its cells.
    void setOverlays(std::vector<ChartOverlay> overlays);
    const std::vector<ChartOverlay>& overlays() const;

    // With auto-repaint off, setting changes are not drawn until replot() or show.
    void setAutoRepaint(bool on);
    bool autoRepaint() const;

    // Builds the drawing data of changed series and redraws.
    void replot();
    // OpenEditor: the modal chart editor for this chart.
    void openEditor();
    // The dialogs "Save image..." asks for its file through; without them (a chart rendered
    // headless) the chart offers no saving.
    void setDialogs(Dialogs* dialogs);
    Dialogs* dialogs() const;

    // The contour levels a contour series draws (after replot()).
    std::vector<double> contourLevels(int series) const;
    // The hover read-out for a position on the plot canvas (time, station, value).
    QString readOut(QPoint canvasPosition) const;
    void resetZoom();
    bool isZoomed() const;

    // For the renderer and the interaction layer of this folder only.
    QwtPlot* plot() const;

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Impl;
    std::unique_ptr<Impl> d_;

    void applyLook();
    void applyAxes();
    void applySeriesStyle(int series);
    void syncData();
    void updateZoomBase();
    void followZoom(const QRectF& rect);
    void adjustTickDensity();
    void showContextMenu(QPoint canvasPosition);
    void pointAdded(SeriesEntry& entry);
    QString nearestPointReadOut(QPoint canvasPosition) const;
    QString overlayReadOut(double x, double z) const;
};

}  // namespace quorvane
