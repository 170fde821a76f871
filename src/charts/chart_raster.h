#pragma once

// The Qwt side of colour-grid and contour series: raster data over a GridMatrix, the
// spectrogram that draws it and the colour maps. Internal to the chart layer.

#include <qwt_color_map.h>
#include <qwt_plot_spectrogram.h>
#include <qwt_raster_data.h>

#include <memory>

#include "charts/chart_types.h"
#include "charts/grid_matrix.h"

namespace quorvane {

enum class Sampling { Nearest, Bilinear };

class GridRasterData : public QwtRasterData {
  public:
    // `range` is the value range the colours span (valueRange).
    GridRasterData(std::shared_ptr<const GridMatrix> matrix, Sampling sampling,
                   const QwtInterval& range);

    double value(double x, double y) const override;
    // The raster about to be sampled: a contour on a raster coarser than the cells averages the
    // cells each sample covers, so noise between neighbouring intervals does not become rings.
    void initRaster(const QRectF& area, const QSize& raster) override;
    void discardRaster() override;
    // One cell: a raster with fewer cells than pixels is drawn cell by cell, with sharp edges.
    QRectF pixelHint(const QRectF& area) const override;

    // The value range the colours span: the style's fixed range, else the matrix's own (never
    // empty).
    static QwtInterval valueRange(const GridMatrix& matrix, const GridStyle& style);

  private:
    std::shared_ptr<const GridMatrix> matrix_;
    Sampling sampling_;
    double halfSampleWidth_ = 0.0;
};

// A spectrogram whose contour lines take their level's colour and a chosen width, computed on
// a raster about one sample per half cell of the visible data.
class GridSpectrogram : public QwtPlotSpectrogram {
  public:
    explicit GridSpectrogram(const QString& title);

    void setMatrix(std::shared_ptr<const GridMatrix> matrix) { matrix_ = std::move(matrix); }
    // The colours of the lines: those of the series' colour map, light ones darkened to show on
    // a white canvas.
    void setLineStyle(const GridStyle& style);
    QPen contourPen(double level) const override;
    // The lines drawn for the visible data `area` on a raster of `raster` samples.
    QwtRasterData::ContourLines linesOver(const QRectF& area, const QSize& raster) const {
        return renderContourLines(area, raster);
    }

  protected:
    QSize contourRasterSize(const QRectF& area, const QRect& rect) const override;
    // Qwt samples a raster of n points at n steps of width/n, so the last row and column fall
    // one step short of the far edges; lines then stop short of the top row and the day's end.
    // Stretch the area so the n samples span it edge to edge.
    QwtRasterData::ContourLines renderContourLines(const QRectF& area,
                                                   const QSize& raster) const override;

  private:
    std::shared_ptr<const GridMatrix> matrix_;
    std::unique_ptr<QwtColorMap> lineColors_;
    int contourWidth_ = 2;
};

// A new colour map from StartColor (lowest) to EndColor (highest); with PaletteFlag the colours
// run through the saturated hues between the two; NaN in the gap colour when it is valid. The
// caller hands it to its one owner.
QwtLinearColorMap* newColorMap(const GridStyle& style);
// A map that draws only the gaps (NaN) in the style's gap colour, every value clear: the
// contour's picture of where there is no value. Null when the style has no gap colour.
QwtColorMap* newGapOnlyColorMap(const GridStyle& style);
// The colour of a value, as the map draws it (for tests and the read-out).
QColor colorOf(const GridStyle& style, double low, double high, double value);

// `count` levels strictly between low and high, evenly spaced.
std::vector<double> contourLevelsBetween(double low, double high, int count);
// The style's levels over the matrix: between its fixed range, else the values' own.
std::vector<double> contourLevelsOf(const GridMatrix& matrix, const GridStyle& style);

}  // namespace quorvane
