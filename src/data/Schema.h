#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace lendora {

// The library database: five tables whose column names are Chinese words.
class Schema {
public:
    static constexpr int kApplicationId = 0x4C4E4452;  // "LNDR"
    static constexpr int kVersion = 2;                 // PRAGMA user_version

    struct Table {
        QString name;
        QStringList columns;
    };
    static const QList<Table> &tables();

    // A trigram index of one text column (version 2 on): an FTS5 table over the column's
    // values, kept in step with the table by triggers. Partial matching finds its candidate
    // rows there (SqlMatch).
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

    // Upgrade steps from an older user_version to kVersion, in place and in one transaction.
    // 1 -> 2: the text indexes, built from the rows already there, and the planner's
    // statistics.
    static bool upgrade(QSqlDatabase &db, int fromVersion, QString *error);
};

}  // namespace lendora
