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
    static constexpr int kVersion = 1;                  // PRAGMA user_version

    struct Table {
        QString name;
        QStringList columns;
    };
    static const QList<Table> &tables();

    // Tables, indexes, the rules row and the default categories, in one transaction.
    static bool create(QSqlDatabase &db, QString *error);
    // Upgrade steps from an older user_version to kVersion, in one transaction.
    static bool upgrade(QSqlDatabase &db, int fromVersion, QString *error);
};

}  // namespace lendora
