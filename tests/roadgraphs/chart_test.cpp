#include <gtest/gtest.h>

#include <qwt_plot.h>
#include <qwt_scale_div.h>

#include <cmath>

#include "roadgraphs/chart.h"
#include "roadgraphs/chart_raster.h"
#include "roadgraphs/chart_scales.h"
#include "roadgraphs/grid_matrix.h"

namespace quorvane {
namespace {

double hours(double h) {
    return h / 24.0;
}

TEST(ValueFormat, GroupsThousandsAndKeepsTheLiteralPoint) {
    EXPECT_EQ(formatValue(1234, "#,##0."), "1,234.");
    EXPECT_EQ(formatValue(1234567.4, "#,##0"), "1,234,567");
    EXPECT_EQ(formatValue(999.6, "#,##0"), "1,000");
    EXPECT_EQ(formatValue(0, "#,##0"), "0");
    EXPECT_EQ(formatValue(-0.2, "#,##0"), "0");
    EXPECT_EQ(formatValue(-1500, "#,##0"), "-1,500");
    EXPECT_EQ(formatValue(12.345, "0.00"), "12.35");
    EXPECT_EQ(formatValue(std::nan(""), "#,##0"), "");
}

TEST(TimeOfDay, FormatsFractionsOfADay) {
    EXPECT_EQ(formatTimeOfDay(0, "hh:mm"), "00:00");
    EXPECT_EQ(formatTimeOfDay(hours(8) + hours(20.0 / 60), "hh:mm"), "08:20");
    EXPECT_EQ(formatTimeOfDay(2879 * 30 / 86400.0, "hh:mm:ss"), "23:59:30");
    EXPECT_EQ(formatTimeOfDay(1.0, "hh:mm"), "24:00");
}

TEST(TimeScale, TicksOnWholeHoursForADay) {
    const TimeScaleEngine engine;
    const QwtScaleDiv div = engine.divideScale(0, 2879 * 30 / 86400.0, 8, 5);
    const QList<double> majors = div.ticks(QwtScaleDiv::MajorTick);
    ASSERT_EQ(majors.size(), 8);  // every 3 hours
    for (int i = 0; i < majors.size(); ++i) {
        EXPECT_NEAR(majors[i], hours(3 * i), 1e-12);
    }
    EXPECT_FALSE(div.ticks(QwtScaleDiv::MinorTick).isEmpty());
}

TEST(TimeScale, TicksOnMinutesForAShortRange) {
    const TimeScaleEngine engine;
    const QwtScaleDiv div = engine.divideScale(hours(50.0 / 60), hours(1), 8, 5);
    const QList<double> majors = div.ticks(QwtScaleDiv::MajorTick);
    ASSERT_FALSE(majors.isEmpty());
    for (const double tick : majors) {
        const double seconds = tick * 86400;
        EXPECT_NEAR(std::fmod(seconds + 1e-6, 120.0), 0.0, 1e-3) << seconds;
    }
    const TimeScaleDraw draw("hh:mm");
    EXPECT_EQ(draw.label(majors.front()).text(), "00:50");
}

TEST(TimeScale, SecondsAppearOnlyWhenTicksAreLessThanAMinuteApart) {
    const TimeScaleEngine engine;
    TimeScaleDraw draw("hh:mm");
    draw.setScaleDiv(engine.divideScale(hours(8), hours(8) + 150 / 86400.0, 8, 5));
    EXPECT_EQ(draw.label(hours(8) + 30 / 86400.0).text(), "08:00:30");
    draw.setScaleDiv(engine.divideScale(0, hours(24), 8, 5));
    EXPECT_EQ(draw.label(hours(3)).text(), "03:00");
}

TEST(RowScale, LabelsWholeRowsFromTheFirstStation) {
    const RowScaleEngine engine;
    const QwtScaleDiv few = engine.divideScale(0.5, 3.5, 8, 5);
    EXPECT_EQ(few.ticks(QwtScaleDiv::MajorTick), (QList<double>{1, 2, 3}));
    const QwtScaleDiv many = engine.divideScale(0.5, 60.5, 8, 5);
    EXPECT_EQ(many.ticks(QwtScaleDiv::MajorTick), (QList<double>{1, 11, 21, 31, 41, 51}));
    const RowScaleDraw draw({"101", "205"});
    EXPECT_EQ(draw.label(2).text(), "2 (205)");
    EXPECT_EQ(draw.label(3).text(), "3");
    EXPECT_EQ(draw.label(1.5).text(), "");
}

// Three intervals x two rows, the middle column wider than the others (an irregular grid).
GridMatrix sampleMatrix() {
    std::vector<GridPoint> points;
    const double xs[] = {0.0, 1.0, 3.0};
    for (int c = 0; c < 3; ++c) {
        for (int z = 1; z <= 2; ++z) {
            points.push_back({xs[c], 10.0 * c + z, static_cast<double>(z)});
        }
    }
    return GridMatrix::fromPoints(points);
}

TEST(GridMatrix, CellsCentreOnTheirValuesAndReachHalfwayToTheNeighbours) {
    const GridMatrix m = sampleMatrix();
    EXPECT_EQ(m.columns(), 3);
    EXPECT_EQ(m.rows(), 2);
    EXPECT_EQ(m.minValue, 1);
    EXPECT_EQ(m.maxValue, 22);
    EXPECT_DOUBLE_EQ(m.xLow(), -0.5);
    EXPECT_DOUBLE_EQ(m.xHigh(), 4.0);
    EXPECT_DOUBLE_EQ(m.zLow(), 0.5);
    EXPECT_DOUBLE_EQ(m.zHigh(), 2.5);
    EXPECT_EQ(m.nearest(-0.4, 1), 1);
    EXPECT_EQ(m.nearest(1.9, 1.4), 11);
    EXPECT_EQ(m.nearest(2.1, 1.6), 22);
    EXPECT_EQ(m.nearest(3.9, 2.4), 22);
    EXPECT_TRUE(std::isnan(m.nearest(4.1, 1)));
    EXPECT_TRUE(std::isnan(m.nearest(1, 2.6)));
    EXPECT_FALSE(m.uniformColumns());
}

TEST(GridMatrix, BilinearBetweenCentresConstantBeyond) {
    const GridMatrix m = sampleMatrix();
    EXPECT_DOUBLE_EQ(m.bilinear(0, 1), 1);
    EXPECT_DOUBLE_EQ(m.bilinear(0.5, 1.5), (1 + 2 + 11 + 12) / 4.0);
    EXPECT_DOUBLE_EQ(m.bilinear(2, 1), 16);
    EXPECT_DOUBLE_EQ(m.bilinear(-0.5, 0.5), 1);
    EXPECT_TRUE(std::isnan(m.bilinear(5, 1)));
}

TEST(GridMatrix, MissingCellsAreEmptyAndLaterPointsWin) {
    const std::vector<GridPoint> points{{0, 5, 1}, {1, 6, 1}, {1, 7, 2}, {1, 9, 2}};
    const GridMatrix m = GridMatrix::fromPoints(points);
    EXPECT_TRUE(std::isnan(m.at(1, 0)));
    EXPECT_EQ(m.at(1, 1), 9);
    EXPECT_EQ(m.minValue, 5);
    EXPECT_EQ(m.maxValue, 9);
    // A single row still spans one unit around it.
    const GridMatrix one = GridMatrix::fromPoints(std::vector<GridPoint>{{0, 1, 1}, {1, 2, 1}});
    EXPECT_DOUBLE_EQ(one.zLow(), 0.5);
    EXPECT_DOUBLE_EQ(one.zHigh(), 1.5);
    EXPECT_EQ(one.bilinear(0.5, 1.3), 1.5);
}

TEST(ColorMap, RunsFromStartToEndThroughStrongHues) {
    GridStyle style;
    style.startColor = QColor(255, 0, 0);
    style.endColor = QColor(0, 255, 0);
    style.paletteFlag = true;
    EXPECT_EQ(colorOf(style, 0, 10, 0), QColor(255, 0, 0));
    EXPECT_EQ(colorOf(style, 0, 10, 10), QColor(0, 255, 0));
    const QColor middle = colorOf(style, 0, 10, 5);
    EXPECT_NEAR(middle.hsvHue(), 60, 8);  // yellow between red and green
    EXPECT_GT(middle.hsvSaturation(), 200);
    style.paletteFlag = false;
    const QColor plain = colorOf(style, 0, 10, 5);
    EXPECT_NEAR(plain.red(), 127, 2);
    EXPECT_NEAR(plain.green(), 127, 2);
}

TEST(ContourLevels, EvenlyBetweenLowestAndHighest) {
    const std::vector<double> levels = contourLevelsBetween(0, 13, 12);
    ASSERT_EQ(levels.size(), 12u);
    EXPECT_DOUBLE_EQ(levels.front(), 1);
    EXPECT_DOUBLE_EQ(levels.back(), 12);
    EXPECT_TRUE(contourLevelsBetween(5, 5, 12).empty());
}

TEST(Chart, AddPointKeepsAscendingSeriesSortedAndOthersInOrder) {
    Chart chart;
    SeriesStyle sorted;
    sorted.xOrder = ValueOrder::Ascending;
    const int a = chart.addSeries(SeriesKind::Point, sorted);
    const int b = chart.addSeries(SeriesKind::Line, SeriesStyle{});
    EXPECT_EQ(chart.addPoint(a, 5, 1), 0);
    EXPECT_EQ(chart.addPoint(a, 2, 2), 0);
    EXPECT_EQ(chart.addPoint(a, 5, 3), 2);
    EXPECT_EQ(chart.addPoint(a, 3, 4), 1);
    EXPECT_EQ(chart.points(a), (std::vector<ChartPoint>{{2, 2}, {3, 4}, {5, 1}, {5, 3}}));
    chart.addPoint(b, 5, 1);
    chart.addPoint(b, 2, 2);
    EXPECT_EQ(chart.points(b), (std::vector<ChartPoint>{{5, 1}, {2, 2}}));
}

TEST(Chart, GridAxesSpanTheCellsAndTheColourBarTheValues) {
    Chart chart;
    const int grid = chart.addSeries(SeriesKind::Contour, SeriesStyle{});
    for (int t = 0; t < 4; ++t) {
        for (int z = 1; z <= 3; ++z) {
            chart.addGridPoint(grid, t * 300 / 86400.0, 10.0 * t + z, z);
        }
    }
    EXPECT_TRUE(chart.contourLevels(grid).empty());  // nothing is built before it is drawn
    chart.replot();
    const QwtPlot& plot = *chart.plot();
    EXPECT_NEAR(plot.axisScaleDiv(QwtPlot::xBottom).lowerBound(), -150 / 86400.0, 1e-12);
    EXPECT_NEAR(plot.axisScaleDiv(QwtPlot::xBottom).upperBound(), 1050 / 86400.0, 1e-12);
    EXPECT_DOUBLE_EQ(plot.axisScaleDiv(QwtPlot::yLeft).lowerBound(), 0.5);
    EXPECT_DOUBLE_EQ(plot.axisScaleDiv(QwtPlot::yLeft).upperBound(), 3.5);
    EXPECT_DOUBLE_EQ(plot.axisScaleDiv(QwtPlot::yRight).lowerBound(), 1);
    EXPECT_DOUBLE_EQ(plot.axisScaleDiv(QwtPlot::yRight).upperBound(), 33);
    const std::vector<double> levels = chart.contourLevels(grid);
    ASSERT_EQ(levels.size(), 12u);
    EXPECT_GT(levels.front(), 1);
    EXPECT_LT(levels.back(), 33);
}

}  // namespace
}  // namespace quorvane
