// The speed's road graphs: the estimate drawn for the road's stations on a fixed scale in either
// unit, gaps in grey, and the read-out naming speed and unit. Their buttons, captions and
// refusals are the graph buttons' tests.
#include <gtest/gtest.h>

#include <qwt_plot.h>
#include <qwt_scale_div.h>

#include <QImage>
#include <cmath>

#include "charts/chart.h"
#include "charts/chart_render.h"
#include "charts/road_graph.h"
#include "graph_fixtures.h"
#include "support/test_files.h"

namespace quorvane::test {
namespace {

// In every slot, one detector each: 101 silent (0 vehicles at 0 %) until 01:00 and then at 10
// vehicles and 10 %, 102 standing (0 vehicles at 40 %), 103 and 104 at 10 vehicles and 10 %.
std::shared_ptr<const Day> speedDay() {
    auto day = std::make_shared<Day>(*makeDay(4, "R1,103,101,102,\r\nR2,101,1234,103,\r\n"));
    day->tables = StationTables::zeroed(4);
    for (int slot = 0; slot < kSlotsPerDay; ++slot) {
        const bool silent = slot < 120;
        const std::pair<int16_t, float> values[] = {
            {silent ? 0 : 10, silent ? 0.0f : 10.0f}, {0, 40.0f}, {10, 10.0f}, {10, 10.0f}};
        for (int s = 0; s < 4; ++s) {
            day->tables.volume[StationTables::cell(slot, s)] = values[s].first;
            day->tables.occupancy[StationTables::cell(slot, s)] = values[s].second;
        }
    }
    return day;
}

class SpeedGraphs : public GraphTest {
  protected:
    SpeedGraphs() {
        data.day = speedDay();
        selection.start = 10;  // 00:50 .. 01:05 at "5 min"
        selection.end = 13;
    }
    GraphWindow* plot(RoadGraphKind kind) {
        return plotRoadGraph(kind, RoadMeasure::Speed, data, selection, dialogs, log, {}).window;
    }
};

TEST_F(SpeedGraphs, DrawTheRoadsEstimatesOnTheUnitsFixedScale) {
    const struct {
        SpeedUnit unit;
        float free;  // 103 at 1200 vehicles a lane and hour and 10 %
        double top;
        const char* bar;
        std::vector<double> levels;
    } units[] = {
        {SpeedUnit::Kmh,
         80.4f,
         130,
         "Speed (km/h)",
         {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120}},
        {SpeedUnit::Mph, 50.0f, 80, "Speed (mph)", {10, 20, 30, 40, 50, 60, 70}},
    };
    for (const auto& unit : units) {
        selection.speed = SpeedSettings::defaults(unit.unit);
        for (const RoadGraphKind kind : {RoadGraphKind::ColorGrid, RoadGraphKind::Contour}) {
            SCOPED_TRACE(std::string(unit.bar) +
                         (kind == RoadGraphKind::ColorGrid ? " grid" : " contour"));
            GraphWindow* window = plot(kind);
            ASSERT_NE(window, nullptr);
            EXPECT_EQ(window->objectName(),
                      kind == RoadGraphKind::ColorGrid ? "frmSpeedColorGrid" : "frmSpeedContour");
            Chart& chart = window->chart();
            // Interval after interval, the road's 103, 101, 102: 101 has no estimate before
            // 01:00 (its occupancy is 0), 102 stands.
            const std::vector<GridPoint>& points = chart.gridPoints(0);
            ASSERT_EQ(points.size(), 12u);
            EXPECT_EQ(points[0], (GridPoint{10 * 300 / 86400.0, unit.free, 1}));
            EXPECT_TRUE(std::isnan(points[4].y));
            EXPECT_EQ(points[8], (GridPoint{12 * 300 / 86400.0, 0.0, 3}));
            EXPECT_EQ(points[10], (GridPoint{13 * 300 / 86400.0, unit.free, 2}));
            const GridStyle& view = chart.gridView(0);
            EXPECT_TRUE(view.fixedRange);
            EXPECT_EQ(std::pair(view.rangeLow, view.rangeHigh), std::pair(0.0, unit.top));
            EXPECT_EQ(view.gapColor, kGapColor);
            EXPECT_EQ(chart.axis(ChartAxis::Right).title, unit.bar);
            chart.replot();
            const QwtScaleDiv bar = chart.plot()->axisScaleDiv(QwtPlot::yRight);
            EXPECT_EQ(std::pair(bar.lowerBound(), bar.upperBound()), std::pair(0.0, unit.top));
            if (kind == RoadGraphKind::Contour) {
                EXPECT_EQ(chart.contourLevels(0), unit.levels);
            }
        }
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SpeedGraphs, ReadOutShowsTheSpeedWithItsUnitOrNoneInAGap) {
    GraphWindow* window = plot(RoadGraphKind::ColorGrid);
    ASSERT_NE(window, nullptr);
    Chart& chart = window->chart();
    chart.replot();
    const auto at = [&](int k, double row) {
        const QwtPlot& p = *chart.plot();
        return chart.readOut(
            QPoint(static_cast<int>(p.transform(QwtPlot::xBottom, k * 300 / 86400.0)),
                   static_cast<int>(p.transform(QwtPlot::yLeft, row))));
    };
    EXPECT_EQ(at(12, 1), "01:00:00  Station 1 (103)  Speed 80 km/h");
    EXPECT_EQ(at(11, 2), "00:55:00  Station 2 (101)  Speed none");
    EXPECT_EQ(at(13, 3), "01:05:00  Station 3 (102)  Speed 0 km/h");
}

// The canvas pixel at the centre of a cell.
QColor cellColour(GraphWindow& window, const QImage& image, int k, double row) {
    const QwtPlot& plot = *window.chart().plot();
    const QPoint canvas(static_cast<int>(plot.transform(QwtPlot::xBottom, k * 300 / 86400.0)),
                        static_cast<int>(plot.transform(QwtPlot::yLeft, row)));
    return image.pixelColor(plot.canvas()->geometry().topLeft() + canvas);
}

TEST_F(SpeedGraphs, GapsAreGreyWhereTheGridIsRedForStandingTraffic) {
    selection.start = 6;
    selection.end = 17;
    for (const RoadGraphKind kind : {RoadGraphKind::ColorGrid, RoadGraphKind::Contour}) {
        GraphWindow* window = plot(kind);
        ASSERT_NE(window, nullptr);
        const QImage image = renderChartImage(window->chart(), window->size());
        EXPECT_EQ(cellColour(*window, image, 8, 2), kGapColor);
        if (kind == RoadGraphKind::ColorGrid) {
            EXPECT_EQ(cellColour(*window, image, 8, 3), QColor(255, 0, 0));
            EXPECT_EQ(cellColour(*window, image, 14, 2), cellColour(*window, image, 14, 1));
        } else {
            EXPECT_EQ(cellColour(*window, image, 14, 1), QColor(Qt::white));  // no lines there
        }
    }
}

}  // namespace
}  // namespace quorvane::test
