#include <gtest/gtest.h>

#include <qwt_plot.h>
#include <QImage>
#include <cmath>

#include "graph_fixtures.h"
#include "charts/chart.h"
#include "charts/chart_render.h"
#include "charts/road_graph.h"
#include "support/test_files.h"
#include "charts/station_graphs.h"

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
    GraphRendering() {
        data = {makeDay(6, "I-5 N,101,102,103,104,105,106,\r\nSolo,104,\r\n"),
                makeTable(5, 6, waveValue)};
        selection = wholeDaySelection(*data.table);
    }
    TempDir dir;

    GraphWindow* open(const std::string& kind) {
        if (kind == "line") {
            return showLineGraph(data, selection, dialogs);
        }
        if (kind == "scatter") {
            return showScatterGraph(data, selection, dialogs);
        }
        const RoadGraphKind graph =
            kind.ends_with("grid") ? RoadGraphKind::ColorGrid : RoadGraphKind::Contour;
        const RoadMeasure measure =
            kind.starts_with("vol") ? RoadMeasure::Volume : RoadMeasure::Occupancy;
        return plotRoadGraph(graph, measure, data, selection, dialogs, log, {}).window;
    }
};

// Whether the area inside the axes (not the colour bar) holds a pixel near `wanted`.
bool canvasShows(const GraphWindow& window, const QImage& image, QColor wanted) {
    const QImage canvas = image.copy(window.chart().plot()->canvas()->geometry());
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const QColor c = canvas.pixelColor(x, y);
            if (std::abs(c.red() - wanted.red()) <= 40 &&
                std::abs(c.green() - wanted.green()) <= 40 &&
                std::abs(c.blue() - wanted.blue()) <= 40) {
                return true;
            }
        }
    }
    return false;
}

// Each kind draws its data in its colours: the series' own, or both ends of the road graphs'
// palette, as free flow and the queue take the lowest and highest values (contour lines of
// levels near the ends). The titles are looked for in the SVG drawing.
TEST_F(GraphRendering, EveryKindDrawsItsDataAndAxisTitles) {
    const QColor red(255, 0, 0), green(0, 255, 0), low(230, 40, 0), high(20, 200, 0);
    const std::string road = "Traffic direction -----&gt;";
    struct Case {
        std::string kind;
        int road;
        std::vector<QColor> colours;
        std::vector<std::string> titles;
    };
    const Case cases[] = {{"line", 0, {red, QColor(0, 128, 0)}, {"Time", "Volume", "Occupancy"}},
                          {"scatter", 0, {red}, {"Occupancy", "Volume", "Station: 101"}},
                          {"volgrid", 0, {red, green}, {road, "Road: I-5 N", "1 (101)"}},
                          {"occgrid", 0, {red, green}, {road, "6 (106)"}},
                          {"volcontour", 0, {low, high}, {road, "Road: I-5 N"}},
                          {"occcontour", 0, {low, high}, {road, "6 (106)"}},
                          // A road of one station still spans a row.
                          {"volgrid", 1, {red, green}, {"Road: Solo", "1 (104)"}},
                          {"volcontour", 1, {low, high}, {"Road: Solo", "1 (104)"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind + " of road " + std::to_string(c.road));
        selection.road = c.road;
        GraphWindow* window = open(c.kind);
        ASSERT_NE(window, nullptr);
        const auto svg = dir / (c.kind + ".svg");
        renderGraphWindow(*window, svg, QSize(800, 500));
        const std::string drawing = readFile(svg);
        for (const std::string& title : c.titles) {
            EXPECT_NE(drawing.find(title), std::string::npos) << title;
        }
        const QImage image = renderChartImage(window->chart(), QSize(800, 500));
        for (const QColor& colour : c.colours) {
            EXPECT_TRUE(canvasShows(*window, image, colour)) << colour.name().toStdString();
        }
    }
}

}  // namespace
}  // namespace quorvane::test
