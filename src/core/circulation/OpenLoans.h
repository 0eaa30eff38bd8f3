#pragma once

#include <QString>

namespace lendora {

// What makes a loan open: no return date yet. Every statement that looks for open loans adds
// this condition, so the rule is written once; the schema's partial indexes say the same.
class OpenLoans {
public:
    // The condition on lentInfo's return date, qualified with `table` (the loan table's name
    // or alias in the statement) when one is given.
    static QString condition(const QString &table = {});
};

}  // namespace lendora
