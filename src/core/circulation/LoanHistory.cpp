#include "core/circulation/LoanHistory.h"

#include "base/DateText.h"
#include "base/NumberText.h"
#include "core/circulation/DueDate.h"

#include <QCoreApplication>
#include <QSqlRecord>

namespace lendora {

namespace {

const char *const kTotals =
    QT_TRANSLATE_NOOP("lendora::LoanHistory", "借阅 %1 次,未还 %2 册,罚款合计 %3 元");

const QString kLoansOfReader =
    QStringLiteral("select lentInfo.书籍编号,bookInfo.书籍名称,lentInfo.借书日期,bookType.借出天数,"
                   "lentInfo.还书日期,lentInfo.超出天数,lentInfo.罚款金额 from lentInfo"
                   " left join bookInfo on bookInfo.书籍编号=lentInfo.书籍编号"
                   " left join bookType on bookType.类别代码=bookInfo.类别代码"
                   " where lentInfo.读者编号=? order by lentInfo.借书日期,lentInfo.书籍编号");

// A count or an amount as stored, shown as the grids show numbers; empty when none is stored.
QString storedNumber(const QVariant &value)
{
    return value.isNull() ? QString() : NumberText::fromDouble(value.toDouble());
}

}  // namespace

std::optional<QList<LoanHistory::Entry>> LoanHistory::find(const QString &readerId)
{
    clearError();
    QList<Entry> rows;
    const bool ran = forEach(kLoansOfReader, {readerId}, [&](const QSqlRecord &record) {
        Entry row;
        row.bookId = record.value(0).toString();
        row.bookName = record.value(1).toString();
        row.lendDate = DateText::fromSql(record.value(2));
        row.dueDate = DueDate::of(row.lendDate, record.value(3));
        row.returnDate = DateText::fromSql(record.value(4));
        if (!record.value(4).isNull()) {
            row.overdueDays = storedNumber(record.value(5));
            row.fine = storedNumber(record.value(6));
        }
        rows << row;
    });
    if (!ran)
        return std::nullopt;
    return rows;
}

LoanHistory::Totals LoanHistory::totals(const QList<Entry> &rows)
{
    Totals totals;
    totals.loans = rows.size();
    for (const Entry &row : rows) {
        if (!row.returnDate.isValid())
            ++totals.open;
        if (const std::optional<Decimal> fine = Decimal::parse(row.fine))
            totals.fines += *fine;
    }
    return totals;
}

QString LoanHistory::totalsText(const Totals &totals)
{
    return QCoreApplication::translate("lendora::LoanHistory", kTotals)
        .arg(NumberText::fromInt(totals.loans), NumberText::fromInt(totals.open),
             totals.fines.toText());
}

}  // namespace lendora
