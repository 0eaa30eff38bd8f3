#include "core/circulation/LoanStore.h"

#include "base/DateText.h"
#include "base/Decimal.h"
#include "core/circulation/LoanLimit.h"
#include "core/circulation/OpenLoans.h"
#include "core/settings/LibraryRules.h"
#include "data/SharedDatabase.h"

#include <QCoreApplication>
#include <QSqlRecord>

namespace lendora {

namespace {

// The four tables of a listed loan and the join that ties each loan to its reader, book and
// category: the grids, the limit's count, the return lookup and the loan query all read
// loans through it.
const QString kLoanRows = QStringLiteral(
    "select lentInfo.读者编号,readerInfo.读者姓名,lentInfo.书籍编号,"
    " bookInfo.书籍名称,bookType.书籍类别,bookInfo.出版社,bookInfo.书籍页码,lentInfo.借书日期,"
    " lentInfo.还书日期,lentInfo.超出天数,lentInfo.罚款金额 ");
const QString kLoanTables = QStringLiteral("from readerInfo,bookInfo,lentInfo,bookType");
const QString kLoanJoin = QStringLiteral(
    " where readerInfo.读者编号=lentInfo.读者编号 and bookInfo.书籍编号=lentInfo.书籍编号 and "
    " bookType.类别代码=bookInfo.类别代码");
const QString kOfReaderOpen = QStringLiteral(" and lentInfo.读者编号=? and ")
                              + OpenLoans::condition(QStringLiteral("lentInfo"));

const QString kReader = QStringLiteral("select * from readerInfo where 读者编号=?");
const QString kBook = QStringLiteral(
    "select bookInfo.书籍名称,bookInfo.书籍价格,bookInfo.出版社,bookInfo.书籍页码,"
    "bookInfo.是否借出,bookType.书籍类别 from bookInfo,bookType where bookInfo.书籍编号=?"
    " and bookInfo.类别代码=bookType.类别代码");
const QString kBookOpenLoans =
    QStringLiteral("select count(*) from lentInfo where 书籍编号=? and ") + OpenLoans::condition();
const QString kOpenLoanOfBook =
    QStringLiteral("select bookInfo.书籍价格, bookInfo.书籍名称,bookInfo.书籍页码,"
                   "lentInfo.借书日期,bookType.书籍类别,bookType.借出天数,"
                   "lentInfo.读者编号,readerInfo.读者姓名 ")
    + kLoanTables + kLoanJoin + QStringLiteral(" and bookInfo.书籍编号=? and ")
    + OpenLoans::condition(QStringLiteral("lentInfo"));
const QString kAddLoan =
    QStringLiteral("insert into lentInfo (读者编号,书籍编号,借书日期) values (?,?,?)");
// Only a book not lent yet: set, this changes exactly one row.
const QString kSetLentFlag =
    QStringLiteral("update bookInfo set 是否借出=1 where 书籍编号=? and 是否借出=0");
const QString kClearLentFlag = QStringLiteral("update bookInfo set 是否借出=0 where 书籍编号=?");
const QString kCloseLoan =
    QStringLiteral("update lentInfo set 还书日期=?,超出天数=?,罚款金额=? where 书籍编号=?"
                   " and 读者编号=? and 借书日期=? and ")
    + OpenLoans::condition();
// What a look after a failed commit asks: is the loan there as the write left it?
const QString kLoanLent =
    QStringLiteral("select count(*) from lentInfo where 书籍编号=? and 读者编号=? and 借书日期=?"
                   " and ")
    + OpenLoans::condition();
const QString kLoanReturned =
    QStringLiteral("select count(*) from lentInfo where 书籍编号=? and 借书日期=? and 还书日期=?");
const QString kMoveLendDate =
    QStringLiteral("update lentInfo set 借书日期=? where 书籍编号=? and 读者编号=? and 借书日期=?"
                   " and ")
    + OpenLoans::condition();

// The first of `columns` whose value is null in `row`, or an empty text.
QString firstNull(const QSqlRecord &row,
                  std::initializer_list<std::pair<int, const char *>> columns)
{
    for (const auto &[index, name] : columns) {
        if (row.value(index).isNull())
            return QString::fromUtf8(name);
    }
    return {};
}

}  // namespace

QString LoanStore::loanRowsSql()
{
    return kLoanRows + kLoanTables;
}

QString LoanStore::loanJoinSql()
{
    return kLoanJoin;
}

QString LoanStore::openLoansSql(const SqlDialect &dialect)
{
    return kLoanRows + kLoanTables + kLoanJoin + kOfReaderOpen + QStringLiteral(" order by ")
           + dialect.rowKey(QStringLiteral("lentInfo"));
}

std::optional<qint64> LoanStore::openLoanCount(const QString &readerId)
{
    const Row row = first(
        QStringLiteral("select count(*) ") + kLoanTables + kLoanJoin + kOfReaderOpen, {readerId});
    if (!row.ok || !row.found)
        return std::nullopt;
    return row.record.value(0).toLongLong();
}

LoanStore::Found LoanStore::findReader(const QString &readerId, QString *name)
{
    const Row row = first(kReader, {readerId});
    if (!row.ok)
        return Found::Failed;
    if (!row.found)
        return Found::No;
    const QVariant value = row.record.value(QStringLiteral("读者姓名"));
    if (value.isNull())
        return Found::Incomplete;
    if (name)
        *name = value.toString();
    return Found::Yes;
}

LoanStore::Found LoanStore::findBook(const QString &bookId, BookDetails *book, QString *missing)
{
    const Row found = first(kBook, {bookId});
    if (!found.ok)
        return Found::Failed;
    if (!found.found)
        return Found::No;
    const QSqlRecord &row = found.record;
    const QString null = firstNull(
        row, {{0, "书籍名称"}, {1, "书籍价格"}, {5, "书籍类别"}, {2, "出版社"}, {3, "书籍页码"}});
    if (!null.isEmpty()) {
        if (missing)
            *missing = null;
        return Found::Incomplete;
    }
    // A book is out while its flag is set or while a loan of it is open.
    const Row open = first(kBookOpenLoans, {bookId});
    if (!open.ok)
        return Found::Failed;
    if (book) {
        book->name = row.value(0).toString();
        book->price = row.value(1).toString();
        book->publisher = row.value(2).toString();
        book->pages = row.value(3).toString();
        book->category = row.value(5).toString();
        book->onLoan = row.value(4).toInt() != 0 || open.record.value(0).toLongLong() > 0;
    }
    return Found::Yes;
}

LoanStore::Found LoanStore::findOpenLoan(const QString &bookId, OpenLoan *loan, QString *missing)
{
    const Row found = first(kOpenLoanOfBook, {bookId});
    if (!found.ok)
        return Found::Failed;
    if (!found.found)
        return Found::No;
    const QSqlRecord &row = found.record;
    const QString null =
        firstNull(row, {{1, "书籍名称"}, {0, "书籍价格"}, {4, "书籍类别"}, {2, "书籍页码"}});
    if (!null.isEmpty()) {
        if (missing)
            *missing = null;
        return Found::Incomplete;
    }
    if (loan) {
        loan->price = row.value(0).toString();
        loan->name = row.value(1).toString();
        loan->pages = row.value(2).toString();
        loan->lendDate = DateText::fromSql(row.value(3));
        loan->category = row.value(4).toString();
        loan->loanPeriod = row.value(5);
        loan->readerId = row.value(6).toString();
        loan->readerName = row.value(7).toString();
    }
    return Found::Yes;
}

LoanStore::Found LoanStore::quoteReturn(const QString &bookId, const QDate &returnDate,
                                        ReturnQuote *quote, QString *missing,
                                        Fines::Problem *problem)
{
    clearError();
    ReturnQuote made;
    made.bookId = bookId;
    const Found found = findOpenLoan(bookId, &made.loan, missing);
    if (found != Found::Yes)
        return found;
    // The rules are read at every lookup: a changed fine applies at once.
    LibraryRules rulesRow(m_database);
    const std::optional<Rules> rules = rulesRow.read();
    if (!rules)
        return failed(rulesRow.lastError(), Found::Failed);
    made.rules = *rules;
    const Fines::Problem why =
        Fines::compute(made.loan.lendDate, made.loan.loanPeriod, returnDate, *rules, &made.figures);
    if (problem)
        *problem = why;
    if (quote)
        *quote = made;
    return Found::Yes;
}

WriteTransaction::Look LoanStore::lookFor(const QString &sql, const QVariantList &values)
{
    return [this, sql, values]() -> std::optional<bool> {
        const Row row = first(sql, values);
        if (!row.ok || !row.found)
            return std::nullopt;
        return row.record.value(0).toLongLong() > 0;
    };
}

LoanStore::LendResult LoanStore::lend(const QString &readerId, const QString &bookId,
                                      const QDate &lendDate, QString *missing, ReaderCounts *after)
{
    clearError();
    WriteTransaction transaction(m_database);
    if (!transaction.isActive())
        return failed(transaction.error(), LendResult::Failed);
    // Where the engine locks rows, the reader is locked first: a second desk lending to the
    // same reader waits here and then counts this loan too.
    if (!lockRows(QStringLiteral("readerInfo"), QStringLiteral("读者编号=?"), {readerId}))
        return LendResult::Failed;

    // The limit first, as the desk always checked it, then what must be true to lend.
    LibraryRules rulesRow(m_database);
    const std::optional<Rules> rules = rulesRow.read();
    if (!rules)
        return failed(rulesRow.lastError(), LendResult::Failed);
    const std::optional<qint64> count = openLoanCount(readerId);
    if (!count)
        return LendResult::Failed;
    const LoanLimit::Remaining remaining = LoanLimit::remaining(*rules, *count);
    if (remaining.problem == LoanLimit::Problem::NotSet)
        return LendResult::LimitNotSet;
    if (remaining.problem == LoanLimit::Problem::Invalid)
        return LendResult::LimitInvalid;
    if (!remaining.allowsAnother())
        return LendResult::LimitReached;

    const Row reader = first(kReader, {readerId});
    if (!reader.ok)
        return LendResult::Failed;
    if (!reader.found)
        return LendResult::NoReader;
    // The book as its lookup finds it: one whose category is gone, or that lacks a field the
    // desk shows, could be lent but never listed, counted or returned.
    BookDetails book;
    switch (findBook(bookId, &book, missing)) {
    case Found::Yes:
        break;
    case Found::No:
        return LendResult::NoBook;
    case Found::Incomplete:
        return LendResult::BookIncomplete;
    case Found::Failed:
        return LendResult::Failed;
    }
    if (book.onLoan)
        return LendResult::BookOnLoan;

    if (write(kAddLoan, {readerId, bookId, DateText::toSql(lendDate)}) != 1) {
        // The engine's own guard, one open loan per book: another desk was quicker.
        if (m_lastError.kind == DbError::UniqueViolation)
            return failed({}, LendResult::BookOnLoan);
        return LendResult::Failed;
    }
    switch (write(kSetLentFlag, {bookId})) {
    case 1:
        break;
    case -1:
        return LendResult::Failed;
    default:
        return LendResult::BookOnLoan;  // lent meanwhile; the loan row goes with the rollback
    }
    if (!transaction.commit(lookFor(kLoanLent, {bookId, readerId, DateText::toSql(lendDate)})))
        return failed(transaction.error(), LendResult::Failed);
    if (after)
        *after = {*count + 1, LoanLimit::remaining(*rules, *count + 1)};
    return LendResult::Lent;
}

LoanStore::ReturnResult LoanStore::returnBook(const ReturnQuote &quote)
{
    clearError();
    const QDate lendDate = quote.loan.lendDate;
    const QDate returnDate = quote.figures.returnDate;
    if (!lendDate.isValid() || !returnDate.isValid())
        return ReturnResult::NoOpenLoan;
    // A clock set back would store a loan returned before it was lent.
    if (returnDate < lendDate)
        return ReturnResult::BeforeLending;

    WriteTransaction transaction(m_database);
    if (!transaction.isActive())
        return failed(transaction.error(), ReturnResult::Failed);
    // Only the loan the quote was made for: returned and lent again meanwhile, it is another.
    const int closed = write(kCloseLoan, {DateText::toSql(returnDate), quote.figures.overdueDays,
                                          quote.figures.fine.toDouble(), quote.bookId,
                                          quote.loan.readerId, DateText::toSql(lendDate)});
    if (closed < 0)
        return ReturnResult::Failed;
    if (closed == 0)
        return ReturnResult::NoOpenLoan;
    if (write(kClearLentFlag, {quote.bookId}) < 0)
        return ReturnResult::Failed;
    if (!transaction.commit(lookFor(
            kLoanReturned, {quote.bookId, DateText::toSql(lendDate), DateText::toSql(returnDate)})))
        return failed(transaction.error(), ReturnResult::Failed);
    return ReturnResult::Returned;
}

LoanStore::RenewResult LoanStore::renew(const QString &bookId, const QString &readerId,
                                        const QString &shownLendDate, const QDate &newLendDate)
{
    clearError();
    const QDate shown = DateText::fromText(shownLendDate);
    if (!shown.isValid())
        return RenewResult::NoOpenLoan;
    if (newLendDate < shown)
        return RenewResult::BeforeLending;
    WriteTransaction transaction(m_database);
    if (!transaction.isActive())
        return failed(transaction.error(), RenewResult::Failed);
    const int moved = write(
        kMoveLendDate, {DateText::toSql(newLendDate), bookId, readerId, DateText::toSql(shown)});
    if (moved < 0)
        return RenewResult::Failed;
    if (moved == 0)
        return RenewResult::NoOpenLoan;
    if (!transaction.commit(lookFor(kLoanLent, {bookId, readerId, DateText::toSql(newLendDate)})))
        return failed(transaction.error(), RenewResult::Failed);
    return RenewResult::Renewed;
}

}  // namespace lendora
