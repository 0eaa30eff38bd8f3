#include "readers/ReaderNumber.h"

#include "data/NumberText.h"

#include <cmath>

namespace lendora {

QString ReaderNumber::format(double value)
{
    if (!std::isfinite(value))
        value = 0;
    const double whole = std::round(value);  // halves away from zero
    QString digits = QString::number(std::fabs(whole), 'f', 0);
    if (digits.size() < 3)
        digits = QString(3 - digits.size(), QLatin1Char('0')) + digits;
    return whole < 0 ? QLatin1Char('-') + digits : digits;
}

std::optional<QString> ReaderNumber::previous(const QString &boxText)
{
    const double value = NumberText::leadingValue(boxText);
    if (!(value > 1))
        return std::nullopt;
    return format(value - 1);
}

QString ReaderNumber::next(const QString &boxText)
{
    return format(NumberText::leadingValue(boxText) + 1);
}

}  // namespace lendora
