#include "core/circulation/LoanLimit.h"

#include "core/circulation/Fines.h"

namespace lendora {

LoanLimit::Remaining LoanLimit::remaining(const Rules &rules, qint64 openLoans)
{
    switch (rules.limitProblem) {
    case Rules::Problem::NotSet:
        return {Problem::NotSet, 0};
    case Rules::Problem::Invalid:
        return {Problem::Invalid, 0};
    case Rules::Problem::None:
        break;
    }
    constexpr qint64 kFar = qint64(1) << 40;  // keeps the subtraction itself in range
    if (openLoans < 0 || openLoans > kFar)
        return {Problem::Invalid, 0};
    const qint64 left = rules.bookLimit - openLoans;
    if (!Fines::fitsInt16(left))
        return {Problem::Invalid, 0};
    return {Problem::None, static_cast<int>(left)};
}

}  // namespace lendora
