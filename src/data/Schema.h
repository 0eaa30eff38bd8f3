#pragma once

#include <QList>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

namespace lendora {

// The library database: five tables whose column names are Chinese words. Every backend
// numbers the schema's steps alike.
class Schema {
public:
    // 1: the five tables; 2: text indexes for partial matching; 3: one open loan per book;
    // 4: indexes of the lending and the return date (the newest of each, read at start-up);
    // 5: the open loans by lending date; 6: the loan statistics' indexes; 7: text indexes for
    // partial matching of one or two characters; 8: the loans' reader and book indexes each
    // hold the other.
    static constexpr int kVersion = 8;

    // A new library's rules and categories.
    static constexpr int kDefaultLoanLimit = 5;
    static constexpr double kDefaultFine = 0.1;
    static constexpr int kDefaultLoanDays = 30;
    struct Category {
        QString code;
        QString name;
    };
    static const QList<Category> &defaultCategories();
    // Writes the rules row and the categories of a new library; false with the engine's
    // words in `error`.
    static bool insertDefaults(QSqlQuery &query, QString *error);

    struct Table {
        QString name;
        QStringList columns;
    };
    static const QList<Table> &tables();
};

}  // namespace lendora
