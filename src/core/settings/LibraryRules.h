#pragma once

#include "data/Store.h"

#include <QString>
#include <QVariant>
#include <optional>

namespace lendora {

// The two library-wide lending rules, the first row of basicSet.
struct Rules {
    QVariant bookLimit;   // 借出册数: most books one reader may hold; null when not set
    QVariant finePerDay;  // 罚款: fine per overdue day in yuan; null when not set
};

class LibraryRules : public Store {
public:
    enum class SaveResult {
        Saved,
        BadValue,  // a text that is not a valid rule; nothing written
        Failed,    // the database refused the write; nothing written
    };

    using Store::Store;

    // The first row; nullopt when the table has none or the engine failed (then lastError()
    // says why).
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
