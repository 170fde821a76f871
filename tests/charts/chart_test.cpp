// The chart layer's own rules: value and time labels, axis ticks, a grid's cells and colours.
#include <gtest/gtest.h>

#include <qwt_plot.h>
#include <qwt_scale_div.h>

#include <cmath>

#include "charts/chart.h"
#include "charts/chart_raster.h"
#include "charts/chart_scales.h"
#include "charts/grid_matrix.h"

namespace quorvane {
namespace {

constexpr double kHour = 1.0 / 24;

TEST(ValueFormat, GroupsThousandsAndKeepsTheLiteralPoint) {
    const std::tuple<double, const char*, const char*> cases[] = {
        {1234, "#,##0.", "1,234."}, {1234567.4, "#,##0", "1,234,567"}, {999.6, "#,##0", "1,000"},
        {-0.2, "#,##0", "0"},       {-1500, "#,##0", "-1,500"},        {12.345, "0.00", "12.35"},
        {std::nan(""), "#,##0", ""}};
    for (const auto& [value, format, text] : cases) {
        EXPECT_EQ(formatValue(value, format), text) << value;
    }
}

// Every 3 hours over a day; seconds in the labels only where the ticks are closer than a minute.
TEST(TimeAxis, TicksOnWholeHoursOrMinutesAndSecondsOnlyWhenTicksAreCloser) {
    EXPECT_EQ(formatTimeOfDay(1.0, "hh:mm"), "24:00");
    const TimeScaleEngine engine;
    const QList<double> day =
        engine.divideScale(0, 2879 * 30 / 86400.0, 8, 5).ticks(QwtScaleDiv::MajorTick);
    ASSERT_EQ(day.size(), 8);
    EXPECT_NEAR(day[7], 21 * kHour, 1e-12);
    TimeScaleDraw draw("hh:mm");
    draw.setScaleDiv(engine.divideScale(0, 1, 8, 5));
    EXPECT_EQ(draw.label(3 * kHour).text(), "03:00");
    draw.setScaleDiv(engine.divideScale(8 * kHour, 8 * kHour + 150 / 86400.0, 8, 5));
    EXPECT_EQ(draw.label(8 * kHour + 30 / 86400.0).text(), "08:00:30");
}

TEST(RowScale, LabelsWholeRowsFromTheFirstStation) {
    const RowScaleEngine engine;
    EXPECT_EQ(engine.divideScale(0.5, 60.5, 8, 5).ticks(QwtScaleDiv::MajorTick),
              (QList<double>{1, 11, 21, 31, 41, 51}));
    const RowScaleDraw draw({"101", "205"});
    EXPECT_EQ(draw.label(2).text() + "|" + draw.label(3).text() + "|" + draw.label(1.5).text(),
              "2 (205)|3|");
}

// A step in time on every row and a step between rows: the lines they make must run to the
// grid's edges, the top row and the last interval included.
TEST(GridSpectrogram, ContourLinesReachEveryEdgeOfTheGrid) {
    std::vector<GridPoint> points;
    for (int c = 0; c < 10; ++c) {
        for (int z = 1; z <= 3; ++z) {
            points.push_back({static_cast<double>(c), (c < 5 ? 0.0 : 10.0) + (z == 3 ? 5 : 0),
                              static_cast<double>(z)});
        }
    }
    auto matrix = std::make_shared<const GridMatrix>(GridMatrix::fromPoints(points));
    GridSpectrogram spectrogram("grid");
    spectrogram.setData(new GridRasterData(matrix, Sampling::Bilinear,
                                           GridRasterData::valueRange(*matrix, GridStyle{})));
    spectrogram.setMatrix(matrix);
    spectrogram.setContourLevels({5.0, 12.5});
    const QRectF area(matrix->xLow(), matrix->zLow(), matrix->xHigh() - matrix->xLow(),
                      matrix->zHigh() - matrix->zLow());
    QRectF reached;
    for (const QPolygonF& segments : spectrogram.linesOver(area, QSize(40, 12))) {
        reached |= segments.boundingRect();
    }
    for (const auto& [got, edge] : {std::pair{reached.left(), area.left()},
                                    {reached.right(), area.right()},
                                    {reached.top(), area.top()},
                                    {reached.bottom(), area.bottom()}}) {
        EXPECT_NEAR(got, edge, 1e-5);
    }
}

// From the start to the end colour through strong hues, or a straight blend; contour levels
// evenly between the lowest and the highest value, none on a flat road.
TEST(ColorMap, RunsFromStartToEndThroughStrongHuesWithLevelsBetween) {
    GridStyle style;
    style.startColor = QColor(255, 0, 0);
    style.endColor = QColor(0, 255, 0);
    style.paletteFlag = true;
    const QColor middle = colorOf(style, 0, 10, 5);
    EXPECT_NEAR(middle.hsvHue(), 60, 8);  // yellow between red and green
    EXPECT_GT(middle.hsvSaturation(), 200);
    style.paletteFlag = false;
    EXPECT_EQ(colorOf(style, 0, 10, 5), QColor(128, 128, 0));
    EXPECT_EQ(contourLevelsBetween(1, 14, 12),
              (std::vector<double>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
    EXPECT_TRUE(contourLevelsBetween(5, 5, 12).empty());
}

// Half a cell beyond the first and last interval and row, so that no cell is cut.
TEST(Chart, GridAxesSpanWholeCells) {
    Chart chart;
    const int grid = chart.addSeries(SeriesKind::ColorGrid, SeriesStyle{});
    for (int t = 0; t < 4; ++t) {
        for (int z = 1; z <= 3; ++z) {
            chart.addGridPoint(grid, t * 300 / 86400.0, 10.0 * t + z, z);
        }
    }
    chart.replot();
    const QwtScaleDiv& time = chart.plot()->axisScaleDiv(QwtPlot::xBottom);
    const QwtScaleDiv& rows = chart.plot()->axisScaleDiv(QwtPlot::yLeft);
    EXPECT_EQ(
        std::pair(std::round(time.lowerBound() * 86400), std::round(time.upperBound() * 86400)),
        std::pair(-150.0, 1050.0));  // seconds
    EXPECT_EQ(std::pair(rows.lowerBound(), rows.upperBound()), std::pair(0.5, 3.5));
}

}  // namespace
}  // namespace quorvane
