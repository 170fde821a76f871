#include "charts/chart_scales.h"

#include <qwt_scale_div.h>
#include <qwt_text.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "charts/chart_types.h"

namespace quorvane {

namespace {

constexpr double kSecondsPerDay = 86400.0;

struct TimeStep {
    int seconds;
    int minorCount;  // minor divisions of one step
};
// Steps a reader of a traffic day expects: whole minutes, quarter hours, hours.
constexpr std::array<TimeStep, 14> kTimeSteps{{{30, 3},
                                               {60, 2},
                                               {120, 4},
                                               {300, 5},
                                               {600, 2},
                                               {900, 3},
                                               {1800, 3},
                                               {3600, 4},
                                               {7200, 4},
                                               {10800, 3},
                                               {14400, 4},
                                               {21600, 6},
                                               {43200, 4},
                                               {86400, 4}}};

TimeStep chooseTimeStep(double spanSeconds, int maxMajor, double stepSeconds) {
    for (const TimeStep& step : kTimeSteps) {
        if (stepSeconds > 0 ? step.seconds >= stepSeconds - 1e-6
                            : spanSeconds / step.seconds <= std::max(1, maxMajor)) {
            return step;
        }
    }
    const int days =
        static_cast<int>(std::ceil(spanSeconds / kSecondsPerDay / std::max(1, maxMajor)));
    return {days * 86400, 4};
}

QwtScaleDiv makeDiv(double x1, double x2, QList<double> majors, QList<double> minors) {
    QwtScaleDiv div(x1, x2);
    div.setTicks(QwtScaleDiv::MajorTick, majors);
    div.setTicks(QwtScaleDiv::MinorTick, minors);
    return div;
}

// 1, 2, 5, 10, 20, 50, ... rows: the smallest that gives at most `limit` labels.
long long smallestRowStep(long long rows, int limit) {
    for (long long base = 1;; base *= 10) {
        for (const long long factor : {1LL, 2LL, 5LL}) {
            const long long step = base * factor;
            if ((rows + step - 1) / step <= limit) {
                return step;
            }
        }
    }
}

}  // namespace

void TimeScaleEngine::autoScale(int, double& x1, double& x2, double& stepSize) const {
    // Keep the data's own range: the first and last interval sit at the axis ends.
    if (x1 > x2) {
        std::swap(x1, x2);
    }
    if (x2 - x1 < 1.0 / kSecondsPerDay) {
        x1 -= 30.0 / kSecondsPerDay;
        x2 += 30.0 / kSecondsPerDay;
    }
    stepSize = 0.0;
}

QwtScaleDiv TimeScaleEngine::divideScale(double x1, double x2, int maxMajorSteps, int,
                                         double stepSize) const {
    const double lo = std::min(x1, x2) * kSecondsPerDay;
    const double hi = std::max(x1, x2) * kSecondsPerDay;
    if (!(hi > lo)) {
        return QwtScaleDiv(x1, x2);
    }
    const TimeStep step = chooseTimeStep(hi - lo, maxMajorSteps, stepSize * kSecondsPerDay);
    const double minorSeconds = static_cast<double>(step.seconds) / step.minorCount;
    QList<double> majors;
    QList<double> minors;
    const auto first = static_cast<long long>(std::ceil(lo / minorSeconds - 1e-9));
    const auto last = static_cast<long long>(std::floor(hi / minorSeconds + 1e-9));
    for (long long i = first; i <= last; ++i) {
        const double value = static_cast<double>(i) * minorSeconds / kSecondsPerDay;
        (i % step.minorCount == 0 ? majors : minors).append(value);
    }
    return makeDiv(x1, x2, majors, minors);
}

QwtText TimeScaleDraw::label(double value) const {
    // Zoomed in to ticks less than a minute apart, minutes alone would repeat: show seconds.
    const QList<double> majors = scaleDiv().ticks(QwtScaleDiv::MajorTick);
    if (majors.size() >= 2 && (majors[1] - majors[0]) * kSecondsPerDay < 59.5) {
        return QwtText(formatTimeOfDay(value, QStringLiteral("hh:mm:ss")));
    }
    return QwtText(formatTimeOfDay(value, format_));
}

QwtScaleDiv RowScaleEngine::divideScale(double x1, double x2, int maxMajorSteps, int,
                                        double stepSize) const {
    const double lo = std::min(x1, x2);
    const double hi = std::max(x1, x2);
    const auto first = static_cast<long long>(std::ceil(lo - 1e-9));
    const auto last = static_cast<long long>(std::floor(hi + 1e-9));
    if (last < first) {
        return QwtScaleDiv(x1, x2);
    }
    const long long rows = last - first + 1;
    long long step = std::max<long long>(1, std::llround(stepSize));
    if (stepSize <= 0) {
        step = smallestRowStep(rows, std::max(1, maxMajorSteps));
    }
    QList<double> majors;
    QList<double> minors;
    for (long long row = first; row <= last; ++row) {
        // Counted from row 1, so that the first station is always labelled.
        const long long offset = ((row - 1) % step + step) % step;
        (offset == 0 ? majors : minors).append(static_cast<double>(row));
    }
    return makeDiv(x1, x2, majors, minors);
}

QString rowLabel(const QStringList& labels, int row) {
    if (row >= 1 && row <= labels.size()) {
        return QStringLiteral("%1 (%2)").arg(row).arg(labels[row - 1]);
    }
    return QString::number(row);
}

QwtText RowScaleDraw::label(double value) const {
    const double row = std::round(value);
    if (std::abs(value - row) > 1e-6) {
        return QwtText();
    }
    return QwtText(rowLabel(labels_, static_cast<int>(row)));
}

QwtText ValueScaleDraw::label(double value) const {
    return QwtText(formatValue(value, format_));
}

}  // namespace quorvane
