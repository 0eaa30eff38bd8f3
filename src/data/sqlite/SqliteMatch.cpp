#include "data/sqlite/SqliteMatch.h"

#include "data/sqlite/SqliteSchema.h"

namespace lendora {

namespace {

// The trigram index reads text in characters (code points): a text of fewer than three has no
// trigram of its own, and this SQLite (3.40) then finds no rows at all rather than scanning.
constexpr int kShortestIndexed = 3;

int characters(const QString &text)
{
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!(text.at(i).isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate()))
            ++count;
    }
    return count;
}

// The text index of a qualified column, or nullptr.
const SqliteSchema::TextIndex *indexOf(const QString &column)
{
    const qsizetype dot = column.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return nullptr;
    const QStringView table = QStringView(column).left(dot);
    const QStringView name = QStringView(column).mid(dot + 1);
    for (const SqliteSchema::TextIndex &index : SqliteSchema::textIndexes()) {
        if (index.table == table && index.column == name)
            return &index;
    }
    return nullptr;
}

// Whether the index can find every row the plain comparison finds: three characters or more,
// and nothing the engine's LIKE would read differently from the index (it stops at a NUL).
const SqliteSchema::TextIndex *routeFor(const QString &column, const QString &text)
{
    if (characters(text) < kShortestIndexed || text.contains(QChar(0)))
        return nullptr;
    return indexOf(column);
}

// The index's candidates for the text, joined on the row, and the plain comparison that
// decides. The text goes to the index as one quoted phrase: its characters, in order, in
// either case (the index folds case), so % _ ' and blanks are plain characters there.
SqlCondition routed(const SqliteSchema::TextIndex &index, const QString &text, SqlCondition plain)
{
    QString phrase = text;
    phrase.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    phrase = QLatin1Char('"') + phrase + QLatin1Char('"');
    SqlCondition condition;
    condition.tables << index.name;
    condition.sql =
        QStringLiteral("%1.rowid=%2.rowid and %1 match ? and ").arg(index.name, index.table)
        + plain.sql;
    condition.values << phrase;
    condition.values << plain.values;
    return condition;
}

}  // namespace

SqlCondition SqliteMatch::exact(const QString &column, const QString &text)
{
    SqlCondition plain{column + QStringLiteral("=?"), {text}, {}};
    const SqliteSchema::TextIndex *index = routeFor(column, text);
    if (index && index->exactToo)
        return routed(*index, text, plain);
    return plain;
}

SqlCondition SqliteMatch::partial(const QString &column, const QString &text)
{
    SqlCondition plain{column + QStringLiteral(" like '%' || ? || '%' escape '\\'"),
                       {SqlCondition::escapeLike(text)},
                       {}};
    if (const SqliteSchema::TextIndex *index = routeFor(column, text))
        return routed(*index, text, plain);
    // A scan: telling the planner that few rows pass makes it start a join from this
    // table rather than run through every loan first.
    plain.sql = QStringLiteral("likelihood(%1, 0.05)").arg(plain.sql);
    return plain;
}

SqlCondition SqliteMatch::match(const QString &column, const QString &text, bool partialMatch)
{
    return partialMatch ? partial(column, text) : exact(column, text);
}

}  // namespace lendora
