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

    // A trigram index of one text column (version 2 on): an FTS5 table over the column's
    // values, kept in step with the table by triggers. Partial matching finds its candidate
    // rows there (SqliteMatch).
    struct TextIndex {
        QString table;   // bookInfo
        QString column;  // 书籍名称
        QString name;    // the index's own table, bookTitleTrigrams
        bool exactToo;   // exact matches use it too (no index of the table's own serves them)
    };
    static const QList<TextIndex> &textIndexes();

    // Tables, indexes, text indexes, the rules row and the default categories, in one
    // transaction.
    static bool create(QSqlDatabase &db, QString *error);
    // A condition that holds for the first row a plain "select * from <table>" returns: the
    // engine's own row order, which only this file may know.
    static QString firstRowOnly(const QString &table);

    // Upgrade steps from an older user_version, in place, each step in one transaction.
    // 1 -> 2: the text indexes, built from the rows already there, and the planner's
    // statistics. 2 -> 3: the rule of one open loan per book. 3 -> 4: the date indexes. A step
    // the rows already there break is not taken: the file stays at the version before it (and
    // the later steps wait), `notice` says why, and the desk runs on. False (with `error`) when the engine fails.
    static bool upgrade(QSqlDatabase &db, int fromVersion, QString *notice, QString *error);
};

}  // namespace lendora
