#pragma once

#include "core/settings/LibraryRules.h"

namespace lendora {

// How many more books a reader may borrow: the library's limit minus the reader's open loans,
// a 16-bit whole number that may be 0 or negative once the limit was lowered.
class LoanLimit {
public:
    enum class Problem { None, NotSet, Invalid };

    struct Remaining {
        Problem problem = Problem::None;
        int value = 0;  // meaningful only without a problem

        bool allowsAnother() const { return problem == Problem::None && value > 0; }
    };

    static Remaining remaining(const Rules &rules, qint64 openLoans);
};

}  // namespace lendora
