#pragma once

// The hover read-out: a tracker that follows the mouse over the canvas and shows the text the
// chart gives for that position. Internal to the chart layer.

#include <qwt_plot_picker.h>

#include <functional>

namespace quorvane {

class ReadOutPicker : public QwtPlotPicker {
  public:
    ReadOutPicker(QWidget* canvas, std::function<QString(QPoint)> text);

  protected:
    QwtText trackerText(const QPoint& position) const override;

  private:
    std::function<QString(QPoint)> text_;
};

}  // namespace quorvane
