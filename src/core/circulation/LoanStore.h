#pragma once

#include "core/circulation/Fines.h"
#include "core/circulation/LoanLimit.h"
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
        QString readerId, readerName;  // who holds the book
        QString name, price, category, pages;
        QDate lendDate;       // invalid when the row holds none
        QVariant loanPeriod;  // 借出天数 as stored, null when not set
    };

    // A return as its lookup worked it out: the loan it closes (the book, its holder and the
    // lending date) and the figures it stores, at the rule read then.
    struct ReturnQuote {
        QString bookId;
        OpenLoan loan;
        Rules rules;
        Fines::Figures figures;
    };

    // The reader's open loans and what the limit still allows, as a lend left them.
    struct ReaderCounts {
        qint64 openLoans = 0;
        LoanLimit::Remaining remaining;
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
    // The book's open loan with the figures of its return on `returnDate` at the rules in
    // force. Found::Yes with a `problem` other than None: the loan is there but its figures
    // cannot be worked out (the quote then holds the loan alone).
    Found quoteReturn(const QString &bookId, const QDate &returnDate, ReturnQuote *quote,
                      QString *missing, Fines::Problem *problem);

    // Open loans counted exactly as the grid lists them.
    std::optional<qint64> openLoanCount(const QString &readerId);

    // Checks everything again at this moment, in one transaction with the two writes: the
    // limit for this reader, the reader, the book, the book not on loan. Reads the rules once
    // and counts the reader's loans once; `after` gets the counts the lend leaves.
    LendResult lend(const QString &readerId, const QString &bookId, const QDate &lendDate,
                    QString *missing = nullptr, ReaderCounts *after = nullptr);
    // Stores the quote's figures into the loan it quoted, while that loan is still open with
    // the same holder and lending date, and clears the lent flag.
    ReturnResult returnBook(const ReturnQuote &quote);
    // Moves the lending date of the reader's open loan of the book lent on `shownLendDate`.
    RenewResult renew(const QString &bookId, const QString &readerId, const QString &shownLendDate,
                      const QDate &newLendDate);

private:
    // After a failed commit: whether `sql` (a count) finds the change, on the connection
    // opened again.
    WriteTransaction::Look lookFor(const QString &sql, const QVariantList &values);
};

}  // namespace lendora
