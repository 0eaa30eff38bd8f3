#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

namespace lendora {

// Dates are stored as ISO text and shown in text boxes the same way, so a date shown in a box
// always finds its row again.
class DateText {
public:
    static constexpr const char *kFormat = "yyyy-MM-dd";

    // "yyyy-MM-dd"; empty for an invalid date.
    static QString toText(const QDate &date);
    // The exact form "yyyy-MM-dd" only (four-digit year, two-digit month and day, a real
    // calendar day); anything else gives an invalid date.
    static QDate fromText(const QString &text);
    // Value to bind for a date column: its text, or null for an invalid date.
    static QVariant toSql(const QDate &date);
    // A date column's value read back: invalid for null or a text that is not a date.
    static QDate fromSql(const QVariant &value);
};

}  // namespace lendora
