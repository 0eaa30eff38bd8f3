#pragma once

#include <QSqlDatabase>
#include <QString>

namespace lendora {

// The library's schema as a PostgreSQL database holds it. Tables and columns are created
// unquoted, so their names fold to lower case and plain SQL from any client finds them. The
// books and the loans carry their entry number in a column `rowid`, as the file's rows do.
// The schema's version is the one row of lendoraSchema, numbered as the file's user_version.
class PostgresSchema {
public:
    // The schema version of the database; 0 when it holds nothing at all (a new database),
    // -1 when it holds tables but not this program's, or the look failed (`error`).
    static int version(QSqlDatabase &db, QString *error);
    // Whether the database's locale makes trigrams of Chinese text: without them a partial
    // match of three characters or more would find nothing through its index.
    static bool makesChineseTrigrams(QSqlDatabase &db);
    // Tables, indexes, the rules row and the default categories, in one transaction, in a
    // database that has pg_trgm.
    static bool create(QSqlDatabase &db, QString *error);
    // The tables alone, then their indexes, in the caller's transaction, without the default
    // rows.
    static bool createTables(QSqlQuery &query, QString *error);
    static bool createIndexes(QSqlQuery &query, QString *error);
    // The same, or with `whereMissing` only those the library lacks.
    static bool makeIndexes(QSqlQuery &query, bool whereMissing, QString *error);
    // The steps from an older version up to Schema::kVersion, each in a transaction of its
    // own that raises the version in lendoraSchema; several desks starting at once take each
    // step once. 8 -> 9: the indexes a library made before them lacks, and the planner's
    // wider sample of its texts. False (with `error`) when the engine failed.
    static bool upgrade(QSqlDatabase &db, int fromVersion, QString *notice, QString *error);
    // After rows were written with their entry numbers: the numbers go on after the largest.
    static bool continueEntryNumbers(QSqlQuery &query, QString *error);
    // The trigram index's expression of a text column (ASCII letters folded, as the file's
    // LIKE folds them).
    static QString folded(const QString &column);
};

}  // namespace lendora
