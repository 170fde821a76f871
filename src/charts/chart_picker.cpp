#include "charts/chart_picker.h"

#include <qwt_picker_machine.h>
#include <qwt_plot.h>
#include <qwt_text.h>

namespace quorvane {

ReadOutPicker::ReadOutPicker(QWidget* canvas, std::function<QString(QPoint)> text)
    : QwtPlotPicker(QwtPlot::xBottom, QwtPlot::yLeft, QwtPicker::NoRubberBand, QwtPicker::AlwaysOn,
                    canvas),
      text_(std::move(text)) {
    setStateMachine(new QwtPickerTrackerMachine());
}

QwtText ReadOutPicker::trackerText(const QPoint& position) const {
    QwtText label(text_(position));
    label.setColor(Qt::black);
    label.setBackgroundBrush(QColor(255, 255, 255, 220));
    label.setBorderPen(QPen(Qt::gray));
    return label;
}

}  // namespace quorvane
