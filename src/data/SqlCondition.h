#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

namespace lendora {

// One condition of a WHERE clause with its bound values, in order, and the tables the FROM
// clause must add for it (a text index it reads). Typed text is always bound, never pasted
// into the SQL.
struct SqlCondition {
    QString sql;
    QVariantList values;
    QStringList tables;
    // Where not empty, an expression equal to the row key of the condition's table that the
    // engine reads the candidate rows in, at no cost: ordering by it needs no sort.
    QString key;

    // Escapes \, % and _ for LIKE ... ESCAPE '\'.
    static QString escapeLike(const QString &text);
};

}  // namespace lendora
