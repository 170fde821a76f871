// What the user does with a graph: the read-out, zoom, panning, the chart editor, saving.
#include <gtest/gtest.h>

#include <qwt_plot.h>
#include <qwt_scale_div.h>
#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QImage>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "charts/chart.h"
#include "charts/chart_editor.h"
#include "charts/road_graph.h"
#include "charts/station_graphs.h"
#include "graph_fixtures.h"
#include "support/test_files.h"

namespace quorvane::test {
namespace {

// A left-button drag as the window system delivers it (QTest's move only moves the cursor).
void drag(QWidget* widget, QPoint from, QPoint to, Qt::KeyboardModifiers modifiers) {
    for (int step = 0; step <= 5; ++step) {
        const auto type = step == 0   ? QEvent::MouseButtonPress
                          : step == 5 ? QEvent::MouseButtonRelease
                                      : QEvent::MouseMove;
        QMouseEvent event(type, from + (to - from) * std::min(step, 4) / 4,
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          modifiers);
        QApplication::sendEvent(widget, &event);
    }
}

QPoint canvasPoint(const Chart& chart, double x, double y) {
    return QPoint(static_cast<int>(chart.plot()->transform(QwtPlot::xBottom, x)),
                  static_cast<int>(chart.plot()->transform(QwtPlot::yLeft, y)));
}

using ChartInteraction = GraphTest;

// Grid read-outs name the road row and station (interval 12 of 101, list row 0: vol 100 + 12),
// the speed its unit or none in a gap (see useSpeedDay).
TEST_F(ChartInteraction, ReadOutNamesTheValuesUnderTheMouse) {
    selection.start = 3;
    selection.end = 20;
    const double t12 = 12 * 300 / 86400.0;
    const auto gridReadOut = [&](RoadMeasure measure, double t, double row) {
        const Chart& chart =
            plotRoadGraph(RoadGraphKind::ColorGrid, measure, data, selection, dialogs, log, {})
                .window->chart();
        return chart.readOut(canvasPoint(chart, t, row)).toStdString();
    };
    EXPECT_EQ(gridReadOut(RoadMeasure::Volume, t12, 2.1), "01:00:00  Station 2 (101)  Value 112.");
    EXPECT_EQ(gridReadOut(RoadMeasure::Volume, t12, 9), "");
    selection.station = 1;
    const Chart& line = showLineGraph(data, selection, dialogs)->chart();
    EXPECT_EQ(line.readOut(canvasPoint(line, t12 + 0.0001, 100)), "01:00:00  Vol 212  Occ 2.2");
    selection.station = 0;
    const Chart& scatter = showScatterGraph(data, selection, dialogs)->chart();
    EXPECT_EQ(scatter.readOut(canvasPoint(scatter, 0.4, 104)), "Occupancy 0.4, Volume 104");
    useSpeedDay();
    EXPECT_EQ(gridReadOut(RoadMeasure::Speed, t12, 1), "01:00:00  Station 1 (103)  Speed 80 km/h");
    EXPECT_EQ(gridReadOut(RoadMeasure::Speed, t12 - 300 / 86400.0, 2),
              "00:55:00  Station 2 (101)  Speed none");
    // A shape over the grid is named where the mouse is inside it.
    Chart& grid = plotRoadGraph(RoadGraphKind::ColorGrid, RoadMeasure::Speed, data, selection,
                                dialogs, log, {})
                      .window->chart();
    grid.setOverlays(
        {{QPolygonF(
              {{t12 - 0.001, 0.8}, {t12 + 0.001, 0.8}, {t12 + 0.001, 1.2}, {t12 - 0.001, 1.2}}),
          QStringLiteral("Bottleneck 103 > 101"), false}});
    EXPECT_EQ(grid.readOut(canvasPoint(grid, t12, 1)),
              "01:00:00  Station 1 (103)  Speed 80 km/h  Bottleneck 103 > 101");
    EXPECT_EQ(grid.readOut(canvasPoint(grid, t12, 1.35)),
              "01:00:00  Station 1 (103)  Speed 80 km/h");
}

// The occupancy axis zooms with the volume axis, so both curves stay where they were drawn; a
// control-drag pans the line graph along the time axis, never the scatter graph.
TEST_F(ChartInteraction, RubberBandZoomsControlDragPansAndResetReturnsToTheWholeRange) {
    Chart& chart = showLineGraph(data, selection, dialogs)->chart();
    const auto div = [&chart](int axis) { return chart.plot()->axisScaleDiv(axis); };
    const QwtScaleDiv whole = div(QwtPlot::xBottom), left = div(QwtPlot::yLeft),
                      right = div(QwtPlot::yRight);
    QWidget* canvas = chart.plot()->canvas();
    drag(canvas, canvasPoint(chart, 6 / 24.0, 150), canvasPoint(chart, 9 / 24.0, 120),
         Qt::NoModifier);
    ASSERT_TRUE(chart.isZoomed());
    EXPECT_NEAR(div(QwtPlot::xBottom).lowerBound(), 6 / 24.0, 0.01);
    EXPECT_NEAR(div(QwtPlot::xBottom).upperBound(), 9 / 24.0, 0.01);
    EXPECT_LT(div(QwtPlot::yRight).range(), right.range());
    EXPECT_NEAR(div(QwtPlot::yRight).range() / right.range(),
                div(QwtPlot::yLeft).range() / left.range(), 1e-9);
    const QwtScaleDiv zoomedTime = div(QwtPlot::xBottom), zoomedLeft = div(QwtPlot::yLeft);
    const QPoint centre = canvas->rect().center();
    drag(canvas, centre, centre + QPoint(-100, 40), Qt::ControlModifier);
    EXPECT_GT(div(QwtPlot::xBottom).lowerBound(), zoomedTime.lowerBound());
    EXPECT_EQ(div(QwtPlot::yLeft), zoomedLeft);
    chart.resetZoom();
    EXPECT_FALSE(chart.isZoomed());
    EXPECT_EQ(std::pair(div(QwtPlot::xBottom), div(QwtPlot::yRight)), std::pair(whole, right));

    Chart& scatter = showScatterGraph(data, selection, dialogs)->chart();
    const QwtScaleDiv before = scatter.plot()->axisScaleDiv(QwtPlot::xBottom);
    drag(scatter.plot()->canvas(), centre, centre + QPoint(-100, 40), Qt::ControlModifier);
    EXPECT_EQ(scatter.plot()->axisScaleDiv(QwtPlot::xBottom), before);
    EXPECT_FALSE(scatter.isZoomed());
}

using ChartEditing = GraphTest;

TEST_F(ChartEditing, DoubleClickOpensTheEditorWhoseChangesGoToTheEditedWindowOnly) {
    GraphWindow* edited = showLineGraph(data, selection, dialogs);
    GraphWindow* other = showLineGraph(data, selection, dialogs);
    QString opened;
    QTimer::singleShot(0, [&opened] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = modal->metaObject()->className();
            modal->close();
        }
    });
    QWidget* canvas = edited->chart().plot()->canvas();
    QTest::mouseDClick(canvas, Qt::LeftButton, Qt::NoModifier, canvas->rect().center());
    EXPECT_EQ(opened, "quorvane::ChartEditor");

    Chart& chart = edited->chart();
    const QwtScaleDiv whole = chart.plot()->axisScaleDiv(QwtPlot::xBottom);
    ChartEditor editor(chart);
    editor.findChild<QPlainTextEdit*>("titleEdit")->setPlainText("Station 101\nmorning");
    editor.findChild<QCheckBox*>("axis2Automatic")->setChecked(false);
    editor.findChild<QDoubleSpinBox*>("axis2Min")->setValue(6);  // hours
    editor.findChild<QDoubleSpinBox*>("axis2Max")->setValue(9);
    editor.selectSeries(1);
    editor.setSeriesColor(Qt::blue);
    editor.findChild<QSpinBox*>("lineWidthSpin")->setValue(3);
    editor.apply();
    EXPECT_EQ(chart.titleLines(), (QStringList{"Station 101", "morning"}));
    EXPECT_DOUBLE_EQ(chart.plot()->axisScaleDiv(QwtPlot::xBottom).upperBound(), 9.0 / 24);
    EXPECT_EQ(std::pair(chart.seriesStyle(1).color, chart.seriesStyle(1).lineWidth),
              std::pair(QColor(Qt::blue), 3));
    EXPECT_EQ(std::pair(other->chart().titleLines(), other->chart().seriesStyle(1).color),
              std::pair(QStringList{"Station: 101"}, QColor(0, 128, 0)));
    ChartEditor again(chart);  // a fixed range back to automatic spans the data again
    again.findChild<QCheckBox*>("axis2Automatic")->setChecked(true);
    again.apply();
    EXPECT_EQ(chart.plot()->axisScaleDiv(QwtPlot::xBottom), whole);
}

TEST_F(ChartEditing, GridEndColoursAndContourLevels) {
    Chart& chart = plotRoadGraph(RoadGraphKind::Contour, RoadMeasure::Volume, data, selection,
                                 dialogs, log, {})
                       .window->chart();
    ChartEditor editor(chart);
    editor.setStartColor(Qt::blue);
    editor.setEndColor(Qt::yellow);
    editor.findChild<QSpinBox*>("levelsSpin")->setValue(5);
    editor.apply();
    EXPECT_EQ(std::tuple(chart.gridView(0).startColor, chart.gridView(0).endColor,
                         chart.contourLevels(0).size()),
              std::tuple(QColor(Qt::blue), QColor(Qt::yellow), 5u));
}

// An image is written under a temporary name and put in place only once it is complete; a
// failure shows the error box, a cancel nothing. A chart drawn without the program's dialogs
// offers no saving.
TEST_F(ChartEditing, SaveImageWritesTheChosenFileOrSaysWhyNot) {
    Chart& chart = showLineGraph(data, selection, dialogs)->chart();
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
    EXPECT_EQ(dialogs.requests.front().proposedName, "chart.png");
    EXPECT_EQ(QImage(QString::fromStdString((dir / "line.png").string())).size(), chart.size());
    EXPECT_TRUE(readFile(dir / "line.svg").starts_with("<?xml")) << readFile(dir / "line.svg");
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_NE(dialogs.messages[0].text.find("line.bmp (use .png, .svg or .pdf)"),
              std::string::npos);
    EXPECT_EQ(std::pair(dialogs.messages[1].text.find("missing/line.png") != std::string::npos,
                        dialogs.messages[1].icon),
              std::pair(true, MessageIcon::Critical));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              2);  // no temporary left behind
}

}  // namespace
}  // namespace quorvane::test
