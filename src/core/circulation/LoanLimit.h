#pragma once

#include <QVariant>
#include <optional>

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

    // `bookLimit` is 借出册数 of the rules row (null when not set, or when there is no row).
    static Remaining remaining(const QVariant &bookLimit, qint64 openLoans);
};

}  // namespace lendora
