// What the user does with a graph: the chart editor, zoom, panning, the read-out.
#include <gtest/gtest.h>

#include <qwt_plot.h>
#include <qwt_scale_div.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "graph_fixtures.h"
#include "charts/chart.h"
#include "charts/chart_editor.h"
#include "charts/road_graph.h"
#include "support/test_files.h"
#include "charts/station_graphs.h"

namespace quorvane::test {
namespace {

// A left-button drag as the window system delivers it (QTest's move only moves the cursor).
void drag(QWidget* widget, QPoint from, QPoint to,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent press(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton, modifiers);
    QApplication::sendEvent(widget, &press);
    for (int step = 1; step <= 4; ++step) {
        const QPoint at = from + (to - from) * step / 4;
        QMouseEvent move(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton, modifiers);
        QApplication::sendEvent(widget, &move);
    }
    QMouseEvent release(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton, modifiers);
    QApplication::sendEvent(widget, &release);
}

QPoint canvasPoint(const Chart& chart, double x, double y) {
    return QPoint(static_cast<int>(chart.plot()->transform(QwtPlot::xBottom, x)),
                  static_cast<int>(chart.plot()->transform(QwtPlot::yLeft, y)));
}

using ChartInteraction = GraphTest;

TEST_F(ChartInteraction, ReadOutNamesTheValuesUnderTheMouse) {
    selection.start = 3;
    selection.end = 20;
    const OpenedGraph grid = plotRoadGraph(RoadGraphKind::ColorGrid, RoadMeasure::Volume, data,
                                               selection, dialogs, log, {});
    ASSERT_NE(grid.window, nullptr);
    const Chart& cells = grid.window->chart();
    const double oneOClock = 12 * 300 / 86400.0;
    // Interval 12 of the road's second station, 101 (list row 0): vol 100 + 12.
    EXPECT_EQ(cells.readOut(canvasPoint(cells, oneOClock, 2.1)),
              "01:00:00  Station 2 (101)  Value 112.");
    EXPECT_EQ(cells.readOut(canvasPoint(cells, oneOClock, 9)), "");

    selection.station = 1;
    GraphWindow* line = showLineGraph(data, selection, dialogs);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->chart().readOut(canvasPoint(line->chart(), oneOClock + 0.0001, 100)),
              "01:00:00  Vol 212  Occ 2.2");

    selection.station = 0;
    selection.end = 5;
    GraphWindow* scatter = showScatterGraph(data, selection, dialogs);
    ASSERT_NE(scatter, nullptr);
    EXPECT_EQ(scatter->chart().readOut(canvasPoint(scatter->chart(), 0.4, 104)),
              "Occupancy 0.4, Volume 104");
}

TEST_F(ChartInteraction, RubberBandZoomsAndResetReturnsToTheWholeRange) {
    GraphWindow* window = showLineGraph(data, selection, dialogs);
    ASSERT_NE(window, nullptr);
    Chart& chart = window->chart();
    const QwtScaleDiv before = chart.plot()->axisScaleDiv(QwtPlot::xBottom);
    const double leftWidth = chart.plot()->axisScaleDiv(QwtPlot::yLeft).range();
    const double rightWidth = chart.plot()->axisScaleDiv(QwtPlot::yRight).range();
    drag(chart.plot()->canvas(), canvasPoint(chart, 6 / 24.0, 150),
         canvasPoint(chart, 9 / 24.0, 120));
    ASSERT_TRUE(chart.isZoomed());
    const QwtScaleDiv zoomed = chart.plot()->axisScaleDiv(QwtPlot::xBottom);
    EXPECT_NEAR(zoomed.lowerBound(), 6 / 24.0, 0.01);
    EXPECT_NEAR(zoomed.upperBound(), 9 / 24.0, 0.01);
    // The occupancy axis zooms with the volume axis, so both curves stay where they were drawn.
    EXPECT_NEAR(chart.plot()->axisScaleDiv(QwtPlot::yRight).range() / rightWidth,
                chart.plot()->axisScaleDiv(QwtPlot::yLeft).range() / leftWidth, 1e-9);
    EXPECT_LT(chart.plot()->axisScaleDiv(QwtPlot::yRight).range(), rightWidth);
    chart.resetZoom();
    EXPECT_FALSE(chart.isZoomed());
    EXPECT_DOUBLE_EQ(chart.plot()->axisScaleDiv(QwtPlot::xBottom).upperBound(),
                     before.upperBound());
    EXPECT_DOUBLE_EQ(chart.plot()->axisScaleDiv(QwtPlot::yRight).range(), rightWidth);
}

TEST_F(ChartInteraction, ControlDragPansTheLineGraphAlongTheTimeAxisOnly) {
    selection.start = 100;
    selection.end = 200;
    for (auto show : {&showLineGraph, &showScatterGraph}) {
        GraphWindow* window = show(data, selection, dialogs);
        ASSERT_NE(window, nullptr);
        const bool pans = show == &showLineGraph;  // the scatter graph does not pan
        QwtPlot& plot = *window->chart().plot();
        const QwtScaleDiv x = plot.axisScaleDiv(QwtPlot::xBottom);
        const QwtScaleDiv y = plot.axisScaleDiv(QwtPlot::yLeft);
        const QPoint from = plot.canvas()->rect().center();
        drag(plot.canvas(), from, from + QPoint(-100, 40), Qt::ControlModifier);
        EXPECT_EQ(plot.axisScaleDiv(QwtPlot::xBottom).lowerBound() > x.lowerBound(), pans);
        EXPECT_DOUBLE_EQ(plot.axisScaleDiv(QwtPlot::yLeft).lowerBound(), y.lowerBound());
        EXPECT_FALSE(window->chart().isZoomed());
    }
}

TEST_F(ChartInteraction, DoubleClickOpensTheEditor) {
    GraphWindow* window = showScatterGraph(data, selection, dialogs);
    ASSERT_NE(window, nullptr);
    QString opened;
    QTimer::singleShot(0, [&opened] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = modal->metaObject()->className();
            modal->close();
        }
    });
    QWidget* canvas = window->chart().plot()->canvas();
    QTest::mouseDClick(canvas, Qt::LeftButton, Qt::NoModifier, canvas->rect().center());
    EXPECT_EQ(opened, "quorvane::ChartEditor");
}

TEST_F(ChartInteraction, ChartFillsTheWindowWhenResized) {
    GraphWindow* window = showLineGraph(data, selection, dialogs);
    ASSERT_NE(window, nullptr);
    window->resize(900, 600);
    QApplication::processEvents();
    EXPECT_EQ(window->chart().geometry(), window->rect());
}

template <typename T>
T* field(const ChartEditor& editor, const char* name) {
    T* widget = editor.findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

using ChartEditing = GraphTest;

TEST_F(ChartEditing, ChangesGoToTheEditedWindowOnly) {
    GraphWindow* edited = showLineGraph(data, selection, dialogs);
    GraphWindow* other = showLineGraph(data, selection, dialogs);
    ASSERT_TRUE(edited != nullptr && other != nullptr);
    Chart& chart = edited->chart();
    const double wholeDay = chart.plot()->axisScaleDiv(QwtPlot::xBottom).upperBound();
    ChartEditor editor(chart);
    field<QPlainTextEdit>(editor, "titleEdit")->setPlainText("Station 101\nmorning");
    field<QCheckBox>(editor, "legendCheck")->setChecked(false);
    field<QLineEdit>(editor, "axis0Title")->setText("Vehicles");
    field<QCheckBox>(editor, "axis2Automatic")->setChecked(false);
    field<QDoubleSpinBox>(editor, "axis2Min")->setValue(6);  // hours
    field<QDoubleSpinBox>(editor, "axis2Max")->setValue(9);
    editor.selectSeries(1);
    editor.setSeriesColor(Qt::blue);
    field<QSpinBox>(editor, "lineWidthSpin")->setValue(3);
    field<QComboBox>(editor, "markerCombo")->setCurrentIndex(static_cast<int>(Marker::Circle));
    editor.selectSeries(0);
    field<QCheckBox>(editor, "visibleCheck")->setChecked(false);
    editor.apply();

    EXPECT_EQ(chart.titleLines(), (QStringList{"Station 101", "morning"}));
    EXPECT_FALSE(chart.look().legendVisible);
    EXPECT_EQ(chart.axis(ChartAxis::Left).title, "Vehicles");
    EXPECT_DOUBLE_EQ(chart.plot()->axisScaleDiv(QwtPlot::xBottom).upperBound(), 9.0 / 24);
    EXPECT_FALSE(chart.seriesStyle(0).visible);
    const SeriesStyle& occ = chart.seriesStyle(1);
    EXPECT_EQ(std::tuple(occ.color, occ.lineWidth, occ.marker, occ.visible),
              std::tuple(QColor(Qt::blue), 3, Marker::Circle, true));
    EXPECT_EQ(other->chart().titleLines(), QStringList{"Station: 101"});
    EXPECT_EQ(other->chart().seriesStyle(1).color, QColor(0, 128, 0));
    // A fixed range back to automatic spans the data again.
    ChartEditor again(chart);
    field<QCheckBox>(again, "axis2Automatic")->setChecked(true);
    again.apply();
    EXPECT_DOUBLE_EQ(chart.plot()->axisScaleDiv(QwtPlot::xBottom).upperBound(), wholeDay);
}

TEST_F(ChartEditing, GridEndColoursAndContourLevels) {
    const OpenedGraph result = plotRoadGraph(RoadGraphKind::Contour, RoadMeasure::Volume, data,
                                                 selection, dialogs, log, {});
    ASSERT_NE(result.window, nullptr);
    Chart& chart = result.window->chart();
    ChartEditor editor(chart);
    editor.setStartColor(Qt::blue);
    editor.setEndColor(Qt::yellow);
    field<QSpinBox>(editor, "levelsSpin")->setValue(5);
    editor.apply();
    EXPECT_EQ(chart.gridView(0).startColor, QColor(Qt::blue));
    EXPECT_EQ(chart.gridView(0).endColor, QColor(Qt::yellow));
    EXPECT_EQ(chart.contourLevels(0).size(), 5u);
}

// An image is written under a temporary name and put in place only once it is complete; a
// failure shows the error box, a cancel nothing.
TEST_F(ChartEditing, SaveImageWritesTheChosenFileOrSaysWhyNot) {
    GraphWindow* window = showLineGraph(data, selection, dialogs);
    ASSERT_NE(window, nullptr);
    Chart& chart = window->chart();
    // A chart rendered without the program's dialogs offers no saving.
    EXPECT_TRUE(ChartEditor(chart).findChild<QPushButton*>("saveImageButton")->isHidden());
    chart.setDialogs(&dialogs);
    ChartEditor editor(chart);
    auto* save = editor.findChild<QPushButton*>("saveImageButton");
    ASSERT_FALSE(save->isHidden());

    TempDir dir;
    writeFile(dir / "line.png", "old");
    for (const char* name : {"line.png", "line.svg", "line.bmp", "missing/line.png"}) {
        dialogs.answer((dir / name).string());
        save->click();
    }
    dialogs.cancelNext();
    save->click();
    EXPECT_EQ(dialogs.requests.front().title, "Save image");
    EXPECT_EQ(dialogs.requests.front().proposedName, "chart.png");
    EXPECT_EQ(QImage(QString::fromStdString((dir / "line.png").string())).size(), chart.size());
    EXPECT_NE(readFile(dir / "line.svg").find("<svg"), std::string::npos);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    for (const Message& message : dialogs.messages) {
        EXPECT_EQ(message.icon, MessageIcon::Critical);
    }
    EXPECT_NE(dialogs.messages[0].text.find("line.bmp (use .png, .svg or .pdf)"),
              std::string::npos);
    EXPECT_NE(dialogs.messages[1].text.find("missing/line.png"), std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              2);  // no temporary left behind
}

}  // namespace
}  // namespace quorvane::test
