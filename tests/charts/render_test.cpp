// The graphs as drawn: each kind's data in its colours inside the axes, its titles, and the
// speed's gaps in grey.
#include <gtest/gtest.h>

#include <qwt_plot.h>

#include <QImage>
#include <algorithm>
#include <cmath>

#include "charts/chart.h"
#include "charts/chart_render.h"
#include "charts/road_graph.h"
#include "charts/road_graph_windows.h"
#include "charts/station_graphs.h"
#include "graph_fixtures.h"
#include "support/test_files.h"

namespace quorvane::test {
namespace {

// A queue that grows at the last station from 07:00 and spills back to the first by 08:00.
IntervalValue waveValue(int station, int k) {
    const double minutesOfDay = k * 5.0;
    const double front = 420 + (5 - station) * 12.0;
    const bool congested = minutesOfDay >= front && minutesOfDay <= front + 90;
    return {congested ? 35.0f : 8.0f, static_cast<int16_t>(congested ? 60 : 140)};
}

class GraphRendering : public GraphTest {
  protected:
    GraphWindow* open(const std::string& kind) {
        if (kind == "line" || kind == "scatter") {
            return (kind == "line" ? showLineGraph : showScatterGraph)(data, selection, dialogs);
        }
        const RoadMeasure measure = kind.starts_with("vol")   ? RoadMeasure::Volume
                                    : kind.starts_with("occ") ? RoadMeasure::Occupancy
                                                              : RoadMeasure::Speed;
        return plotRoadGraph(
                   kind.ends_with("grid") ? RoadGraphKind::ColorGrid : RoadGraphKind::Contour,
                   measure, data, selection, dialogs, log, {})
            .window;
    }
};

// Whether the area inside the axes (not the colour bar) holds a pixel near `wanted`.
bool canvasShows(const GraphWindow& window, const QImage& image, QColor wanted) {
    const QImage canvas = image.copy(window.chart().plot()->canvas()->geometry());
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const QColor c = canvas.pixelColor(x, y);
            if (std::max({std::abs(c.red() - wanted.red()), std::abs(c.green() - wanted.green()),
                          std::abs(c.blue() - wanted.blue())}) <= 40) {
                return true;
            }
        }
    }
    return false;
}

// The series' own colours, or both ends of the road graphs' palette, as free flow and the queue
// take the lowest and highest values (contour lines of levels near the ends). A road of one
// station still spans a row. The titles are looked for in the SVG drawing.
TEST_F(GraphRendering, EveryKindDrawsItsDataAndAxisTitles) {
    data.day = makeDay(6, "I-5 N,101,102,103,104,105,106,\r\nSolo,104,\r\n");
    useTable(makeTable(5, 6, waveValue));
    const QColor red(255, 0, 0), green(0, 255, 0), low(230, 40, 0), high(20, 200, 0);
    const std::string road = "Traffic direction -----&gt;";
    const std::tuple<std::string, int, std::vector<QColor>, std::vector<std::string>> cases[] = {
        {"line", 0, {red, QColor(0, 128, 0)}, {"Time", "Volume", "Occupancy"}},
        {"scatter", 0, {red}, {"Occupancy", "Volume", "Station: 101"}},
        {"volgrid", 0, {red, green}, {road, "Road: I-5 N", "1 (101)"}},
        {"occcontour", 0, {low, high}, {road, "Road: I-5 N", "6 (106)"}},
        {"volgrid", 1, {red, green}, {"Road: Solo", "1 (104)"}},
        {"volcontour", 1, {low, high}, {"Road: Solo", "1 (104)"}}};
    const TempDir dir;
    for (const auto& [kind, roadIndex, colours, titles] : cases) {
        SCOPED_TRACE(kind + " of road " + std::to_string(roadIndex));
        selection.road = roadIndex;
        GraphWindow* window = open(kind);
        ASSERT_NE(window, nullptr);
        renderGraphWindow(*window, dir / "graph.svg", QSize(800, 500));
        const std::string drawing = readFile(dir / "graph.svg");
        for (const std::string& title : titles) {
            EXPECT_NE(drawing.find(title), std::string::npos) << title;
        }
        const QImage image = renderChartImage(window->chart(), QSize(800, 500));
        for (const QColor& colour : colours) {
            EXPECT_TRUE(canvasShows(*window, image, colour)) << colour.name().toStdString();
        }
    }
}

// The canvas pixel at the centre of a cell.
QColor cellColour(GraphWindow& window, const QImage& image, int k, double row) {
    const QwtPlot& plot = *window.chart().plot();
    const QPoint canvas(static_cast<int>(plot.transform(QwtPlot::xBottom, k * 300 / 86400.0)),
                        static_cast<int>(plot.transform(QwtPlot::yLeft, row)));
    return image.pixelColor(plot.canvas()->geometry().topLeft() + canvas);
}

// Road R1 of useSpeedDay from 00:30 to 01:25: 101 (row 2) has no estimate before 01:00, 102
// (row 3) stands, 103 (row 1) flows freely.
TEST_F(GraphRendering, SpeedGapsAreGreyWhereTheGridIsRedForStandingTraffic) {
    useSpeedDay();
    selection.start = 6;
    selection.end = 17;
    for (const std::string kind : {"speedgrid", "speedcontour"}) {
        GraphWindow* window = open(kind);
        ASSERT_NE(window, nullptr);
        const QImage image = renderChartImage(window->chart(), window->size());
        EXPECT_EQ(cellColour(*window, image, 8, 2), kGapColor) << kind;
        if (kind == "speedgrid") {
            EXPECT_EQ(cellColour(*window, image, 8, 3), QColor(255, 0, 0));
            EXPECT_EQ(cellColour(*window, image, 14, 2), cellColour(*window, image, 14, 1));
        } else {
            EXPECT_EQ(cellColour(*window, image, 14, 1), QColor(Qt::white));  // no lines there
        }
    }
}

}  // namespace
}  // namespace quorvane::test
