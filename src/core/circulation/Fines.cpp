#include "core/circulation/Fines.h"

#include "base/DateText.h"
#include "base/Decimal.h"
#include "base/NumberText.h"

#include <cmath>

namespace lendora {

std::optional<qint64> Fines::wholeNumber(const QVariant &value)
{
    return NumberText::wholeNumber(value);
}

std::optional<qint16> Fines::toInt16(const QVariant &value)
{
    const std::optional<qint64> n = wholeNumber(value);
    if (!n || !fitsInt16(*n))
        return std::nullopt;
    return static_cast<qint16>(*n);
}

Fines::Figures::Texts Fines::Figures::texts() const
{
    return {NumberText::fromInt(loanPeriod), DateText::toText(returnDate),
            NumberText::fromInt(actualDays), NumberText::fromInt(overdueDays), fine.toText()};
}

Fines::Problem Fines::compute(const QDate &lendDate, const QVariant &loanPeriod, const QDate &today,
                              const Rules &rules, Figures *figures)
{
    if (!lendDate.isValid() || !today.isValid())
        return Problem::NoLendDate;
    const std::optional<qint64> period = wholeNumber(loanPeriod);
    if (!period)
        return Problem::NoLoanPeriod;
    if (!rules.hasFine())
        return Problem::NoFinePerDay;

    const qint64 actual = lendDate.daysTo(today);
    if (!fitsInt16(actual) || !fitsInt16(*period))
        return Problem::OutOfRange;
    const qint64 difference = actual - *period;
    if (!fitsInt16(difference))
        return Problem::OutOfRange;
    const qint64 overdue = difference < 1 ? 0 : difference;
    // In decimal: a fine of 0.1 a day for three days is 0.3, not 0.30000000000000004.
    const Decimal fine = *Decimal::fromDouble(rules.finePerDay) * Decimal::fromInt(overdue);
    if (!std::isfinite(fine.toDouble()))
        return Problem::OutOfRange;  // the loan row could not hold it

    if (figures)
        *figures = {*period, today, actual, overdue, fine};
    return Problem::None;
}

}  // namespace lendora
