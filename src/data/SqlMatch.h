#pragma once

#include <QString>
#include <QVariant>

namespace lendora {

// One condition of a WHERE clause with its bound value. Typed text is always bound, never
// pasted into the SQL.
struct SqlCondition {
    QString sql;
    QVariant value;
};

class SqlMatch {
public:
    // Exact: "=" on the whole text, no trimming and no case folding.
    static SqlCondition exact(const QString &column, const QString &text);
    // Partial: the typed text anywhere in the column, matched literally (a typed percent sign,
    // underscore or backslash matches itself).
    static SqlCondition partial(const QString &column, const QString &text);
    static SqlCondition match(const QString &column, const QString &text, bool partial);

    // Escapes \, % and _ for LIKE ... ESCAPE '\'.
    static QString escapeLike(const QString &text);
};

}  // namespace lendora
