#include "core/query/BookCriteria.h"

#include "base/DateText.h"
#include "core/catalogue/CategoryStore.h"
#include "data/SqlDialect.h"

namespace lendora {

namespace {
// The grid picks its columns from the row by name.
const QString kSelect = QStringLiteral("select bookInfo.* from bookInfo");
}  // namespace

QList<SqlCondition> BookCriteria::conditions(const SqlDialect &dialect) const
{
    QList<SqlCondition> used;
    if (!bookId.isEmpty())
        used << dialect.match(QStringLiteral("bookInfo.书籍编号"), bookId, partial);
    if (!title.isEmpty())
        used << dialect.match(QStringLiteral("bookInfo.书籍名称"), title, partial);
    if (!category.isEmpty())
        used << dialect.match(QStringLiteral("bookInfo.类别代码"), Category::codeOf(category),
                              partial);
    if (!publisher.isEmpty())
        used << dialect.match(QStringLiteral("bookInfo.出版社"), publisher, partial);
    // A date has no parts to match partially: either way it means that calendar day.
    if (entered)
        used << SqlCondition{
            QStringLiteral("bookInfo.登记日期=?"), {DateText::toSql(*entered)}, {}, {}};
    return used;
}

BoundQuery BookCriteria::query(const SqlDialect &dialect) const
{
    const QList<SqlCondition> used = conditions(dialect);
    BoundQuery query = BoundQuery::of(kSelect, QString(), used);
    // The books in entry order; an index that finds them gives that order itself.
    QString key = dialect.rowKey(QStringLiteral("bookInfo"));
    for (const SqlCondition &condition : used) {
        if (!condition.key.isEmpty()) {
            key = condition.key;
            break;
        }
    }
    query.sql += QStringLiteral(" order by ") + key;
    return query;
}

BoundQuery BoundQuery::of(const QString &select, const QString &where,
                          const QList<SqlCondition> &conditions)
{
    BoundQuery query{select, {}};
    for (const SqlCondition &condition : conditions) {
        for (const QString &table : condition.tables)
            query.sql += QStringLiteral(", ") + table;
    }
    query.sql += where;
    bool first = where.isEmpty();
    for (const SqlCondition &condition : conditions) {
        query.sql += first ? QStringLiteral(" where ") : QStringLiteral(" and ");
        query.sql += condition.sql;
        query.values << condition.values;
        first = false;
    }
    return query;
}

}  // namespace lendora
