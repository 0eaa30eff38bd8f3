#include "core/readers/ReaderNumber.h"

#include <limits>

namespace lendora {

namespace {

// The leading ASCII digits of the text, after leading blanks; 0 when there are none. Digits
// beyond what a number can hold stop the reading there.
qint64 leadingDigits(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' '))
        ++i;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9' || value > (std::numeric_limits<qint64>::max() - 9) / 10)
            break;
        value = value * 10 + (c - u'0');
    }
    return value;
}

}  // namespace

QString ReaderNumber::format(qint64 value)
{
    return QStringLiteral("%1").arg(value, 3, 10, QLatin1Char('0'));
}

std::optional<QString> ReaderNumber::previous(const QString &boxText)
{
    const qint64 value = leadingDigits(boxText);
    if (value <= 1)
        return std::nullopt;
    return format(value - 1);
}

QString ReaderNumber::next(const QString &boxText)
{
    return format(leadingDigits(boxText) + 1);
}

}  // namespace lendora
