#include "core/circulation/OverdueList.h"

#include "base/DateText.h"
#include "base/NumberText.h"
#include "core/circulation/DueDate.h"
#include "core/circulation/LoanStore.h"
#include "core/circulation/OpenLoans.h"
#include "core/settings/LibraryRules.h"

#include <QSet>
#include <QSqlRecord>
#include <algorithm>
#include <cmath>

namespace lendora {

namespace {

// Open loans joined as the desk lists them anywhere, so the list never shows a loan the return
// tab cannot find. Built at first use: the join is another file's constant, which a
// constant here could read before it is made.
const QString &openLoans()
{
    static const QString sql =
        QStringLiteral("select lentInfo.读者编号,readerInfo.读者姓名,readerInfo.联系电话,"
                       "readerInfo.所在部门,lentInfo.书籍编号,bookInfo.书籍名称,"
                       "lentInfo.借书日期,bookType.借出天数 from readerInfo,bookInfo,lentInfo,"
                       "bookType")
        + LoanStore::loanJoinSql() + QStringLiteral(" and ")
        + OpenLoans::condition(QStringLiteral("lentInfo"));
    return sql;
}
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

std::optional<QList<OverdueList::Entry>> OverdueList::collect(const Criteria &criteria, int atLeast,
                                                              bool *complete)
{
    clearError();
    // The fine rule in force now, as the return tab reads it at each lookup.
    LibraryRules rulesRow(m_database);
    const std::optional<Rules> rules = rulesRow.read();
    if (rulesRow.lastError().isError())
        return failed(rulesRow.lastError(), std::nullopt);
    const QVariant finePerDay = rules ? rules->finePerDay : QVariant();
    const int minDays = std::max(criteria.minDays, 1);

    QString sql = openLoans();
    QVariantList values;
    // Without a fine rule every open loan has a problem, and is listed.
    bool fineOk = false;
    const double perDay = finePerDay.toDouble(&fineOk);
    qint64 longest = 0;  // loan periods, of the categories whose period can be used
    qint64 spread = 0;   // the longest less the shortest
    if (fineOk && !finePerDay.isNull() && std::isfinite(perDay)) {
        const Row periods = first(kPeriods);
        if (!periods.ok)
            return std::nullopt;
        const QVariant shortest = periods.record.value(0);
        if (!shortest.isNull()) {
            sql += kLentBefore;
            values << DateText::toSql(criteria.asOf.addDays(-minDays - shortest.toLongLong()));
            longest = periods.record.value(1).toLongLong();
            spread = longest - shortest.toLongLong();
        }
    }
    if (!criteria.department.isEmpty()) {
        sql += kOfDepartment;
        values << criteria.department;
    }

    sql += kOldestFirst;

    // The first rows: once `atLeast` known rows are in, a loan lent more than `spread` days
    // after the last of them is less overdue than every one of them, and so are all after it.
    QList<Entry> rows;
    qint64 known = 0;
    QDate lastNeeded;  // the lending date of the known row that made up `atLeast`
    bool stopped = false;
    const bool ran = forEachWhile(sql, values, [&](const QSqlRecord &record) {
        Entry row;
        row.lendDate = DateText::fromSql(record.value(6));
        if (lastNeeded.isValid() && row.lendDate.isValid()
            && lastNeeded.daysTo(row.lendDate) > spread) {
            stopped = true;
            return false;
        }
        // Not out yet at that date, whatever its figures.
        if (row.lendDate.isValid() && row.lendDate > criteria.asOf)
            return true;
        const QVariant loanPeriod = record.value(7);
        Fines::Figures figures;
        row.problem = Fines::compute(row.lendDate, loanPeriod, criteria.asOf, finePerDay, &figures);
        if (row.problem == Fines::Problem::None) {
            row.overdueDays = figures.overdueDays.toLongLong();
            if (row.overdueDays < minDays)
                return true;
            row.fine = figures.fine;
            if (atLeast > 0 && ++known == atLeast)
                lastNeeded = row.lendDate;
        }
        row.dueDate = DueDate::of(row.lendDate, loanPeriod);
        row.readerId = record.value(0).toString();
        row.readerName = record.value(1).toString();
        row.phone = record.value(2).toString();
        row.department = record.value(3).toString();
        row.bookId = record.value(4).toString();
        row.bookName = record.value(5).toString();
        rows << row;
        return true;
    });
    if (!ran)
        return std::nullopt;
    if (stopped) {
        // Only what surely comes before every row not read: a row not read is less overdue
        // than the loan that made up `atLeast` would be at the longest period.
        const qint64 least = lastNeeded.daysTo(criteria.asOf) - longest;
        rows.removeIf([least](const Entry &row) {
            return row.problem != Fines::Problem::None || row.overdueDays < least;
        });
    }
    if (complete)
        *complete = !stopped;
    std::sort(rows.begin(), rows.end(), listedBefore);
    return rows;
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
        QStringLiteral("应交罚款"),
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
            entry.fine};
}

}  // namespace lendora
