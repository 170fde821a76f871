#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <set>

#include "core/error.h"
#include "graph_fixtures.h"
#include "roadgraphs/chart.h"
#include "roadgraphs/chart_render.h"
#include "roadgraphs/road_graph.h"
#include "support/test_files.h"
#include "views/station_graphs.h"

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
    GraphRendering()
        : GraphTest(makeDay(6, "I-5 N,101,102,103,104,105,106,\r\nSolo,104,\r\n"),
                    makeTable(5, 6, waveValue)) {}
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

// Colours that cover a noticeable share of the picture (anti-aliasing aside).
std::set<QRgb> mainColours(const QImage& image) {
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2) {
            ++counts[image.pixel(x, y) & 0xF0F0F0];
        }
    }
    std::set<QRgb> colours;
    for (const auto& [colour, count] : counts) {
        if (count > 20) {
            colours.insert(colour);
        }
    }
    return colours;
}

bool hasPixelNear(const QImage& image, QColor wanted, int tolerance) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - wanted.red()) <= tolerance &&
                std::abs(c.green() - wanted.green()) <= tolerance &&
                std::abs(c.blue() - wanted.blue()) <= tolerance) {
                return true;
            }
        }
    }
    return false;
}

TEST_F(GraphRendering, EveryKindDrawsItsDataAndAxisTitles) {
    struct Case {
        std::string kind;
        std::vector<std::string> titles;
    };
    for (const Case& c :
         {Case{"line", {"Time", "Volume", "Occupancy", "Station: 101", "Vol", "Occ"}},
          Case{"scatter", {"Occupancy", "Volume", "Station: 101"}},
          Case{"volgrid", {"Traffic direction -----&gt;", "Road: I-5 N", "1 (101)"}},
          Case{"occgrid", {"Traffic direction -----&gt;", "6 (106)"}},
          Case{"volcontour", {"Traffic direction -----&gt;", "Road: I-5 N"}}}) {
        SCOPED_TRACE(c.kind);
        GraphWindow* window = open(c.kind);
        ASSERT_NE(window, nullptr);
        const auto png = dir / (c.kind + ".png");
        renderGraphWindow(*window, png, QSize(800, 500));
        const QImage image(QString::fromStdString(png.string()));
        ASSERT_EQ(image.size(), QSize(800, 500));
        EXPECT_GT(mainColours(image).size(), 3u);

        const auto svg = dir / (c.kind + ".svg");
        renderGraphWindow(*window, svg, QSize(800, 500));
        const std::string drawing = readFile(svg);
        for (const std::string& title : c.titles) {
            EXPECT_NE(drawing.find(title), std::string::npos) << title;
        }
    }
}

// Free flow takes the lowest occupancy, the queue the highest: the colour grid shows both ends
// of the palette, the contour lines of low (near red) and high (near green) levels.
TEST_F(GraphRendering, RoadGraphsShowBothEndsOfThePalette) {
    struct Case {
        std::string kind;
        QColor low;
        QColor high;
        int tolerance;
    };
    for (const Case& c : {Case{"occgrid", QColor(255, 0, 0), QColor(0, 255, 0), 10},
                          Case{"occcontour", QColor(230, 40, 0), QColor(20, 200, 0), 40}}) {
        GraphWindow* window = open(c.kind);
        ASSERT_NE(window, nullptr);
        const QImage image = renderChartImage(window->chart(), QSize(700, 400));
        EXPECT_TRUE(hasPixelNear(image, c.low, c.tolerance)) << c.kind;
        EXPECT_TRUE(hasPixelNear(image, c.high, c.tolerance)) << c.kind;
    }
}

TEST_F(GraphRendering, RoadOfOneStationStillDraws) {
    selection.road = 1;
    for (const std::string kind : {"volgrid", "volcontour"}) {
        GraphWindow* window = open(kind);
        ASSERT_NE(window, nullptr);
        const QImage image = renderChartImage(window->chart(), QSize(600, 300));
        EXPECT_GT(mainColours(image).size(), 3u) << kind;
    }
}

TEST_F(GraphRendering, SaveFailuresAreReportedAsErrors) {
    GraphWindow* window = open("line");
    ASSERT_NE(window, nullptr);
    try {
        saveChartImage(window->chart(), dir / "missing" / "chart.png", QSize(400, 300));
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), errc::kPathFileAccess);
        EXPECT_NE(error.description().find("chart.png"), std::string::npos);
    }
    try {
        saveChartImage(window->chart(), dir / "chart.bmp", QSize(400, 300));
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), errc::kInvalidArgument);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "chart.bmp"));
}

TEST_F(GraphRendering, SavingReplacesAnEarlierImage) {
    GraphWindow* window = open("scatter");
    ASSERT_NE(window, nullptr);
    writeFile(dir / "chart.png", "old");
    saveChartImage(window->chart(), dir / "chart.png", QSize(300, 200));
    EXPECT_EQ(QImage(QString::fromStdString((dir / "chart.png").string())).size(), QSize(300, 200));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

}  // namespace
}  // namespace quorvane::test
