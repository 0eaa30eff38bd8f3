#pragma once

#include "core/circulation/LoanLimit.h"
#include "core/circulation/LoanStore.h"
#include "data/Store.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

namespace lendora {

// What a loan receipt says: the books a reader took on one day and still holds, and how many
// more the reader may take.
struct LoanReceipt {
    struct Book {
        QString id, name;
        QDate due;  // invalid when the category has no usable loan period
    };
    QString readerId, readerName;
    QDate day;
    QList<Book> books;  // by book number
    LoanLimit::Remaining remaining;
};

// What a fine receipt says: the figures of the return as they were stored.
struct FineReceipt {
    QString readerId, readerName, bookId, bookName;
    QString lendDate, returnDate, overdueDays, finePerDay, fine;

    static FineReceipt of(const LoanStore::ReturnQuote &quote);
};

class ReceiptFacts : public Store {
public:
    using Store::Store;

    // nullopt when the engine failed (lastError() says why) or there is no such reader; a
    // reader who took nothing that day gets a receipt with no books.
    std::optional<LoanReceipt> loansOf(const QString &readerId, const QDate &day);
};

}  // namespace lendora
