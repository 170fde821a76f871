#pragma once

// Axis scales of the chart: a time-of-day axis, the station rows of a grid and the value labels
// of a colour bar. Internal to the chart layer (Qwt types).

#include <qwt_scale_draw.h>
#include <qwt_scale_engine.h>

#include <QStringList>

namespace quorvane {

// Values are fractions of a day; ticks fall on whole minutes or hours.
class TimeScaleEngine : public QwtLinearScaleEngine {
  public:
    void autoScale(int maxNumSteps, double& x1, double& x2, double& stepSize) const override;
    QwtScaleDiv divideScale(double x1, double x2, int maxMajorSteps, int maxMinorSteps,
                            double stepSize = 0.0) const override;
};

class TimeScaleDraw : public QwtScaleDraw {
  public:
    explicit TimeScaleDraw(QString format) : format_(std::move(format)) {}
    QwtText label(double value) const override;

  private:
    QString format_;
};

// Rows 1..n: ticks on whole rows only.
class RowScaleEngine : public QwtLinearScaleEngine {
  public:
    QwtScaleDiv divideScale(double x1, double x2, int maxMajorSteps, int maxMinorSteps,
                            double stepSize = 0.0) const override;
};

// "k (label)" for row k when the row has a label.
class RowScaleDraw : public QwtScaleDraw {
  public:
    explicit RowScaleDraw(QStringList labels) : labels_(std::move(labels)) {}
    QwtText label(double value) const override;

  private:
    QStringList labels_;
};

class ValueScaleDraw : public QwtScaleDraw {
  public:
    explicit ValueScaleDraw(QString format) : format_(std::move(format)) {}
    QwtText label(double value) const override;

  private:
    QString format_;
};

// The label of row `row` (1-based) as the left axis writes it.
QString rowLabel(const QStringList& labels, int row);

}  // namespace quorvane
