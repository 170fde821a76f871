#pragma once

#include <QColor>
#include <QPolygonF>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace quorvane {

// The plain settings of a chart, its axes and its series. The chart widget applies them; the
// graph windows start from their stored values and the chart editor changes them. Charts are
// flat (no 3-D view), draw no value marks at points and no outlines around grid cells.

// Colours as the graph code writes them: 0x00BBGGRR (255 is red, 65280 green).
inline QColor oleColor(uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

enum class ChartAxis { Left, Right, Bottom };
inline constexpr int kChartAxisCount = 3;

enum class SeriesKind { Line, Point, ColorGrid, Contour };

enum class Marker { None, Square, Circle, Triangle, Diamond, Cross };

// Where AddPoint puts a point: at the end, or at its place by ascending x.
enum class ValueOrder { None, Ascending };

struct AxisSettings {
    QString title;
    bool visible = true;
    bool automatic = true;  // otherwise min..max
    double min = 0.0;
    double max = 1.0;
    // Values are fractions of a day, labelled with `timeFormat` ("hh:mm" or "hh:mm:ss").
    bool timeOfDay = false;
    QString timeFormat = QStringLiteral("hh:mm");
};

struct ChartLook {
    bool legendVisible = true;
    bool gradientVisible = false;
    QColor gradientStart = Qt::white;  // top
    QColor gradientEnd = Qt::white;    // bottom
    bool border = true;                // single-line frame around the chart
    bool panHorizontal = false;        // the mouse may pan the time axis
};

struct SeriesStyle {
    QString title;
    QColor color = Qt::red;
    ChartAxis yAxis = ChartAxis::Left;
    bool visible = true;
    bool inLegend = true;
    int lineWidth = 1;  // 0: no connecting line
    Marker marker = Marker::None;
    int markerHalfWidth = 3;  // a marker is 2 * half + 1 pixels wide
    int markerHalfHeight = 3;
    ValueOrder xOrder = ValueOrder::None;
};

// The colour-grid / contour view of a series.
struct GridStyle {
    QColor startColor = Qt::red;            // lowest value
    QColor endColor = QColor(0, 255, 128);  // highest value
    bool paletteFlag = false;  // a strong palette: through the hues between the two colours
    // A diverging scale passes through this colour at the middle of the range (linearly, without
    // the strong palette): red for slower, white for equal, blue for faster. Invalid: none.
    QColor midColor;
    int numLevels = 12;  // contour lines
    QString valueFormat = QStringLiteral("#,##0");
    int contourWidth = 2;  // pen width of the contour lines
    // The colours span the values' own range, or rangeLow..rangeHigh when fixed (values beyond
    // take the end colours), so that graphs of different data compare by colour.
    bool fixedRange = false;
    double rangeLow = 0.0;
    double rangeHigh = 1.0;
    // Cells without a value (NaN) are drawn in this colour; left clear when it is invalid.
    QColor gapColor;
    // The read-out's name of the value and its unit ("Speed", "km/h").
    QString valueName = QStringLiteral("Value");
    QString valueUnit;
};

struct ChartPoint {
    double x = 0.0;
    double y = 0.0;
    friend bool operator==(const ChartPoint&, const ChartPoint&) = default;
};

// y is the value (it sets the colour), z the row.
struct GridPoint {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    friend bool operator==(const GridPoint&, const GridPoint&) = default;
};

// A shape drawn over a grid in its own coordinates (x along the bottom axis, the row on the
// left), named in the read-out where the mouse is inside it: a solid box, or a dashed outline.
struct ChartOverlay {
    QPolygonF outline;
    QString label;
    bool dashed = false;
    friend bool operator==(const ChartOverlay&, const ChartOverlay&) = default;
};

// "#,##0" and "#,##0." style number formats: digits grouped by thousands, an optional literal
// trailing point, and as many decimals as zeros follow a point ("#,##0.00").
QString formatValue(double value, const QString& format);

// "hh:mm" or "hh:mm:ss" for a fraction of a day; 1.0 reads "24:00".
QString formatTimeOfDay(double dayFraction, const QString& format);

}  // namespace quorvane
