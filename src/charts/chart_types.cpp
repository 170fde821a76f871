#include "charts/chart_types.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace quorvane {

QString formatValue(double value, const QString& format) {
    if (!std::isfinite(value)) {
        return {};
    }
    const int point = format.indexOf(QLatin1Char('.'));
    const QString integerPart = point < 0 ? format : format.left(point);
    int decimals = 0;
    if (point >= 0) {
        for (int i = point + 1; i < format.size(); ++i) {
            if (format[i] == QLatin1Char('0') || format[i] == QLatin1Char('#')) {
                ++decimals;
            }
        }
    }
    const bool literalPoint = point >= 0 && decimals == 0;
    const bool grouped = integerPart.contains(QLatin1Char(','));

    const QString digits = QString::number(std::abs(value), 'f', decimals);
    const int digitsPoint = digits.indexOf(QLatin1Char('.'));
    QString whole = digitsPoint < 0 ? digits : digits.left(digitsPoint);
    const QString fraction = digitsPoint < 0 ? QString() : digits.mid(digitsPoint);
    if (grouped) {
        for (int i = whole.size() - 3; i > 0; i -= 3) {
            whole.insert(i, QLatin1Char(','));
        }
    }
    const bool allZero = std::all_of(digits.begin(), digits.end(), [](QChar c) {
        return c == QLatin1Char('0') || c == QLatin1Char('.');
    });
    const bool negative = value < 0 && !allZero;
    QString text = (negative ? QStringLiteral("-") : QString()) + whole + fraction;
    if (literalPoint) {
        text += QLatin1Char('.');
    }
    return text;
}

QString formatTimeOfDay(double dayFraction, const QString& format) {
    const long long total = std::llround(dayFraction * 86400.0);
    const long long magnitude = std::llabs(total);
    const auto two = [](long long v) {
        return QString::number(v).rightJustified(2, QLatin1Char('0'));
    };
    QString text = (total < 0 ? QStringLiteral("-") : QString()) + two(magnitude / 3600) +
                   QLatin1Char(':') + two(magnitude / 60 % 60);
    if (format.contains(QLatin1String("ss"))) {
        text += QLatin1Char(':') + two(magnitude % 60);
    }
    return text;
}

}  // namespace quorvane
