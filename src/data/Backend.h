#pragma once

#include "data/DbError.h"
#include "data/SqlCondition.h"

#include <QSqlDatabase>
#include <QString>
#include <functional>
#include <optional>

class QSqlError;

namespace lendora {

// One database engine behind the desk. Everything that is one engine's alone lives behind
// this: how connections are opened and set up, how a database is checked, created and
// upgraded, how text is matched, how a write begins, how a consistent copy is made, and how
// its errors are sorted. The stores' SQL stays portable.
class Backend {
public:
    virtual ~Backend() = default;

    // Where the library is, as the clerk is shown it (a file, a server).
    virtual QString location() const = 0;

    struct Opened {
        bool ok = false;
        QString problem;  // the clerk's message when not ok: nothing was changed
        QString notice;   // something the clerk should know although the desk runs
        // The whole-library check owed after a run that did not end cleanly, when open()
        // left it to run beside the desk: callable on any thread, on a read-only connection
        // of its own; empty when the library passed, else what was found. Until it has
        // passed nothing may be written.
        std::function<QString()> check = nullptr;
        // Makes a check under way end soon (its result no longer counts); any thread.
        std::function<void()> stopCheck = nullptr;
    };
    // Told how the check open() left behind ended; until it passed, closing does not mark
    // the library as left in order.
    virtual void checkEnded(bool passed) { Q_UNUSED(passed); }
    // Whether open() will first check the whole library (after a run that did not end
    // cleanly), which takes a while on a large one.
    virtual bool checksBeforeOpening() const = 0;
    // Whether open() will first bring an older library's structure up to date, which builds
    // indexes over every loan: minutes on a large one.
    virtual bool upgradesOnOpening() const = 0;
    // Opens the read-write connection `connectionName` on the library, after checking it: a
    // missing library is created, an older one upgraded, one that is not this program's
    // refused without being changed.
    virtual Opened open(const QString &connectionName) = 0;
    // Closes that connection: the library was left in order.
    virtual void close(const QString &connectionName) = 0;
    // Opens a read-only connection for a grid; it never creates anything.
    virtual bool openReadOnly(const QString &connectionName, DbError *error) = 0;
    // Creates the library with its schema and default rows where there is none.
    virtual bool create(QString *error) = 0;

    // Typed text against a qualified column ("bookInfo.书籍名称"). Exact: "=" on the whole
    // text. Partial: the text anywhere in the column, matched literally (% _ \ match
    // themselves), ASCII letters in either case.
    virtual SqlCondition exact(const QString &column, const QString &text) const = 0;
    virtual SqlCondition partial(const QString &column, const QString &text) const = 0;
    SqlCondition match(const QString &column, const QString &text, bool partialMatch) const
    {
        return partialMatch ? partial(column, text) : exact(column, text);
    }
    // How many rows of the column's table its text index offers as candidates for the text
    // (matched as match() would), counted up to `atMost`: a cheap upper bound of the rows that
    // match. None when no index serves the text, or the engine plans such joins itself.
    virtual std::optional<qint64> candidates(const QSqlDatabase &db, const QString &column,
                                             const QString &text, bool partialMatch,
                                             qint64 atMost) const
    {
        Q_UNUSED(db);
        Q_UNUSED(column);
        Q_UNUSED(text);
        Q_UNUSED(partialMatch);
        Q_UNUSED(atMost);
        return std::nullopt;
    }
    // As match(), but tested on each row as the rows of another table (whose row key is
    // `driverKey`) are read in order and joined to the column's table, rather than found
    // through an index: for a text so common that the first rows come sooner that way.
    virtual SqlCondition matchEach(const QString &column, const QString &text, bool partialMatch,
                                   const QString &driverKey) const
    {
        Q_UNUSED(driverKey);
        return match(column, text, partialMatch);
    }
    // As match(), but as a test that `foreignKey`, a column of the rows searched, is among the
    // `key` values (a unique column of the column's table) of the rows that match. The engine
    // reads that set once and tests each row by a look-up in it rather than a join. With
    // `findThrough`, it may find the rows through an index of `foreignKey`; without, the rows
    // are read in their own order and each tested.
    virtual SqlCondition matchAmong(const QString &column, const QString &text, bool partialMatch,
                                    const QString &foreignKey, const QString &key,
                                    bool findThrough) const
    {
        Q_UNUSED(findThrough);
        const SqlCondition matched = match(column, text, partialMatch);
        QString from = column.left(column.indexOf(QLatin1Char('.')));
        for (const QString &table : matched.tables)
            from += QStringLiteral(", ") + table;
        return {QStringLiteral("%1 in (select %2 from %3 where %4)")
                    .arg(foreignKey, key, from, matched.sql),
                matched.values,
                {},
                {}};
    }
    // About how many rows `table` holds, read cheaply; -1 when unknown.
    virtual qint64 rowsAbout(const QSqlDatabase &db, const QString &table) const
    {
        Q_UNUSED(db);
        Q_UNUSED(table);
        return -1;
    }

    // Begins a transaction that will write, as a writer from its first statement, waiting
    // for another writer as long as the engine's timeout: two desks never both read and
    // then both try to write.
    virtual bool beginWrite(QSqlDatabase &db, DbError *error) = 0;
    // A statement that locks the rows of `table` that `condition` selects until the
    // transaction ends, with the condition's values bound; empty where a write transaction
    // already keeps every other writer out.
    virtual QString lockRows(const QString &table, const QString &condition) const = 0;
    // The statement that checks the whole library's storage, each row it returns a finding
    // and "ok" alone when there is none; empty where the engine looks after that itself.
    virtual QString integrityCheck() const { return {}; }
    // Whether a connection, once open, stays usable until closed: a file's does; a server
    // may drop one (a restart), which the statements run on it then report.
    virtual bool keepsConnectionsAlive() const { return true; }
    // The name a model that reads the table's columns itself (QSqlTableModel) gives the
    // table: the engine may fold the names it was created with.
    virtual QString tableName(const QString &table) const { return table; }
    // A condition that holds for the first row a plain "select * from <table>" returns.
    virtual QString firstRowOnly(const QString &table) const = 0;
    // An expression that orders the rows of `table` as they were entered and tells any two
    // apart: a grid reads its rows in blocks, which fit together only in a total order.
    virtual QString rowKey(const QString &table) const = 0;
    // Copies the whole library, as it stood at one moment, to a new file: callable on any
    // thread, through connections of its own, while the desk goes on writing.
    using Copier = std::function<bool(const QString &target, QString *error)>;
    virtual Copier copier() const = 0;
    // Why a backup cannot be restored into this library from the desk; empty when it can.
    virtual QString cannotRestore() const { return {}; }
    // Writes a copy of the whole library, as it stood at one moment, to the new file `path`.
    virtual bool copyTo(QSqlDatabase &db, const QString &path, DbError *error) = 0;
    // Replaces all the library holds by the copy in the file `source` (which the caller has
    // checked), through the connection `db`, so every other connection stays valid; then
    // brings it to this program's schema and makes it final. False: the library is as it
    // was. `notice` as open()'s.
    virtual bool restoreFrom(QSqlDatabase &db, const QString &source, QString *notice,
                             DbError *error) = 0;

    // The class of an engine error.
    virtual DbError classify(const QSqlError &error) const = 0;

    // After a commit the engine reported as failed: opens the read-write connection again
    // (without the checks of open()), so the connection is no longer in the engine's error
    // state.
    virtual bool reopen(const QString &connectionName, DbError *error) = 0;
    // Makes what the library holds final: afterwards every connection, and the next start,
    // read the same. False when that could not be made sure.
    virtual bool settle(QSqlDatabase &db, DbError *error) = 0;
    // Housekeeping after each committed write.
    virtual void afterCommit(QSqlDatabase &db) = 0;
    // Before each write: an error when the library is no longer the one open() opened.
    virtual DbError checkUnchanged() const = 0;

protected:
    // Closes the named connection, when there is one, and forgets it.
    static void removeConnection(const QString &name)
    {
        if (!QSqlDatabase::contains(name))
            return;
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
};

}  // namespace lendora
