#include "core/circulation/LoanLimit.h"

#include "core/circulation/Fines.h"

namespace lendora {

LoanLimit::Remaining LoanLimit::remaining(const QVariant &bookLimit, qint64 openLoans)
{
    if (bookLimit.isNull() || !bookLimit.isValid())
        return {Problem::NotSet, 0};
    const std::optional<qint64> limit = Fines::wholeNumber(bookLimit);
    constexpr qint64 kFar = qint64(1) << 40;  // keeps the subtraction itself in range
    if (!limit || *limit < -kFar || *limit > kFar || openLoans < 0 || openLoans > kFar)
        return {Problem::Invalid, 0};
    const qint64 left = static_cast<qint64>(*limit) - openLoans;
    if (!Fines::fitsInt16(left))
        return {Problem::Invalid, 0};
    return {Problem::None, static_cast<int>(left)};
}

}  // namespace lendora
