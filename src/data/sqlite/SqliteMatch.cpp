#include "data/sqlite/SqliteMatch.h"

#include "data/sqlite/SqliteSchema.h"

namespace lendora {

namespace {

// The trigram index reads text in characters (code points): a text of fewer than three has no
// trigram of its own, and this SQLite (3.40) then finds no rows at all rather than scanning;
// the character index serves it.
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

// The index that can find every row the plain comparison finds, and the form of its query:
// the trigram index for three characters or more, the character index for fewer. None for a
// text the engine's LIKE would read differently from the indexes (it stops at a NUL).
struct Route {
    QString index;  // the index's own table; empty: none, a scan
    QString table;
    QString match;  // the bound MATCH argument
};

Route routeFor(const QString &column, const QString &text, bool pairs)
{
    const SqliteSchema::TextIndex *index = indexOf(column);
    if (!index || text.contains(QChar(0)))
        return {};
    if (characters(text) >= kShortestIndexed) {
        if (index->name.isEmpty())
            return {};
        return {index->name, index->table, QStringLiteral("?")};
    }
    if (!pairs)
        return {};
    return {index->grams, index->table, SqliteSchema::gramQuery()};
}

// The bound MATCH argument: the trigram index takes the text as one quoted phrase (its
// characters, in order, in either case: the index folds case, so % _ ' and blanks are plain
// characters there); the character index's query makes its token of the text itself.
QString matchValue(const Route &route, const QString &text)
{
    if (route.match != QStringLiteral("?"))
        return text;
    QString phrase = text;
    phrase.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + phrase + QLatin1Char('"');
}

// The index's candidates for the text, joined on the row, and the plain comparison that
// decides. The index returns its rows in row order, so reading the rows in its order needs no
// sort.
SqlCondition routed(const Route &route, const QString &text, SqlCondition plain)
{
    SqlCondition condition;
    condition.tables << route.index;
    condition.sql = QStringLiteral("%1.rowid=%2.rowid and %1 match %3 and ")
                        .arg(route.index, route.table, route.match)
                    + plain.sql;
    condition.values << matchValue(route, text);
    condition.values << plain.values;
    condition.key = route.index + QStringLiteral(".rowid");
    return condition;
}

SqlCondition plainExact(const QString &column, const QString &text)
{
    return {column + QStringLiteral("=?"), {text}, {}, {}};
}

SqlCondition plainPartial(const QString &column, const QString &text)
{
    return {column + QStringLiteral(" like '%' || ? || '%' escape '\\'"),
            {SqlCondition::escapeLike(text)},
            {},
            {}};
}

// The route the match takes, if any: an exact match only where the index serves exact ones.
Route usedRoute(const QString &column, const QString &text, bool partialMatch, bool pairs)
{
    const SqliteSchema::TextIndex *index = indexOf(column);
    if (!index || (!partialMatch && !index->exactToo))
        return {};
    return routeFor(column, text, pairs);
}

}  // namespace

SqlCondition SqliteMatch::exact(const QString &column, const QString &text, bool pairs)
{
    const Route route = usedRoute(column, text, false, pairs);
    return route.index.isEmpty() ? plainExact(column, text)
                                 : routed(route, text, plainExact(column, text));
}

SqlCondition SqliteMatch::partial(const QString &column, const QString &text, bool pairs)
{
    SqlCondition plain = plainPartial(column, text);
    const Route route = usedRoute(column, text, true, pairs);
    if (!route.index.isEmpty())
        return routed(route, text, plain);
    // A scan: telling the planner that few rows pass makes it start a join from this
    // table rather than run through every loan first.
    plain.sql = QStringLiteral("likelihood(%1, 0.05)").arg(plain.sql);
    return plain;
}

SqlCondition SqliteMatch::match(const QString &column, const QString &text, bool partialMatch,
                                bool pairs)
{
    return partialMatch ? partial(column, text, pairs) : exact(column, text, pairs);
}

SqlCondition SqliteMatch::candidates(const QString &column, const QString &text, bool partialMatch,
                                     bool pairs)
{
    const Route route = usedRoute(column, text, partialMatch, pairs);
    if (route.index.isEmpty())
        return {};
    return {QStringLiteral("select rowid from %1 where %1 match %2").arg(route.index, route.match),
            {matchValue(route, text)},
            {},
            {}};
}

SqlCondition SqliteMatch::each(const QString &column, const QString &text, bool partialMatch,
                               const QString &driverKey)
{
    // A comparison of the column's table alone makes this SQLite, joining that table inside
    // a read of the driving table, first read the whole table into a Bloom filter: as long as
    // a scan. Naming the driving row in it (an empty text, the key being never null) leaves the
    // comparison as it was and makes it a test of each joined row.
    const QString tested = QStringLiteral("(%1 || substr(%2, 1, 0))").arg(column, driverKey);
    return partialMatch ? plainPartial(tested, text) : plainExact(tested, text);
}

}  // namespace lendora
