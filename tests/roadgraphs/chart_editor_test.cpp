#include <gtest/gtest.h>

#include <qwt_plot.h>
#include <qwt_scale_div.h>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>

#include "graph_fixtures.h"
#include "roadgraphs/chart.h"
#include "roadgraphs/chart_editor.h"
#include "roadgraphs/road_graph.h"
#include "views/station_graphs.h"

namespace quorvane::test {
namespace {

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
    ASSERT_NE(edited, nullptr);
    ASSERT_NE(other, nullptr);
    Chart& chart = edited->chart();
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
    EXPECT_FALSE(chart.axis(ChartAxis::Bottom).automatic);
    EXPECT_DOUBLE_EQ(chart.axis(ChartAxis::Bottom).min, 0.25);
    EXPECT_DOUBLE_EQ(chart.plot()->axisScaleDiv(QwtPlot::xBottom).upperBound(), 9.0 / 24);
    EXPECT_FALSE(chart.seriesStyle(0).visible);
    EXPECT_EQ(chart.seriesStyle(1).color, QColor(Qt::blue));
    EXPECT_EQ(chart.seriesStyle(1).lineWidth, 3);
    EXPECT_EQ(chart.seriesStyle(1).marker, Marker::Circle);
    EXPECT_TRUE(chart.seriesStyle(1).visible);

    EXPECT_EQ(other->chart().titleLines(), QStringList{"Station: 101"});
    EXPECT_EQ(other->chart().seriesStyle(1).color, QColor(0, 128, 0));
}

TEST_F(ChartEditing, GridEndColoursAndContourLevels) {
    const RoadGraphResult result = plotRoadGraph(RoadGraphKind::Contour, RoadMeasure::Volume, data,
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
    EXPECT_EQ(chart.gridView(0).numLevels, 5);
    EXPECT_EQ(chart.contourLevels(0).size(), 5u);
}

TEST_F(ChartEditing, FixedAxisRangeBackToAutomatic) {
    GraphWindow* window = showScatterGraph(data, selection, dialogs);
    ASSERT_NE(window, nullptr);
    Chart& chart = window->chart();
    AxisSettings left = chart.axis(ChartAxis::Left);
    left.automatic = false;
    left.min = 0;
    left.max = 5000;
    chart.setAxis(ChartAxis::Left, left);
    chart.replot();
    EXPECT_DOUBLE_EQ(chart.plot()->axisScaleDiv(QwtPlot::yLeft).upperBound(), 5000);
    ChartEditor editor(chart);
    field<QCheckBox>(editor, "axis0Automatic")->setChecked(true);
    editor.apply();
    EXPECT_LT(chart.plot()->axisScaleDiv(QwtPlot::yLeft).upperBound(), 1000);
}

}  // namespace
}  // namespace quorvane::test
