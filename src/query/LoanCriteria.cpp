#include "query/LoanCriteria.h"

namespace lendora {

namespace {
// The loans joined with their reader, book and category, as the current-loans grid joins them.
const QString kSelect = QStringLiteral(
    "select lentInfo.读者编号,readerInfo.读者姓名,lentInfo.书籍编号,"
    " bookInfo.书籍名称,bookType.书籍类别,bookInfo.出版社,bookInfo.书籍页码,lentInfo.借书日期,"
    " lentInfo.还书日期,lentInfo.超出天数,lentInfo.罚款金额 "
    "from readerInfo,bookInfo,lentInfo,bookType");
const QString kJoin = QStringLiteral(
    "  where readerInfo.读者编号=lentInfo.读者编号 and bookInfo.书籍编号=lentInfo.书籍编号 "
    " and bookType.类别代码=bookInfo.类别代码 ");
}  // namespace

QList<SqlCondition> LoanCriteria::conditions() const
{
    // The join makes a loan's book and reader numbers equal to those of its book and reader,
    // so they are matched there: the book and reader tables are far smaller than the loans,
    // and the book numbers have a text index.
    QList<SqlCondition> used;
    if (!bookId.isEmpty())
        used << SqlMatch::match(QStringLiteral("bookInfo.书籍编号"), bookId, partial);
    if (!title.isEmpty())
        used << SqlMatch::match(QStringLiteral("bookInfo.书籍名称"), title, partial);
    if (!readerId.isEmpty())
        used << SqlMatch::match(QStringLiteral("readerInfo.读者编号"), readerId, partial);
    if (!readerName.isEmpty())
        used << SqlMatch::match(QStringLiteral("readerInfo.读者姓名"), readerName, partial);
    return used;
}

BoundQuery LoanCriteria::query() const
{
    return BoundQuery::of(kSelect, kJoin, conditions());
}

}  // namespace lendora
