#pragma once

#include "data/SqlCondition.h"

#include <QSqlDatabase>
#include <QString>
#include <optional>

namespace lendora {

// What the stores, criteria and grids ask of the engine: the bits of SQL that are one engine's
// alone, and how typed text is matched. Their own SQL stays portable.
class SqlDialect {
public:
    virtual ~SqlDialect() = default;

    // Typed text against a qualified column ("bookInfo.书籍名称"). Exact: "=" on the whole
    // text. Partial: the text anywhere in the column, matched literally (% _ \ match
    // themselves), ASCII letters in either case.
    virtual SqlCondition exact(const QString &column, const QString &text) const = 0;
    virtual SqlCondition partial(const QString &column, const QString &text) const = 0;
    SqlCondition match(const QString &column, const QString &text, bool partialMatch) const
    {
        return partialMatch ? partial(column, text) : exact(column, text);
    }
    // How many rows of the column's table its text index offers as candidates for the text
    // (matched as match() would), counted up to `atMost`: a cheap upper bound of the rows that
    // match. None when no index serves the text, or the engine plans such joins itself.
    virtual std::optional<qint64> candidates(const QSqlDatabase &db, const QString &column,
                                             const QString &text, bool partialMatch,
                                             qint64 atMost) const
    {
        Q_UNUSED(db);
        Q_UNUSED(column);
        Q_UNUSED(text);
        Q_UNUSED(partialMatch);
        Q_UNUSED(atMost);
        return std::nullopt;
    }
    // As match(), but tested on each row as the rows of another table (whose row key is
    // `driverKey`) are read in order and joined to the column's table, rather than found
    // through an index: for a text so common that the first rows come sooner that way.
    virtual SqlCondition matchEach(const QString &column, const QString &text, bool partialMatch,
                                   const QString &driverKey) const
    {
        Q_UNUSED(driverKey);
        return match(column, text, partialMatch);
    }
    // As match(), but as a test that `foreignKey`, a column of the rows searched, is among the
    // `key` values (a unique column of the column's table) of the rows that match. The engine
    // reads that set once and tests each row by a look-up in it rather than a join. With
    // `findThrough`, it may find the rows through an index of `foreignKey`; without, the rows
    // are read in their own order and each tested.
    virtual SqlCondition matchAmong(const QString &column, const QString &text, bool partialMatch,
                                    const QString &foreignKey, const QString &key,
                                    bool findThrough) const
    {
        Q_UNUSED(findThrough);
        const SqlCondition matched = match(column, text, partialMatch);
        QString from = column.left(column.indexOf(QLatin1Char('.')));
        for (const QString &table : matched.tables)
            from += QStringLiteral(", ") + table;
        return {QStringLiteral("%1 in (select %2 from %3 where %4)")
                    .arg(foreignKey, key, from, matched.sql),
                matched.values,
                {},
                {}};
    }
    // About how many rows `table` holds, read cheaply; -1 when unknown.
    virtual qint64 rowsAbout(const QSqlDatabase &db, const QString &table) const
    {
        Q_UNUSED(db);
        Q_UNUSED(table);
        return -1;
    }

    // A statement that locks the rows of `table` that `condition` selects until the
    // transaction ends, with the condition's values bound; empty where a write transaction
    // already keeps every other writer out.
    virtual QString lockRows(const QString &table, const QString &condition) const = 0;
    // The name a model that reads the table's columns itself (QSqlTableModel) gives the
    // table: the engine may fold the names it was created with.
    virtual QString tableName(const QString &table) const { return table; }
    // A condition that holds for the first row a plain "select * from <table>" returns.
    virtual QString firstRowOnly(const QString &table) const = 0;
    // An expression that orders the rows of `table` as they were entered and tells any two
    // apart: a grid reads its rows in blocks, which fit together only in a total order.
    virtual QString rowKey(const QString &table) const = 0;
};

}  // namespace lendora
