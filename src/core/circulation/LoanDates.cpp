#include "core/circulation/LoanDates.h"

#include "base/DateText.h"

namespace lendora {

namespace {
// One statement per column: each max() is read off the end of that column's own index, so the
// answer is instant however many loans there are.
const QString kNewestLent = QStringLiteral("select max(借书日期) from lentInfo");
const QString kNewestReturned = QStringLiteral("select max(还书日期) from lentInfo");
}  // namespace

QDate LoanDates::newest()
{
    clearError();
    QDate newest;
    for (const QString &sql : {kNewestLent, kNewestReturned}) {
        const Row row = first(sql);
        if (!row.ok)
            return {};
        const QDate date = DateText::fromSql(row.record.value(0));
        if (date.isValid() && (!newest.isValid() || date > newest))
            newest = date;
    }
    return newest;
}

}  // namespace lendora
