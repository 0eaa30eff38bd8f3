#include "core/circulation/DaySheet.h"

#include "base/DateText.h"
#include "base/NumberText.h"

#include <QCoreApplication>
#include <QSqlRecord>
#include <algorithm>

namespace lendora {

namespace {

const char *const kLent = QT_TRANSLATE_NOOP("lendora::DaySheet", "借出");
const char *const kReturned = QT_TRANSLATE_NOOP("lendora::DaySheet", "还书");
const char *const kTotals =
    QT_TRANSLATE_NOOP("lendora::DaySheet", "借出(含续借) %1 册,还书 %2 册,罚款合计 %3 元");
const char *const kRenewalNote = QT_TRANSLATE_NOOP(
    "lendora::DaySheet", "续借的图书计入续借当天的借出,不再计入最初借出的那一天。");

// Outer joins: a row's names may be gone, its movement and its money are not.
const QString kMovements = QStringLiteral(
    "select lentInfo.读者编号,readerInfo.读者姓名,lentInfo.书籍编号,bookInfo.书籍名称,"
    "lentInfo.借书日期,lentInfo.还书日期,lentInfo.超出天数,lentInfo.罚款金额 from lentInfo"
    " left join readerInfo on readerInfo.读者编号=lentInfo.读者编号"
    " left join bookInfo on bookInfo.书籍编号=lentInfo.书籍编号"
    " where lentInfo.借书日期=? or lentInfo.还书日期=?");

// A count or an amount as stored, shown as the grids show numbers; empty when none is stored.
QString storedNumber(const QVariant &value)
{
    return value.isNull() ? QString() : NumberText::fromDouble(value.toDouble());
}

bool listedBefore(const DaySheet::Entry &a, const DaySheet::Entry &b)
{
    if (a.kind != b.kind)
        return a.kind == DaySheet::Kind::Lent;
    if (a.readerId != b.readerId)
        return a.readerId < b.readerId;
    if (a.bookId != b.bookId)
        return a.bookId < b.bookId;
    return a.lendDate < b.lendDate;
}

}  // namespace

std::optional<QList<DaySheet::Entry>> DaySheet::find(const QDate &day)
{
    clearError();
    if (!day.isValid())
        return QList<Entry>();
    const QVariant dayValue = DateText::toSql(day);
    QList<Entry> rows;
    const bool ran = forEach(kMovements, {dayValue, dayValue}, [&](const QSqlRecord &record) {
        Entry row;
        row.readerId = record.value(0).toString();
        row.readerName = record.value(1).toString();
        row.bookId = record.value(2).toString();
        row.bookName = record.value(3).toString();
        row.lendDate = DateText::fromSql(record.value(4));
        // Lent and returned the same day: one row of each kind.
        if (row.lendDate == day)
            rows << row;
        if (DateText::fromSql(record.value(5)) == day) {
            row.kind = Kind::Returned;
            row.overdueDays = storedNumber(record.value(6));
            row.fine = storedNumber(record.value(7));
            rows << row;
        }
    });
    if (!ran)
        return std::nullopt;
    std::sort(rows.begin(), rows.end(), listedBefore);
    return rows;
}

DaySheet::Totals DaySheet::totals(const QList<Entry> &rows)
{
    Totals totals;
    for (const Entry &row : rows) {
        if (row.kind == Kind::Lent) {
            ++totals.lent;
            continue;
        }
        ++totals.returned;
        if (const std::optional<Decimal> fine = Decimal::parse(row.fine))
            totals.fines += *fine;
    }
    return totals;
}

QString DaySheet::kindText(Kind kind)
{
    return QCoreApplication::translate("lendora::DaySheet", kind == Kind::Lent ? kLent : kReturned);
}

QString DaySheet::totalsText(const Totals &totals)
{
    return QCoreApplication::translate("lendora::DaySheet", kTotals)
        .arg(NumberText::fromInt(totals.lent), NumberText::fromInt(totals.returned),
             totals.fines.toText());
}

QString DaySheet::renewalNote()
{
    return QCoreApplication::translate("lendora::DaySheet", kRenewalNote);
}

}  // namespace lendora
