#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace lendora {

// The library database: five tables whose column names are Chinese words. Every backend
// numbers the schema's steps alike.
class Schema {
public:
    // 1: the five tables; 2: text indexes for partial matching; 3: one open loan per book;
    // 4: indexes of the lending and the return date (the newest of each, read at start-up);
    // 5: the open loans by lending date; 6: the loan statistics' indexes; 7: text indexes for
    // partial matching of one or two characters; 8: the loans' reader and book indexes each
    // hold the other; 9: a server's library gains the indexes its version 8 came to have
    // later (the file has them all already).
    //
    // A new step N: one function per engine that builds it, added to the engine's list of
    // steps (steps() in SqliteSchema.cpp and PostgresSchema.cpp), each engine's create()
    // making a new library as the steps leave an old one, and kVersion raised to N. A step
    // that adds a table or a column adds it to tables() too, which the file's check, the
    // copies and migrate read; a library that is still older when it is read (a backup being
    // checked, a file being moved) lacks it, so tables() must then say from which version a
    // table or column is there, and its readers ask for what that version holds.
    static constexpr int kVersion = 9;

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

    // One step of an engine's schema: what it builds, on `query`, inside the transaction
    // upgrade() opened for it.
    enum class Taken {
        Yes,
        HeldBack,  // the rows already there break the step: the library stays at the version
                   // before it (and the later steps wait), `notice` says why, the desk runs on
        Failed,    // the engine failed (`error`)
    };
    struct Step {
        int version;
        std::function<Taken(QSqlQuery &query, QString *notice, QString *error)> build;
    };
    // How an engine keeps its version number, both inside a step's transaction.
    struct Versioning {
        // The version as it stands, after whatever lock keeps another desk from taking the
        // same step meanwhile; nullopt when the engine failed (`error`).
        std::function<std::optional<int>(QSqlQuery &query, QString *error)> read;
        std::function<bool(QSqlQuery &query, int version, QString *error)> write;
    };
    // Takes the steps above `fromVersion` in order, each in a transaction of its own that
    // raises the version to the step's: a failure leaves the library at the last step taken.
    // A step another desk took meanwhile is skipped. False (with `error`) when the engine
    // failed.
    static bool upgrade(QSqlDatabase &db, int fromVersion, const QList<Step> &steps,
                        const Versioning &versioning, QString *notice, QString *error);
};

}  // namespace lendora
