#include "core/circulation/DueDate.h"

#include "core/circulation/Fines.h"

namespace lendora {

QDate DueDate::of(const QDate &lendDate, const QVariant &loanPeriod)
{
    const std::optional<qint64> period = Fines::wholeNumber(loanPeriod);
    if (!period || !lendDate.isValid())
        return {};
    return lendDate.addDays(*period);
}

}  // namespace lendora
