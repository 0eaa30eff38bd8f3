#pragma once

#include "data/SharedDatabase.h"
#include "data/Store.h"

#include <QDate>
#include <QString>
#include <QVariant>
#include <optional>

namespace lendora {

// The SQL of the circulation desk: looking up readers, books and open loans, and the three
// writes (lend, return, renew), each one call and one transaction on the shared connection.
// A refused or failed write leaves the database as it was.
class LoanStore : public Store {
public:
    enum class Found {
        Yes,
        No,
        Incomplete,  // the row is there but a column the desk shows is null
        Failed,      // the engine failed; lastError() says why
    };

    struct BookDetails {
        QString name, price, category, publisher, pages;
        bool onLoan = false;  // lent flag set, or an open loan row for the book
    };

    struct OpenLoan {
        QString name, price, category, pages;
        QDate lendDate;       // invalid when the row holds none
        QVariant loanPeriod;  // 借出天数 as stored, null when not set
    };

    enum class LendResult {
        Lent,
        LimitReached,  // the reader's remaining count is 0 or less
        LimitNotSet,   // the rules row has no book limit
        LimitInvalid,  // the book limit cannot be used (not whole, count out of range)
        NoReader,
        NoBook,
        BookIncomplete,  // the book lacks a field the desk shows; `missing` names it
        BookOnLoan,
        Failed,
    };

    // BeforeLending: the date to store is earlier than the loan's lending date (a clock set
    // back); nothing is written.
    enum class ReturnResult { Returned, NoOpenLoan, BeforeLending, Failed };
    enum class RenewResult { Renewed, NoOpenLoan, BeforeLending, Failed };

    // What the return button writes: the texts the tab shows, exactly.
    struct ReturnSlip {
        QString bookId;
        QString lendDate;  // identifies the loan together with the book number
        QString returnDate;
        QString overdueDays;
        QString fine;
    };

    using Store::Store;

    // Loans as the desk lists them anywhere: each joined with its reader, its book and the
    // book's category, so a loan whose reader, book or category is gone is never listed nor
    // counted. The select list of the grids (eleven columns) with the four tables, and the
    // WHERE clause of the join, to which conditions are added with "and".
    static QString loanRowsSql();
    static QString loanJoinSql();
    // The reader's open loans as the current-loans grid lists them, in the order they were
    // lent; one bound value, the reader number.
    static QString openLoansSql(const SqlDialect &dialect);

    Found findReader(const QString &readerId, QString *name);
    // `missing` is the key of the first null column of an Incomplete row (书籍名称 say); a
    // message shows its label (Columns::label), never the key.
    Found findBook(const QString &bookId, BookDetails *book, QString *missing);
    // The book's open loan, whoever holds it: the reader typed on the tab is not asked.
    Found findOpenLoan(const QString &bookId, OpenLoan *loan, QString *missing);

    // Open loans counted exactly as the grid lists them.
    std::optional<qint64> openLoanCount(const QString &readerId);

    // Checks everything again at this moment, in one transaction with the two writes: the
    // limit for this reader, the reader, the book, the book not on loan.
    LendResult lend(const QString &readerId, const QString &bookId, const QDate &lendDate,
                    QString *missing = nullptr);
    // Closes the open loan of the book lent on the slip's date and clears the lent flag.
    ReturnResult returnBook(const ReturnSlip &slip);
    // Moves the lending date of the reader's open loan of the book lent on `shownLendDate`.
    RenewResult renew(const QString &bookId, const QString &readerId, const QString &shownLendDate,
                      const QDate &newLendDate);

private:
    // After a failed commit: whether `sql` (a count) finds the change, on the connection
    // opened again.
    WriteTransaction::Look lookFor(const QString &sql, const QVariantList &values);
};

}  // namespace lendora
