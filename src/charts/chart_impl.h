#pragma once

// The inside of the chart widget, shared by its source files only.

#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_panner.h>
#include <qwt_plot_shapeitem.h>
#include <qwt_plot_zoomer.h>

#include <QFrame>
#include <array>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "charts/chart.h"
#include "charts/chart_picker.h"
#include "charts/chart_raster.h"
#include "charts/gap_curve.h"

namespace quorvane {

inline int qwtAxis(ChartAxis axis) {
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

inline bool isGrid(SeriesKind kind) {
    return kind == SeriesKind::ColorGrid || kind == SeriesKind::Contour;
}

inline constexpr int kBoxFrame = static_cast<int>(QFrame::Box) | static_cast<int>(QFrame::Plain);

struct SeriesEntry {
    SeriesKind kind = SeriesKind::Line;
    SeriesStyle style;
    GridStyle grid;
    std::vector<ChartPoint> points;
    std::vector<GridPoint> gridPoints;
    bool dirty = true;
    GapCurve* curve = nullptr;
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
    std::vector<ChartOverlay> overlays;
    std::vector<QwtPlotShapeItem*> overlayItems;  // owned by the plot
    bool autoRepaint = true;
    bool replotQueued = false;
    Dialogs* dialogs = nullptr;

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

}  // namespace quorvane
