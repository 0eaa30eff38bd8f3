#pragma once

#include <QString>

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
};

}  // namespace lendora
