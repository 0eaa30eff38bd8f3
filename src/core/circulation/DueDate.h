#pragma once

#include <QDate>
#include <QVariant>

namespace lendora {

// When a loan is due back: its lending date plus its category's loan period.
class DueDate {
public:
    // Invalid when the lending date is, or when the period (借出天数 as stored) is null or not
    // a whole number.
    static QDate of(const QDate &lendDate, const QVariant &loanPeriod);
};

}  // namespace lendora
