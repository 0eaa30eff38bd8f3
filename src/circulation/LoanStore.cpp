#include "circulation/LoanStore.h"

#include "base/DateText.h"
#include "circulation/LoanLimit.h"
#include "data/SharedDatabase.h"
#include "settings/LibraryRules.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace lendora {

namespace {

// The open loans of one reader. The listing and the count share their tables and conditions,
// so the lending limit counts exactly the loans the grid shows.
const QString kOpenLoansFrom = QStringLiteral(
    " from readerInfo,bookInfo,lentInfo,bookType "
    " where readerInfo.读者编号=lentInfo.读者编号 and bookInfo.书籍编号=lentInfo.书籍编号 and "
    " lentInfo.读者编号=? and bookType.类别代码=bookInfo.类别代码 and lentInfo.还书日期 is null");
const QString kOpenLoansColumns = QStringLiteral(
    "select lentInfo.读者编号,readerInfo.读者姓名,lentInfo.书籍编号,"
    " bookInfo.书籍名称,bookType.书籍类别,bookInfo.出版社,bookInfo.书籍页码,lentInfo.借书日期,"
    " lentInfo.还书日期,lentInfo.超出天数,lentInfo.罚款金额");

const QString kReader = QStringLiteral("select * from readerInfo where 读者编号=?");
const QString kBook = QStringLiteral(
    "select bookInfo.书籍名称,bookInfo.书籍价格,bookInfo.出版社,bookInfo.书籍页码,"
    "bookInfo.是否借出,bookType.书籍类别 from bookInfo,bookType where bookInfo.书籍编号=?"
    " and bookInfo.类别代码=bookType.类别代码");
const QString kBookOpenLoans =
    QStringLiteral("select count(*) from lentInfo where 书籍编号=? and 还书日期 is null");
const QString kOpenLoanOfBook = QStringLiteral(
    "select bookInfo.书籍价格,"
    " bookInfo.书籍名称,bookInfo.书籍页码,lentInfo.借书日期,bookType.书籍类别,bookType.借出天数"
    " from readerInfo,bookInfo,lentInfo,bookType where readerInfo.读者编号=lentInfo.读者编号"
    " and bookInfo.书籍编号=lentInfo.书籍编号 and bookInfo.书籍编号=?"
    " and bookInfo.类别代码=bookType.类别代码"
    " and lentInfo.还书日期 is null");
const QString kAddLoan =
    QStringLiteral("insert into lentInfo (读者编号,书籍编号,借书日期) values (?,?,?)");
const QString kSetLentFlag = QStringLiteral("update bookInfo set 是否借出=? where 书籍编号=?");
const QString kCloseLoan = QStringLiteral(
    "update lentInfo set 还书日期=?,超出天数=?,罚款金额=? where 书籍编号=? and 借书日期=?"
    " and 还书日期 is null");
const QString kMoveLendDate =
    QStringLiteral("update lentInfo set 借书日期=? where 书籍编号=? and 读者编号=? and 借书日期=?"
                   " and 还书日期 is null");

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

// One statement's outcome: whether it ran, and its first row when it has one.
struct LoanStore::Step {
    bool ok = false;
    bool found = false;
    QSqlRecord row;
};

QString LoanStore::openLoansSql()
{
    return kOpenLoansColumns + kOpenLoansFrom;
}

LoanStore::Step LoanStore::first(const QString &sql, const QVariantList &values)
{
    QSqlQuery &query = m_database.prepared(sql);
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    Step step;
    if (!query.exec()) {
        m_lastError = query.lastError().text();
        query.finish();
        return step;
    }
    step.ok = true;
    if (query.next()) {
        step.found = true;
        step.row = query.record();
    }
    query.finish();
    return step;
}

int LoanStore::change(const QString &sql, const QVariantList &values)
{
    return m_database.change(sql, values, &m_lastError);
}

LoanStore::Found LoanStore::findReader(const QString &readerId, QString *name)
{
    const Step step = first(kReader, {readerId});
    if (!step.ok)
        return Found::Failed;
    if (!step.found)
        return Found::No;
    const QVariant value = step.row.value(QStringLiteral("读者姓名"));
    if (value.isNull())
        return Found::Incomplete;
    if (name)
        *name = value.toString();
    return Found::Yes;
}

LoanStore::Found LoanStore::findBook(const QString &bookId, BookDetails *book, QString *missing)
{
    const Step step = first(kBook, {bookId});
    if (!step.ok)
        return Found::Failed;
    if (!step.found)
        return Found::No;
    const QSqlRecord &row = step.row;
    const QString null = firstNull(
        row, {{0, "书籍名称"}, {1, "书籍价格"}, {5, "书籍类别"}, {2, "出版社"}, {3, "书籍页码"}});
    if (!null.isEmpty()) {
        if (missing)
            *missing = null;
        return Found::Incomplete;
    }
    // A book is out while its flag is set or while a loan of it is open.
    const Step open = first(kBookOpenLoans, {bookId});
    if (!open.ok)
        return Found::Failed;
    if (book) {
        book->name = row.value(0).toString();
        book->price = row.value(1).toString();
        book->publisher = row.value(2).toString();
        book->pages = row.value(3).toString();
        book->category = row.value(5).toString();
        book->onLoan = row.value(4).toInt() != 0 || open.row.value(0).toLongLong() > 0;
    }
    return Found::Yes;
}

LoanStore::Found LoanStore::findOpenLoan(const QString &bookId, OpenLoan *loan, QString *missing)
{
    const Step step = first(kOpenLoanOfBook, {bookId});
    if (!step.ok)
        return Found::Failed;
    if (!step.found)
        return Found::No;
    const QSqlRecord &row = step.row;
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
    }
    return Found::Yes;
}

std::optional<qint64> LoanStore::openLoanCount(const QString &readerId)
{
    const Step step = first(QStringLiteral("select count(*)") + kOpenLoansFrom, {readerId});
    if (!step.ok || !step.found)
        return std::nullopt;
    return step.row.value(0).toLongLong();
}

LoanStore::LendResult LoanStore::lend(const QString &readerId, const QString &bookId,
                                      const QDate &lendDate, QString *missing)
{
    m_lastError.clear();
    QSqlDatabase db = m_database.db();
    Transaction transaction(db);
    if (!transaction.isActive()) {
        m_lastError = db.lastError().text();
        return LendResult::Failed;
    }

    // The limit first, as the desk always checked it, then what must be true to lend.
    LibraryRules rulesRow(m_database);
    const std::optional<Rules> rules = rulesRow.read();
    if (!rulesRow.lastError().isEmpty()) {
        m_lastError = rulesRow.lastError();
        return LendResult::Failed;
    }
    const std::optional<qint64> count = openLoanCount(readerId);
    if (!count)
        return LendResult::Failed;
    const LoanLimit::Remaining remaining =
        LoanLimit::remaining(rules ? rules->bookLimit : QVariant(), *count);
    if (remaining.problem == LoanLimit::Problem::NotSet)
        return LendResult::LimitNotSet;
    if (remaining.problem == LoanLimit::Problem::Invalid)
        return LendResult::LimitInvalid;
    if (!remaining.allowsAnother())
        return LendResult::LimitReached;

    const Step reader = first(kReader, {readerId});
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

    if (change(kAddLoan, {readerId, bookId, DateText::toSql(lendDate)}) != 1)
        return LendResult::Failed;
    if (change(kSetLentFlag, {1, bookId}) != 1)
        return LendResult::Failed;
    if (!transaction.commit()) {
        m_lastError = db.lastError().text();
        return LendResult::Failed;
    }
    return LendResult::Lent;
}

LoanStore::ReturnResult LoanStore::returnBook(const ReturnSlip &slip)
{
    m_lastError.clear();
    const QDate lendDate = DateText::fromText(slip.lendDate);
    if (!lendDate.isValid())
        return ReturnResult::NoOpenLoan;
    const QDate returnDate = DateText::fromText(slip.returnDate);
    bool overdueOk = false;
    bool fineOk = false;
    const int overdue = slip.overdueDays.toInt(&overdueOk);
    const double fine = slip.fine.toDouble(&fineOk);
    if (!returnDate.isValid() || !overdueOk || !fineOk) {
        m_lastError = QStringLiteral("还书日期、超出天数或罚款金额不正确");
        return ReturnResult::Failed;
    }

    QSqlDatabase db = m_database.db();
    Transaction transaction(db);
    if (!transaction.isActive()) {
        m_lastError = db.lastError().text();
        return ReturnResult::Failed;
    }
    const int closed = change(kCloseLoan, {DateText::toSql(returnDate), overdue, fine, slip.bookId,
                                           DateText::toSql(lendDate)});
    if (closed < 0)
        return ReturnResult::Failed;
    if (closed == 0)
        return ReturnResult::NoOpenLoan;
    if (change(kSetLentFlag, {0, slip.bookId}) < 0)
        return ReturnResult::Failed;
    if (!transaction.commit()) {
        m_lastError = db.lastError().text();
        return ReturnResult::Failed;
    }
    return ReturnResult::Returned;
}

LoanStore::RenewResult LoanStore::renew(const QString &bookId, const QString &readerId,
                                        const QString &shownLendDate, const QDate &newLendDate)
{
    m_lastError.clear();
    const QDate shown = DateText::fromText(shownLendDate);
    if (!shown.isValid())
        return RenewResult::NoOpenLoan;
    QSqlDatabase db = m_database.db();
    Transaction transaction(db);
    if (!transaction.isActive()) {
        m_lastError = db.lastError().text();
        return RenewResult::Failed;
    }
    const int moved = change(
        kMoveLendDate, {DateText::toSql(newLendDate), bookId, readerId, DateText::toSql(shown)});
    if (moved < 0)
        return RenewResult::Failed;
    if (moved == 0)
        return RenewResult::NoOpenLoan;
    if (!transaction.commit()) {
        m_lastError = db.lastError().text();
        return RenewResult::Failed;
    }
    return RenewResult::Renewed;
}

}  // namespace lendora
