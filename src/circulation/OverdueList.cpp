#include "circulation/OverdueList.h"

#include "base/DateText.h"
#include "base/NumberText.h"
#include "circulation/LoanStore.h"
#include "settings/LibraryRules.h"

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
        + LoanStore::loanJoinSql() + QStringLiteral(" and lentInfo.还书日期 is null");
    return sql;
}
// Leaves out loans too recent to be overdue in any category; loans whose figures cannot be
// worked out stay in, to be listed with their problem.
const QString kLentBefore = QStringLiteral(
    " and (lentInfo.借书日期 is null or bookType.借出天数 is null"
    " or bookType.借出天数 < -32768 or bookType.借出天数 > 32767 or lentInfo.借书日期 <= ?)");
const QString kOfDepartment = QStringLiteral(" and readerInfo.所在部门=?");
const QString kShortestPeriod =
    QStringLiteral("select min(借出天数) from bookType where 借出天数 between -32768 and 32767");
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
    if (fineOk && !finePerDay.isNull() && std::isfinite(perDay)) {
        const Row shortest = first(kShortestPeriod);
        if (!shortest.ok)
            return std::nullopt;
        const QVariant period = shortest.record.value(0);
        if (!period.isNull()) {
            sql += kLentBefore;
            values << DateText::toSql(criteria.asOf.addDays(-minDays - period.toLongLong()));
        }
    }
    if (!criteria.department.isEmpty()) {
        sql += kOfDepartment;
        values << criteria.department;
    }

    QList<Entry> rows;
    const bool ran = forEach(sql, values, [&](const QSqlRecord &record) {
        Entry row;
        row.lendDate = DateText::fromSql(record.value(6));
        // Not out yet at that date, whatever its figures.
        if (row.lendDate.isValid() && row.lendDate > criteria.asOf)
            return;
        const QVariant loanPeriod = record.value(7);
        Fines::Figures figures;
        row.problem = Fines::compute(row.lendDate, loanPeriod, criteria.asOf, finePerDay, &figures);
        if (row.problem == Fines::Problem::None) {
            row.overdueDays = figures.overdueDays.toLongLong();
            if (row.overdueDays < minDays)
                return;
            row.fine = figures.fine;
        }
        if (const std::optional<qint64> period = Fines::wholeNumber(loanPeriod);
            period && row.lendDate.isValid())
            row.dueDate = row.lendDate.addDays(*period);
        row.readerId = record.value(0).toString();
        row.readerName = record.value(1).toString();
        row.phone = record.value(2).toString();
        row.department = record.value(3).toString();
        row.bookId = record.value(4).toString();
        row.bookName = record.value(5).toString();
        rows << row;
    });
    if (!ran)
        return std::nullopt;
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
