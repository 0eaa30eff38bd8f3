#pragma once

#include "data/SqlCondition.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariantList>
#include <optional>

namespace lendora {

class SqlDialect;

// A query's text and its bound values, in order.
struct BoundQuery {
    QString sql;
    QVariantList values;
    // Where not empty, a count of the same rows that runs sooner than counting `sql`.
    QString countSql = QString();
    QVariantList countValues = QVariantList();

    // "select ... from <tables>" with the tables the conditions read added to its FROM list,
    // then `where` (a WHERE clause of its own, or empty) and the conditions joined by "and".
    static BoundQuery of(const QString &select, const QString &where,
                         const QList<SqlCondition> &conditions);
};

// The book search: five criteria, each used when filled (any text but the empty one, blanks
// included), matched exactly or all partially at once.
struct BookCriteria {
    QString bookId;                // 书籍编号
    QString title;                 // 书籍名称
    QString category;              // the category box's text; its first character is the code
    QString publisher;             // 出版社
    std::optional<QDate> entered;  // 登记日期, when the date criterion is ticked
    bool partial = false;

    // The conditions in use, in the order book number, title, category, publisher, date, as
    // the engine behind `dialect` matches text.
    QList<SqlCondition> conditions(const SqlDialect &dialect) const;
    // The books matching every condition.
    BoundQuery query(const SqlDialect &dialect) const;
};

}  // namespace lendora
