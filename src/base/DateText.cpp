#include "base/DateText.h"

namespace lendora {

namespace {
int digitsValue(const QString &text, int from, int count)
{
    int value = 0;
    for (int i = from; i < from + count; ++i) {
        const QChar c = text.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}
}  // namespace

QString DateText::toText(const QDate &date)
{
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        return {};
    return date.toString(QString::fromLatin1(kFormat));
}

QDate DateText::fromText(const QString &text)
{
    if (text.size() != 10 || text.at(4) != QLatin1Char('-') || text.at(7) != QLatin1Char('-'))
        return {};
    const int year = digitsValue(text, 0, 4);
    const int month = digitsValue(text, 5, 2);
    const int day = digitsValue(text, 8, 2);
    if (year < 1 || month < 0 || day < 0)
        return {};
    return QDate(year, month, day);  // invalid when the day does not exist
}

QVariant DateText::toSql(const QDate &date)
{
    const QString text = toText(date);
    return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}

QDate DateText::fromSql(const QVariant &value)
{
    if (value.isNull())
        return {};
    return fromText(value.toString());
}

}  // namespace lendora
