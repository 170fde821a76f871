#include "charts/chart_raster.h"

#include <QPen>
#include <algorithm>
#include <cmath>

namespace quorvane {

GridRasterData::GridRasterData(std::shared_ptr<const GridMatrix> matrix, Sampling sampling,
                               const QwtInterval& range)
    : matrix_(std::move(matrix)), sampling_(sampling) {
    setInterval(Qt::XAxis, QwtInterval(matrix_->xLow(), matrix_->xHigh()));
    setInterval(Qt::YAxis, QwtInterval(matrix_->zLow(), matrix_->zHigh()));
    setInterval(Qt::ZAxis, range);
}

QwtInterval GridRasterData::valueRange(const GridMatrix& matrix, const GridStyle& style) {
    if (style.fixedRange && style.rangeHigh > style.rangeLow) {
        return QwtInterval(style.rangeLow, style.rangeHigh);
    }
    if (matrix.maxValue > matrix.minValue) {
        return QwtInterval(matrix.minValue, matrix.maxValue);
    }
    return QwtInterval(matrix.minValue - 0.5, matrix.minValue + 0.5);
}

double GridRasterData::value(double x, double y) const {
    if (sampling_ == Sampling::Nearest) {
        return matrix_->nearest(x, y);
    }
    if (halfSampleWidth_ >= matrix_->smallestColumnWidth()) {
        return matrix_->smoothed(x, y, halfSampleWidth_);
    }
    return matrix_->bilinear(x, y);
}

void GridRasterData::initRaster(const QRectF& area, const QSize& raster) {
    halfSampleWidth_ = raster.width() > 0 ? area.width() / raster.width() / 2 : 0.0;
}

void GridRasterData::discardRaster() {
    halfSampleWidth_ = 0.0;
}

QRectF GridRasterData::pixelHint(const QRectF&) const {
    if (sampling_ != Sampling::Nearest || matrix_->empty() || !matrix_->uniformColumns()) {
        return QRectF();
    }
    // Rows are whole numbers 1..n, equally spaced when the road lists each station once.
    const double rowHeight = matrix_->rows() < 2 ? 1.0 : matrix_->zs[1] - matrix_->zs[0];
    return QRectF(matrix_->xLow(), matrix_->zLow(), matrix_->smallestColumnWidth(), rowHeight);
}

GridSpectrogram::GridSpectrogram(const QString& title) : QwtPlotSpectrogram(title) {
    setDefaultContourPen(QPen(Qt::NoPen));  // each line asks contourPen for its colour
}

void GridSpectrogram::setLineStyle(const GridStyle& style) {
    lineColors_.reset(newColorMap(style));
    contourWidth_ = style.contourWidth;
}

QPen GridSpectrogram::contourPen(double level) const {
    if (lineColors_ == nullptr || data() == nullptr) {
        return QPen(Qt::black, contourWidth_);
    }
    QColor color = QColor::fromRgba(lineColors_->rgb(data()->interval(Qt::ZAxis), level));
    constexpr double kBrightest = 150.0;  // luminance of pure green, which still shows on white
    const double luminance = 0.299 * color.red() + 0.587 * color.green() + 0.114 * color.blue();
    if (luminance > kBrightest) {
        const double f = kBrightest / luminance;
        color = QColor::fromRgbF(color.redF() * f, color.greenF() * f, color.blueF() * f);
    }
    QPen pen(color, contourWidth_);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

QSize GridSpectrogram::contourRasterSize(const QRectF& area, const QRect& rect) const {
    QSize raster = rect.size() / 2;
    if (matrix_ && !matrix_->empty()) {
        // Finer than two samples per cell adds nothing to bilinear data.
        const double columns = area.width() / std::max(matrix_->smallestColumnWidth(), 1e-12);
        const double rows = area.height();  // rows are one unit apart
        raster = raster.boundedTo(
            QSize(static_cast<int>(std::ceil(columns * 2)), static_cast<int>(std::ceil(rows * 4))));
    }
    return raster.expandedTo(QSize(2, 2));
}

QwtRasterData::ContourLines GridSpectrogram::renderContourLines(const QRectF& area,
                                                                const QSize& raster) const {
    if (raster.width() < 2 || raster.height() < 2) {
        return QwtPlotSpectrogram::renderContourLines(area, raster);
    }
    // A hair short of the edges, so that rounding never puts the last sample outside the data.
    constexpr double kInside = 1.0 - 1e-9;
    const QRectF spanned(area.x(), area.y(),
                         area.width() * raster.width() / (raster.width() - 1) * kInside,
                         area.height() * raster.height() / (raster.height() - 1) * kInside);
    return QwtPlotSpectrogram::renderContourLines(spanned, raster);
}

namespace {

QColor strongStop(const QColor& from, const QColor& to, double t) {
    double h1 = from.hsvHueF();
    double h2 = to.hsvHueF();
    if (h1 < 0 || h2 < 0) {  // a grey end: blend plainly
        return QColor::fromRgbF(from.redF() + t * (to.redF() - from.redF()),
                                from.greenF() + t * (to.greenF() - from.greenF()),
                                from.blueF() + t * (to.blueF() - from.blueF()));
    }
    if (h2 - h1 > 0.5) {
        h1 += 1.0;
    } else if (h1 - h2 > 0.5) {
        h2 += 1.0;
    }
    const double hue = std::fmod(h1 + t * (h2 - h1), 1.0);
    const double saturation =
        from.hsvSaturationF() + t * (to.hsvSaturationF() - from.hsvSaturationF());
    const double value = from.valueF() + t * (to.valueF() - from.valueF());
    return QColor::fromHsvF(hue, saturation, value);
}

// The linear map, with NaN (no value) in the gap colour instead of clear.
class GapColorMap : public QwtLinearColorMap {
  public:
    GapColorMap(const QColor& from, const QColor& to, const QColor& gap)
        : QwtLinearColorMap(from, to), gap_(gap.rgba()) {}
    QRgb rgb(const QwtInterval& interval, double value) const override {
        return std::isnan(value) ? gap_ : QwtLinearColorMap::rgb(interval, value);
    }

  private:
    QRgb gap_;
};

class GapOnlyColorMap : public QwtColorMap {
  public:
    explicit GapOnlyColorMap(const QColor& gap) : gap_(gap.rgba()) {}
    QRgb rgb(const QwtInterval&, double value) const override {
        return std::isnan(value) ? gap_ : 0u;
    }
    unsigned char colorIndex(const QwtInterval&, double) const override { return 0; }

  private:
    QRgb gap_;
};

}  // namespace

QwtLinearColorMap* newColorMap(const GridStyle& style) {
    auto* map = style.gapColor.isValid()
                    ? new GapColorMap(style.startColor, style.endColor, style.gapColor)
                    : new QwtLinearColorMap(style.startColor, style.endColor);
    if (style.midColor.isValid()) {
        map->addColorStop(0.5, style.midColor);
    } else if (style.paletteFlag) {
        constexpr int kStops = 8;
        for (int i = 1; i < kStops; ++i) {
            const double t = static_cast<double>(i) / kStops;
            map->addColorStop(t, strongStop(style.startColor, style.endColor, t));
        }
    }
    return map;
}

QwtColorMap* newGapOnlyColorMap(const GridStyle& style) {
    return style.gapColor.isValid() ? new GapOnlyColorMap(style.gapColor) : nullptr;
}

QColor colorOf(const GridStyle& style, double low, double high, double value) {
    const std::unique_ptr<QwtLinearColorMap> map(newColorMap(style));
    return QColor::fromRgba(map->rgb(QwtInterval(low, high), value));
}

std::vector<double> contourLevelsBetween(double low, double high, int count) {
    std::vector<double> levels;
    if (count <= 0 || !(high > low)) {
        return levels;
    }
    for (int i = 1; i <= count; ++i) {
        levels.push_back(low + (high - low) * i / (count + 1));
    }
    return levels;
}

std::vector<double> contourLevelsOf(const GridMatrix& matrix, const GridStyle& style) {
    if (style.fixedRange) {
        return contourLevelsBetween(style.rangeLow, style.rangeHigh, style.numLevels);
    }
    return contourLevelsBetween(matrix.minValue, matrix.maxValue, style.numLevels);
}

}  // namespace quorvane
