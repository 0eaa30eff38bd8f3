#include "base/NumberText.h"

#include <QLocale>
#include <cmath>

namespace lendora {

QString NumberText::fromInt(qint64 value)
{
    return QString::number(value);
}

QString NumberText::fromDouble(double value)
{
    if (std::isnan(value))
        return QStringLiteral("0");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("inf") : QStringLiteral("-inf");
    if (value == 0.0)
        return QStringLiteral("0");  // also -0
    // Round to 15 significant digits first, then write without an exponent.
    const QString rounded = QString::number(value, 'g', 15);
    const double r = rounded.toDouble();
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(r))));
    const int decimals = std::max(0, 14 - exponent);
    QString text = QLocale::c().toString(r, 'f', decimals);
    text.remove(QLatin1Char(','));
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

double NumberText::leadingValue(const QString &text)
{
    int i = 0;
    const int n = text.size();
    while (i < n && (text.at(i) == QLatin1Char(' ') || text.at(i) == QLatin1Char('\t')))
        ++i;
    const int start = i;
    if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
        ++i;
    const auto isDigit = [&](int k) {
        return k < n && text.at(k).isDigit() && text.at(k).unicode() < 128;
    };
    int digits = 0;
    while (isDigit(i)) {
        ++i;
        ++digits;
    }
    if (i < n && text.at(i) == QLatin1Char('.')) {
        int j = i + 1;
        int fraction = 0;
        while (isDigit(j)) {
            ++j;
            ++fraction;
        }
        if (fraction > 0 || digits > 0) {
            digits += fraction;
            i = j;
        }
    }
    if (digits == 0)
        return 0.0;
    if (i < n && (text.at(i) == QLatin1Char('e') || text.at(i) == QLatin1Char('E'))) {
        int j = i + 1;
        if (j < n && (text.at(j) == QLatin1Char('+') || text.at(j) == QLatin1Char('-')))
            ++j;
        if (isDigit(j)) {
            while (isDigit(j))
                ++j;
            i = j;
        }
    }
    bool ok = false;
    const double value = text.mid(start, i - start).toDouble(&ok);
    return ok ? value : 0.0;
}

}  // namespace lendora
