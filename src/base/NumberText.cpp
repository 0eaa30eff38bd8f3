#include "base/NumberText.h"

#include "base/Decimal.h"

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
    return Decimal::fromDouble(value)->toText();
}

double NumberText::leadingValue(const QString &text)
{
    qsizetype start = 0;
    while (start < text.size()
           && (text.at(start) == QLatin1Char(' ') || text.at(start) == QLatin1Char('\t')))
        ++start;
    const QStringView rest = QStringView(text).mid(start);
    const qsizetype length = Decimal::scan(rest);
    if (length == 0)
        return 0.0;
    // A number too large for a double reads as 0, as an unreadable one does.
    const std::optional<Decimal> value = Decimal::parse(rest.first(length));
    return value ? value->toDouble() : 0.0;
}

std::optional<qint64> NumberText::wholeNumber(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return std::nullopt;
    const int type = value.metaType().id();
    if (type == QMetaType::Double || type == QMetaType::Float) {
        const double d = value.toDouble();
        if (!std::isfinite(d) || d != std::trunc(d) || std::fabs(d) > 9.0e15)
            return std::nullopt;
        return static_cast<qint64>(d);
    }
    bool ok = false;
    const qint64 n = value.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return n;
}

}  // namespace lendora
