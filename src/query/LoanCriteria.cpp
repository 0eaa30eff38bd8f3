#include "query/LoanCriteria.h"

#include "circulation/LoanStore.h"
#include "data/Backend.h"

namespace lendora {

QList<SqlCondition> LoanCriteria::conditions(const Backend &backend) const
{
    // The join makes a loan's book and reader numbers equal to those of its book and reader,
    // so they are matched there: the book and reader tables are far smaller than the loans,
    // and the book numbers have a text index.
    QList<SqlCondition> used;
    if (!bookId.isEmpty())
        used << backend.match(QStringLiteral("bookInfo.书籍编号"), bookId, partial);
    if (!title.isEmpty())
        used << backend.match(QStringLiteral("bookInfo.书籍名称"), title, partial);
    if (!readerId.isEmpty())
        used << backend.match(QStringLiteral("readerInfo.读者编号"), readerId, partial);
    if (!readerName.isEmpty())
        used << backend.match(QStringLiteral("readerInfo.读者姓名"), readerName, partial);
    return used;
}

BoundQuery LoanCriteria::query(const Backend &backend) const
{
    // Open and returned loans alike, joined as the desk lists loans everywhere.
    BoundQuery query =
        BoundQuery::of(LoanStore::loanRowsSql(), LoanStore::loanJoinSql(), conditions(backend));
    query.sql += QStringLiteral(" order by ") + backend.rowKey(QStringLiteral("lentInfo"));
    return query;
}

}  // namespace lendora
