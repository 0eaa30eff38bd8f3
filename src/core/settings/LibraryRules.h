#pragma once

#include "data/Store.h"

#include <QString>
#include <QVariant>
#include <optional>

namespace lendora {

// The two library-wide lending rules of basicSet's first row, checked once as they are read:
// a rule that cannot be used says why, so no reader of the rules checks them again.
struct Rules {
    enum class Problem {
        None,
        NotSet,   // null, or no rules row at all
        Invalid,  // the limit is not a whole number in reach; the fine not a finite number
    };

    Problem limitProblem = Problem::NotSet;
    qint64 bookLimit = 0;  // 借出册数: most books one reader may hold, when usable
    Problem fineProblem = Problem::NotSet;
    double finePerDay = 0;  // 罚款: fine per overdue day in yuan, when usable

    // As stored, for the settings window to show what is there.
    QVariant storedLimit;
    QVariant storedFine;

    bool hasLimit() const { return limitProblem == Problem::None; }
    bool hasFine() const { return fineProblem == Problem::None; }
    // The fine per day as the desk shows it ("0.1"); empty when it cannot be used.
    QString fineText() const;

    // The rules a stored row holds (null values for a missing row).
    static Rules from(const QVariant &bookLimit, const QVariant &finePerDay);
};

class LibraryRules : public Store {
public:
    enum class SaveResult {
        Saved,
        BadValue,  // a text that is not a valid rule; nothing written
        Failed,    // the database refused the write; nothing written
    };

    using Store::Store;

    // The first row's rules (both not set when the table has none); nullopt only when the
    // engine failed, and then lastError() says why.
    std::optional<Rules> read();

    // Stores both rules as the clerk typed them. The book limit must be a whole number from 0
    // to 32767, the fine a number not below 0; blanks around either are allowed. A table
    // without a row gains one.
    SaveResult save(const QString &bookLimitText, const QString &fineText);

    // The parsing behind save(): nullopt for a text save() refuses.
    static std::optional<int> bookLimitFrom(const QString &text);
    static std::optional<double> fineFrom(const QString &text);
};

}  // namespace lendora
