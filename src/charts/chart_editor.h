#pragma once

#include <QDialog>
#include <QPoint>
#include <array>
#include <vector>

#include "base/dialogs.h"
#include "charts/chart_types.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace quorvane {

class Chart;

// The chart editor: title, legend, axis titles and ranges, each series' colour, visibility,
// line width and marker, the end colours and contour levels of a grid, and "Save image...".
// Its changes go to its own chart only, on OK or Apply.
class ChartEditor : public QDialog {
    Q_OBJECT

  public:
    explicit ChartEditor(Chart& chart, QWidget* parent = nullptr);

    void apply();

    // The colour fields (buttons that open a colour dialog), settable for scripted use.
    void selectSeries(int series);
    void setSeriesColor(const QColor& color);
    void setStartColor(const QColor& color);
    void setEndColor(const QColor& color);

  private:
    struct AxisFields {
        QLineEdit* title = nullptr;
        QCheckBox* automatic = nullptr;
        QDoubleSpinBox* min = nullptr;
        QDoubleSpinBox* max = nullptr;
    };

    Chart& chart_;
    std::vector<SeriesStyle> styles_;
    std::vector<GridStyle> grids_;  // per series; used for grid series only
    int current_ = -1;
    QPlainTextEdit* title_ = nullptr;
    QCheckBox* legend_ = nullptr;
    std::array<AxisFields, kChartAxisCount> axes_;
    QComboBox* series_ = nullptr;
    QPushButton* seriesColor_ = nullptr;
    QCheckBox* visible_ = nullptr;
    QSpinBox* lineWidth_ = nullptr;
    QComboBox* marker_ = nullptr;
    QSpinBox* markerSize_ = nullptr;
    QPushButton* startColor_ = nullptr;
    QPushButton* endColor_ = nullptr;
    QSpinBox* levels_ = nullptr;

    QWidget* chartPage();
    QWidget* axesPage();
    QWidget* seriesPage();
    void storeSeriesFields();
    void loadSeriesFields();
    static void paintColorButton(QPushButton* button, const QColor& color);
};

// The chart's context menu: edit, reset zoom, save image.
void showChartMenu(Chart& chart, QPoint globalPosition);
// "Save image...": asks the chart's dialogs for a PNG, SVG or PDF file and writes the chart
// there. Cancelling stays silent; a failure is reported in a message box.
FileDialogRequest imageFileRequest();
void saveImageInteractively(Chart& chart);

}  // namespace quorvane
