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

Route routeFor(const QString &column, const QString &text)
{
    const SqliteSchema::TextIndex *index = indexOf(column);
    if (!index || text.contains(QChar(0)))
        return {};
    if (characters(text) >= kShortestIndexed) {
        if (index->name.isEmpty())
            return {};
        return {index->name, index->table, QStringLiteral("?")};
    }
    return {index->grams, index->table, SqliteSchema::gramQuery()};
}

// The index's candidates for the text, joined on the row, and the plain comparison that
// decides. The text goes to the trigram index as one quoted phrase: its characters, in order,
// in either case (the index folds case), so % _ ' and blanks are plain characters there; the
// character index makes its token of the text itself. The index returns its rows in row order,
// so reading the rows in its order needs no sort.
SqlCondition routed(const Route &route, const QString &text, SqlCondition plain)
{
    QString phrase = text;
    if (route.match == QStringLiteral("?")) {
        phrase.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        phrase = QLatin1Char('"') + phrase + QLatin1Char('"');
    }
    SqlCondition condition;
    condition.tables << route.index;
    condition.sql = QStringLiteral("%1.rowid=%2.rowid and %1 match %3 and ")
                        .arg(route.index, route.table, route.match)
                    + plain.sql;
    condition.values << phrase;
    condition.values << plain.values;
    condition.key = route.index + QStringLiteral(".rowid");
    return condition;
}

}  // namespace

SqlCondition SqliteMatch::exact(const QString &column, const QString &text)
{
    SqlCondition plain{column + QStringLiteral("=?"), {text}, {}, {}};
    const SqliteSchema::TextIndex *index = indexOf(column);
    const Route route = routeFor(column, text);
    if (index && index->exactToo && !route.index.isEmpty())
        return routed(route, text, plain);
    return plain;
}

SqlCondition SqliteMatch::partial(const QString &column, const QString &text)
{
    SqlCondition plain{column + QStringLiteral(" like '%' || ? || '%' escape '\\'"),
                       {SqlCondition::escapeLike(text)},
                       {},
                       {}};
    const Route route = routeFor(column, text);
    if (!route.index.isEmpty())
        return routed(route, text, plain);
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
