#pragma once

#include <QString>
#include <QVariant>
#include <optional>

namespace lendora {

// Numbers shown as text: whole numbers as decimal digits; decimals with at most 15
// significant digits and no trailing zeros (0.1 x 3 shows "0.3").
class NumberText {
public:
    static QString fromDouble(double value);
    static QString fromInt(qint64 value);

    // The leading-number parse: leading blanks are skipped, the number ends at the first
    // character that cannot continue it; empty or non-numeric text gives 0.
    static double leadingValue(const QString &text);

    // A whole number held in a value (an integer, a text of digits, a double without fraction);
    // nullopt for null, fractional or non-numeric values.
    static std::optional<qint64> wholeNumber(const QVariant &value);
};

}  // namespace lendora
