// The stored settings of the five graph windows, each compared in one piece.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <sstream>

#include "charts/chart.h"
#include "charts/road_graph_windows.h"
#include "charts/station_graph_windows.h"

namespace quorvane {
namespace {

std::ostream& operator<<(std::ostream& out, const QString& text) {
    return out << '"' << text.toStdString() << '"';
}
std::ostream& operator<<(std::ostream& out, const QColor& colour) {
    return out << colour.name().toStdString();
}

// One line for the window, one for the chart's look, one per axis, series and grid view.
std::string settingsOf(const GraphWindow& window) {
    constexpr std::array kAxes{"Left", "Right", "Bottom"};
    constexpr std::array kKinds{"Line", "Point", "ColorGrid", "Contour"};
    constexpr std::array kMarkers{"None", "Square", "Circle", "Triangle", "Diamond", "Cross"};
    const Chart& chart = window.chart();
    const ChartLook& look = chart.look();
    std::ostringstream s;
    s << std::boolalpha << window.objectName().toStdString() << ' ' << window.width() << 'x'
      << window.height() << ' ' << window.windowTitle() << " deletes itself "
      << window.testAttribute(Qt::WA_DeleteOnClose) << '\n'
      << chart.titleLines().join('|') << " legend " << look.legendVisible << " gradient "
      << look.gradientVisible << ' ' << look.gradientStart << ".." << look.gradientEnd << " border "
      << look.border << " pan " << look.panHorizontal << '\n';
    for (const ChartAxis which : {ChartAxis::Bottom, ChartAxis::Left, ChartAxis::Right}) {
        const AxisSettings& axis = chart.axis(which);
        s << kAxes[static_cast<int>(which)] << ' ' << axis.title;
        if (axis.timeOfDay) {
            s << " time " << axis.timeFormat;
        }
        s << '\n';
    }
    for (int i = 0; i < chart.seriesCount(); ++i) {
        const SeriesStyle& style = chart.seriesStyle(i);
        s << kKinds[static_cast<int>(chart.seriesKind(i))] << ' ' << style.title << ' '
          << style.color << " on " << kAxes[static_cast<int>(style.yAxis)] << " width "
          << style.lineWidth << ' ' << kMarkers[static_cast<int>(style.marker)] << ' '
          << style.markerHalfWidth << 'x' << style.markerHalfHeight << " ascending "
          << (style.xOrder == ValueOrder::Ascending) << " legend " << style.inLegend << " dates "
          << style.xDateTime << '\n';
        if (chart.seriesKind(i) == SeriesKind::ColorGrid ||
            chart.seriesKind(i) == SeriesKind::Contour) {
            const GridStyle& grid = chart.gridView(i);
            // Its colours are set when the graph is filled.
            s << "grid levels " << grid.numLevels << ' ' << grid.valueFormat << '\n';
        }
    }
    return s.str();
}

TEST(GraphWindows, StoredSettings) {
    const std::string road =
        " deletes itself true\n"
        "\"TeeChart\" legend true gradient false #ffffff..#ffffff border true pan false\n"
        "Bottom \"\" time \"hh:mm\"\nLeft \"Traffic direction ----->\"\nRight \"\"\n";
    const std::string roadSeries =
        " \"Series0\" #ff0000 on Left width 1 None 3x3 ascending false legend false dates true\n"
        "grid levels 12 ";
    const std::pair<GraphWindow*, std::string> cases[] = {
        {newLineGraphWindow(),
         "frmGraphL 592x358 \"Line Graph of vol and occ\" deletes itself true\n"
         "\"TeeChart\" legend true gradient true #ffffff..#ffff80 border true pan true\n"
         "Bottom \"Time\" time \"hh:mm\"\nLeft \"Volume\"\nRight \"Occupancy\"\n"
         "Line \"Vol\" #ff0000 on Left width 1 None 3x3 ascending true legend true dates true\n"
         "Line \"Occ\" #008000 on Right width 1 None 3x3 ascending false legend true dates true\n"},
        {newScatterGraphWindow(),
         "frmGraphS 441x323 \"vol/occ scatter graph\" deletes itself true\n"
         "\"TeeChart\" legend true gradient true #ffffff..#80ffff border true pan false\n"
         "Bottom \"Occupancy\"\nLeft \"Volume\"\nRight \"\"\n"
         "Point \"Series0\" #ff0000 on Left width 0 Square 3x3 ascending true legend false dates "
         "false\n"},
        {newColorGridWindow(RoadMeasure::Volume), "frmVolColorGrid 566x334 \"frmVolColorGrid\"" +
                                                      road + "ColorGrid" + roadSeries +
                                                      "\"#,##0.\"\n"},
        {newColorGridWindow(RoadMeasure::Occupancy), "frmOccColorGrid 575x335 \"frmOccColorGrid\"" +
                                                         road + "ColorGrid" + roadSeries +
                                                         "\"#,##0\"\n"},
        {newContourWindow(),
         "frmContour 575x334 \"frmContour\"" + road + "Contour" + roadSeries + "\"#,##0\"\n"},
    };
    for (const auto& [created, settings] : cases) {
        const std::unique_ptr<GraphWindow> window(created);
        EXPECT_EQ(settingsOf(*window), settings);
    }
}

}  // namespace
}  // namespace quorvane
