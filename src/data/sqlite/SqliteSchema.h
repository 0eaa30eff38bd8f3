#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

namespace lendora {

// The library's schema as SQLite holds it: STRICT tables, date checks, the text indexes of
// partial matching, and the steps that bring an older file up to Schema::kVersion
// (PRAGMA user_version).
class SqliteSchema {
public:
    static constexpr int kApplicationId = 0x4C4E4452;  // "LNDR", PRAGMA application_id

    // The text indexes of one text column, kept in step with the table by triggers, where
    // matching finds its candidate rows (SqliteMatch): a trigram index (version 2 on) for texts
    // of three characters or more, and an index of every character and pair of characters
    // (version 7 on) for shorter ones. Both are FTS5 tables.
    struct TextIndex {
        QString table;   // bookInfo
        QString column;  // 书籍名称
        QString name;    // the trigram index's own table, bookTitleTrigrams; empty for none
        QString grams;   // the character index's own table, bookTitleGrams
        bool exactToo;   // exact matches use them too (no index of the table's own serves them)
    };
    // The character index's document for the text `value` (an SQL expression): each
    // character and each pair of neighbours, folded as lower() folds them, as hex, so that
    // every one is a token of its own; and the token "long" when the text runs past the
    // positions the index reads. Plain SQL, so any writer's triggers make the same.
    static QString gramsOf(const QString &value);
    // The character index's query for the bound text, whose characters the index holds as
    // one token; the rows of longer texts are candidates too.
    static QString gramQuery();
    // Whether the file holds the character indexes: a file whose upgrade was held back at an
    // older version does not.
    static bool holdsPairs(QSqlDatabase &db);
    static const QList<TextIndex> &textIndexes();

    // Tables, indexes, text indexes, the rules row and the default categories, in one
    // transaction.
    static bool create(QSqlDatabase &db, QString *error);
    // A condition that holds for the first row a plain "select * from <table>" returns: the
    // engine's own row order, which only this file may know.
    static QString firstRowOnly(const QString &table);

    // Upgrade steps from an older user_version, in place, each step in one transaction
    // (Schema::upgrade). 1 -> 2: the text indexes, built from the rows already there, and the
    // planner's statistics. 2 -> 3: the rule of one open loan per book. 3 -> 4: the date
    // indexes. 6 -> 7: the character indexes, built from the rows already there. 8 -> 9: only
    // the number (the server's step). A step the rows already there break is not taken: the
    // file stays at the version before it (and the later steps wait), `notice` says why, and
    // the desk runs on. False (with `error`) when the engine fails.
    static bool upgrade(QSqlDatabase &db, int fromVersion, QString *notice, QString *error);
};

}  // namespace lendora
