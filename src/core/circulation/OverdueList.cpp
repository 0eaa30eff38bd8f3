#include "core/circulation/OverdueList.h"

#include "base/DateText.h"
#include "base/NumberText.h"
#include "core/circulation/DueDate.h"
#include "core/circulation/OpenLoans.h"
#include "core/settings/LibraryRules.h"

#include <QCoreApplication>
#include <QSet>
#include <QSqlRecord>
#include <algorithm>

namespace lendora {

namespace {

// Why a loan's figures are missing, or what of it is gone, in its 说明.
const char *const kNoLendDate = QT_TRANSLATE_NOOP("lendora::OverdueList", "没有有效的借书日期");
const char *const kNoLoanPeriod =
    QT_TRANSLATE_NOOP("lendora::OverdueList", "该书类别没有设定有效的借出天数");
const char *const kNoFinePerDay =
    QT_TRANSLATE_NOOP("lendora::OverdueList", "没有设定有效的罚款金额");
const char *const kOutOfRange = QT_TRANSLATE_NOOP("lendora::OverdueList", "天数超出范围");
const char *const kReaderGone = QT_TRANSLATE_NOOP("lendora::OverdueList", "该读者已删除");
const char *const kBookGone = QT_TRANSLATE_NOOP("lendora::OverdueList", "该书已从书库删除");
const char *const kCategoryGone = QT_TRANSLATE_NOOP("lendora::OverdueList", "该书的类别已删除");
// Two reasons in one note.
const char *const kBoth = QT_TRANSLATE_NOOP("lendora::OverdueList", "%1；%2");

QString tr(const char *text)
{
    return QCoreApplication::translate("lendora::OverdueList", text);
}

// Every open loan with what its reader, book and category rows still hold: a loan whose rows
// were deleted since is still out. The last three columns say which rows are there.
const QString &openLoans()
{
    static const QString sql =
        QStringLiteral("select lentInfo.读者编号,readerInfo.读者姓名,readerInfo.联系电话,"
                       "readerInfo.所在部门,lentInfo.书籍编号,bookInfo.书籍名称,"
                       "lentInfo.借书日期,bookType.借出天数,readerInfo.读者编号,"
                       "bookInfo.书籍编号,bookType.类别代码 from lentInfo"
                       " left join readerInfo on readerInfo.读者编号=lentInfo.读者编号"
                       " left join bookInfo on bookInfo.书籍编号=lentInfo.书籍编号"
                       " left join bookType on bookType.类别代码=bookInfo.类别代码 where ")
        + OpenLoans::condition(QStringLiteral("lentInfo"));
    return sql;
}
// The columns of openLoans(), in order.
enum Column {
    ReaderId,
    ReaderName,
    Phone,
    Department,
    BookId,
    BookName,
    LendDate,
    LoanPeriod,
    ReaderRow,
    BookRow,
    CategoryRow
};

// Leaves out loans too recent to be overdue in any category; loans whose figures cannot be
// worked out stay in, to be listed with their problem.
const QString kLentBefore = QStringLiteral(
    " and (lentInfo.借书日期 is null or bookType.借出天数 is null"
    " or bookType.借出天数 < -32768 or bookType.借出天数 > 32767 or lentInfo.借书日期 <= ?)");
const QString kOfDepartment = QStringLiteral(" and readerInfo.所在部门=?");
const QString kPeriods = QStringLiteral(
    "select min(借出天数),max(借出天数) from bookType where 借出天数 between -32768 and 32767");
// Oldest first: the index of open loans by date gives them in this order, so the most overdue
// come first and the first rows need not wait for the last.
const QString kOldestFirst = QStringLiteral(" order by lentInfo.借书日期");
const QString kDepartments =
    QStringLiteral("select distinct 所在部门 from readerInfo where 所在部门 is not null"
                   " and 所在部门<>'' order by 所在部门");

QString problemText(Fines::Problem problem)
{
    switch (problem) {
    case Fines::Problem::NoLendDate:
        return tr(kNoLendDate);
    case Fines::Problem::NoLoanPeriod:
        return tr(kNoLoanPeriod);
    case Fines::Problem::NoFinePerDay:
        return tr(kNoFinePerDay);
    case Fines::Problem::OutOfRange:
        return tr(kOutOfRange);
    case Fines::Problem::None:
        break;
    }
    return {};
}

// The entry of one open loan at `asOf`, or nullopt when it is not listed: not out yet at that
// date, or less overdue than the minimum.
std::optional<OverdueList::Entry> entryOf(const QSqlRecord &record, const QDate &asOf, int minDays,
                                          const Rules &rules)
{
    OverdueList::Entry row;
    row.lendDate = DateText::fromSql(record.value(LendDate));
    // Not out yet at that date, whatever its figures.
    if (row.lendDate.isValid() && row.lendDate > asOf)
        return std::nullopt;
    const QVariant loanPeriod = record.value(LoanPeriod);
    Fines::Figures figures;
    row.problem = Fines::compute(row.lendDate, loanPeriod, asOf, rules, &figures);
    if (row.problem == Fines::Problem::None) {
        row.overdueDays = figures.overdueDays;
        if (row.overdueDays < minDays)
            return std::nullopt;
        row.fine = figures.fine.toText();
    }
    row.dueDate = DueDate::of(row.lendDate, loanPeriod);
    row.readerId = record.value(ReaderId).toString();
    row.readerName = record.value(ReaderName).toString();
    row.phone = record.value(Phone).toString();
    row.department = record.value(Department).toString();
    row.bookId = record.value(BookId).toString();
    row.bookName = record.value(BookName).toString();
    row.readerGone = record.isNull(ReaderRow);
    row.bookGone = record.isNull(BookRow);
    row.categoryGone = !row.bookGone && record.isNull(CategoryRow);
    return row;
}

bool listedBefore(const OverdueList::Entry &a, const OverdueList::Entry &b)
{
    const bool aKnown = a.problem == Fines::Problem::None;
    const bool bKnown = b.problem == Fines::Problem::None;
    if (aKnown != bKnown)
        return aKnown;
    if (a.overdueDays != b.overdueDays)
        return a.overdueDays > b.overdueDays;
    if (a.readerId != b.readerId)
        return a.readerId < b.readerId;
    return a.bookId < b.bookId;
}

}  // namespace

std::optional<QList<OverdueList::Entry>> OverdueList::find(const Criteria &criteria)
{
    return collect(criteria, 0, nullptr);
}

std::optional<QList<OverdueList::Entry>> OverdueList::findFirst(const Criteria &criteria,
                                                                int atLeast, bool *complete)
{
    return collect(criteria, std::max(atLeast, 1), complete);
}

struct OverdueList::Statement {
    QString sql;
    QVariantList values;
    qint64 longest = 0;  // loan periods, of the categories whose period can be used
    qint64 spread = 0;   // the longest less the shortest
};

// The first rows: once `atLeast` rows with figures are in, a loan lent more than `spread` days
// after the last of them is less overdue than every one of them, and so are all after it.
class OverdueList::FirstRows {
public:
    FirstRows(int atLeast, qint64 spread) : m_atLeast(atLeast), m_spread(spread) {}

    // Whether a loan lent on `lent`, and every one after it, can be left unread.
    bool pastNeeded(const QDate &lent) const
    {
        return m_lastNeeded.isValid() && lent.isValid() && m_lastNeeded.daysTo(lent) > m_spread;
    }
    void counted(const Entry &row)
    {
        if (m_atLeast > 0 && ++m_known == m_atLeast)
            m_lastNeeded = row.lendDate;
    }
    // Keeps only what surely comes before every row not read: a row not read is less overdue
    // than the loan that made up `atLeast` would be at the longest period.
    void keepSure(QList<Entry> &rows, const QDate &asOf, qint64 longest) const
    {
        const qint64 least = m_lastNeeded.daysTo(asOf) - longest;
        rows.removeIf([least](const Entry &row) {
            return row.problem != Fines::Problem::None || row.overdueDays < least;
        });
    }

private:
    int m_atLeast;
    qint64 m_spread;
    qint64 m_known = 0;
    QDate m_lastNeeded;  // the lending date of the row that made up `atLeast`
};

std::optional<QList<OverdueList::Entry>> OverdueList::collect(const Criteria &criteria, int atLeast,
                                                              bool *complete)
{
    clearError();
    // The fine rule in force now, as the return tab reads it at each lookup.
    LibraryRules rulesRow(m_database);
    const std::optional<Rules> rules = rulesRow.read();
    if (!rules)
        return failed(rulesRow.lastError(), std::nullopt);
    const std::optional<Statement> query = statement(criteria, *rules);
    if (!query)
        return std::nullopt;

    const int minDays = std::max(criteria.minDays, 1);
    QList<Entry> rows;
    FirstRows firstRows(atLeast, query->spread);
    bool stopped = false;
    const bool ran = forEachWhile(query->sql, query->values, [&](const QSqlRecord &record) {
        if (firstRows.pastNeeded(DateText::fromSql(record.value(LendDate)))) {
            stopped = true;
            return false;
        }
        std::optional<Entry> row = entryOf(record, criteria.asOf, minDays, *rules);
        if (!row)
            return true;
        if (row->problem == Fines::Problem::None)
            firstRows.counted(*row);
        rows << std::move(*row);
        return true;
    });
    if (!ran)
        return std::nullopt;
    if (stopped)
        firstRows.keepSure(rows, criteria.asOf, query->longest);
    if (complete)
        *complete = !stopped;
    std::sort(rows.begin(), rows.end(), listedBefore);
    return rows;
}

std::optional<OverdueList::Statement> OverdueList::statement(const Criteria &criteria,
                                                             const Rules &rules)
{
    Statement query;
    query.sql = openLoans();
    // Without a fine rule every open loan has a problem, and is listed.
    if (rules.hasFine()) {
        const Row periods = first(kPeriods);
        if (!periods.ok)
            return std::nullopt;
        const QVariant shortest = periods.record.value(0);
        if (!shortest.isNull()) {
            const int minDays = std::max(criteria.minDays, 1);
            query.sql += kLentBefore;
            query.values << DateText::toSql(
                criteria.asOf.addDays(-minDays - shortest.toLongLong()));
            query.longest = periods.record.value(1).toLongLong();
            query.spread = query.longest - shortest.toLongLong();
        }
    }
    if (!criteria.department.isEmpty()) {
        query.sql += kOfDepartment;
        query.values << criteria.department;
    }
    query.sql += kOldestFirst;
    return query;
}

QStringList OverdueList::departments()
{
    clearError();
    QStringList all;
    forEach(kDepartments, {}, [&](const QSqlRecord &record) { all << record.value(0).toString(); });
    return all;
}

OverdueList::Totals OverdueList::totals(const QList<Entry> &rows)
{
    Totals totals;
    QSet<QString> readers;
    for (const Entry &row : rows) {
        readers.insert(row.readerId);
        if (row.somethingGone())
            ++totals.gone;
        if (const std::optional<Decimal> fine = Decimal::parse(row.fine))
            totals.fines += *fine;
    }
    totals.readers = readers.size();
    totals.books = rows.size();
    return totals;
}

const QStringList &OverdueList::columns()
{
    static const QStringList all = {
        QStringLiteral("读者编号"), QStringLiteral("读者姓名"), QStringLiteral("联系电话"),
        QStringLiteral("所在部门"), QStringLiteral("书籍编号"), QStringLiteral("书籍名称"),
        QStringLiteral("借书日期"), QStringLiteral("应还日期"), QStringLiteral("超出天数"),
        QStringLiteral("应交罚款"), QStringLiteral("说明"),
    };
    return all;
}

QStringList OverdueList::cells(const Entry &entry)
{
    const bool known = entry.problem == Fines::Problem::None;
    return {entry.readerId,
            entry.readerName,
            entry.phone,
            entry.department,
            entry.bookId,
            entry.bookName,
            DateText::toText(entry.lendDate),
            DateText::toText(entry.dueDate),
            known ? NumberText::fromInt(entry.overdueDays) : QString(),
            entry.fine,
            note(entry)};
}

QString OverdueList::note(const Entry &entry)
{
    QStringList why;
    if (entry.readerGone)
        why << tr(kReaderGone);
    if (entry.bookGone)
        why << tr(kBookGone);
    else if (entry.categoryGone)
        why << tr(kCategoryGone);
    // A book or category that is gone is itself why the loan period is missing.
    const bool periodGone = entry.bookGone || entry.categoryGone;
    if (!(periodGone && entry.problem == Fines::Problem::NoLoanPeriod))
        why << problemText(entry.problem);
    why.removeAll(QString());
    QString text = why.value(0);
    for (qsizetype i = 1; i < why.size(); ++i)
        text = tr(kBoth).arg(text, why.at(i));
    return text;
}

}  // namespace lendora
