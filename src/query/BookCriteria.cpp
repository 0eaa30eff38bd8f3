#include "query/BookCriteria.h"

#include "catalogue/PickLists.h"
#include "data/DateText.h"

namespace lendora {

namespace {
// The grid picks its columns from the row by name.
const QString kSelect = QStringLiteral("select * from bookInfo");
}  // namespace

QList<SqlCondition> BookCriteria::conditions() const
{
    QList<SqlCondition> used;
    if (!bookId.isEmpty())
        used << SqlMatch::match(QStringLiteral("书籍编号"), bookId, partial);
    if (!title.isEmpty())
        used << SqlMatch::match(QStringLiteral("书籍名称"), title, partial);
    if (!category.isEmpty())
        used << SqlMatch::match(QStringLiteral("类别代码"), CategoryPickList::codeOf(category),
                                partial);
    if (!publisher.isEmpty())
        used << SqlMatch::match(QStringLiteral("出版社"), publisher, partial);
    // A date has no parts to match partially: either way it means that calendar day.
    if (entered)
        used << SqlCondition{QStringLiteral("登记日期=?"), DateText::toSql(*entered)};
    return used;
}

BoundQuery BookCriteria::query() const
{
    BoundQuery query{kSelect, {}};
    const QList<SqlCondition> used = conditions();
    for (qsizetype i = 0; i < used.size(); ++i) {
        query.sql += i == 0 ? QStringLiteral(" where ") : QStringLiteral(" and ");
        query.sql += used.at(i).sql;
        query.values << used.at(i).value;
    }
    return query;
}

}  // namespace lendora
