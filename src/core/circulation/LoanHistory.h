#pragma once

#include "base/Decimal.h"
#include "data/Store.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

namespace lendora {

// Every loan of one reader, open and returned. A renewal moves a loan's lending date, so a
// renewed loan shows its last renewal as its lending date. Loans of a deleted book stay listed,
// without the book's name.
class LoanHistory : public Store {
public:
    struct Entry {
        QString bookId, bookName;
        QDate lendDate;
        QDate dueDate;        // invalid when the lending date or the loan period is missing
        QDate returnDate;     // invalid while the loan is open
        QString overdueDays;  // as stored at the return; empty while open
        QString fine;         // as stored at the return; empty while open
    };

    struct Totals {
        qint64 loans = 0;
        qint64 open = 0;
        Decimal fines;
    };

    using Store::Store;

    // Oldest first. nullopt when the engine failed (lastError() says why).
    std::optional<QList<Entry>> find(const QString &readerId);

    static Totals totals(const QList<Entry> &rows);
    static QString totalsText(const Totals &totals);
};

}  // namespace lendora
