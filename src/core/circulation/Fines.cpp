#include "core/circulation/Fines.h"

#include "base/DateText.h"
#include "base/Decimal.h"
#include "base/NumberText.h"

#include <cmath>

namespace lendora {

std::optional<qint64> Fines::wholeNumber(const QVariant &value)
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

std::optional<qint16> Fines::toInt16(const QVariant &value)
{
    const std::optional<qint64> n = wholeNumber(value);
    if (!n || !fitsInt16(*n))
        return std::nullopt;
    return static_cast<qint16>(*n);
}

Fines::Problem Fines::compute(const QDate &lendDate, const QVariant &loanPeriod, const QDate &today,
                              const QVariant &finePerDay, Figures *figures)
{
    if (!lendDate.isValid() || !today.isValid())
        return Problem::NoLendDate;
    const std::optional<qint64> period = wholeNumber(loanPeriod);
    if (!period)
        return Problem::NoLoanPeriod;
    bool fineOk = false;
    const double perDay = finePerDay.isNull() ? 0.0 : finePerDay.toDouble(&fineOk);
    if (!fineOk || !std::isfinite(perDay))
        return Problem::NoFinePerDay;

    const qint64 actual = lendDate.daysTo(today);
    if (!fitsInt16(actual) || !fitsInt16(*period))
        return Problem::OutOfRange;
    const qint64 difference = actual - *period;
    if (!fitsInt16(difference))
        return Problem::OutOfRange;
    const qint64 overdue = difference < 1 ? 0 : difference;
    // In decimal: a fine of 0.1 a day for three days is 0.3, not 0.30000000000000004.
    const Decimal fine = *Decimal::fromDouble(perDay) * Decimal::fromInt(overdue);
    if (!std::isfinite(fine.toDouble()))
        return Problem::OutOfRange;  // the loan row could not hold it

    if (figures) {
        figures->loanPeriod = NumberText::fromInt(*period);
        figures->returnDate = DateText::toText(today);
        figures->actualDays = NumberText::fromInt(actual);
        figures->overdueDays = NumberText::fromInt(overdue);
        figures->fine = fine.toText();
    }
    return Problem::None;
}

}  // namespace lendora
