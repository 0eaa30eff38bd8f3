#pragma once

#include "base/Decimal.h"
#include "core/settings/LibraryRules.h"

#include <QDate>
#include <QString>
#include <QVariant>
#include <optional>

namespace lendora {

// The figures of a return: the loan period, the return date, the days the book was out, the
// overdue days and the fine. Day counts are 16-bit whole numbers, as they always were at this
// desk; anything outside that range is refused rather than wrapped.
class Fines {
public:
    enum class Problem {
        None,
        NoLendDate,    // the loan carries no valid lending date
        NoLoanPeriod,  // the category's loan period is null or not a whole number
        NoFinePerDay,  // the fine per day is null or not a finite number
        OutOfRange,    // a day count does not fit in 16 bits
    };

    struct Figures {
        qint64 loanPeriod = 0;   // 规定天数
        QDate returnDate;        // 还书日期
        qint64 actualDays = 0;   // 实际天数: today minus the lending date, negative when ahead
        qint64 overdueDays = 0;  // 超出天数: actual days minus the loan period, never below 0
        Decimal fine;            // 罚款金额: fine per day times overdue days, in decimal

        // The figures as the desk shows them, in the order above.
        struct Texts {
            QString loanPeriod, returnDate, actualDays, overdueDays, fine;
        };
        Texts texts() const;
    };

    // Fills `figures` only when the result is Problem::None.
    static Problem compute(const QDate &lendDate, const QVariant &loanPeriod, const QDate &today,
                           const Rules &rules, Figures *figures);

    // A whole number held in a value (an integer, a text of digits, a double without fraction);
    // nullopt for null, fractional or non-numeric values.
    static std::optional<qint64> wholeNumber(const QVariant &value);
    // The same, held as a 16-bit signed integer: nullopt when out of range too.
    static std::optional<qint16> toInt16(const QVariant &value);
    static bool fitsInt16(qint64 value) { return value >= -32768 && value <= 32767; }
};

}  // namespace lendora
