#pragma once

#include "data/DbError.h"

#include <QSqlDatabase>
#include <QString>
#include <functional>

class QSqlError;

namespace lendora {

// How the engine opens connections on the library, checks, creates and upgrades it, begins
// and settles writes, and sorts its errors. SharedDatabase and the grids' sources use it.
class Connector {
public:
    virtual ~Connector() = default;

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
    // Whether open() will check the whole library before it returns (after a run that did
    // not end cleanly), which takes a while on a large one.
    virtual bool checksBeforeOpening() const = 0;
    // Whether open() will first bring an older library's structure up to date, which may
    // build indexes over every loan: minutes on a large one.
    virtual bool upgradesOnOpening() const = 0;
    // Opens the read-write connection `connectionName` on the library, after checking it: a
    // missing library is created, an older one upgraded, one that is not this program's
    // refused without being changed.
    virtual Opened open(const QString &connectionName) = 0;
    // Closes that connection: the library was left in order.
    virtual void close(const QString &connectionName) = 0;
    // Opens a read-only connection for a grid or a tool; it never creates anything.
    virtual bool openReadOnly(const QString &connectionName, DbError *error) = 0;
    // On a connection openReadOnly() made: empty when the library is this program's, else the
    // clerk's message. When the engine could not tell (busy, say) `error` says why instead.
    virtual QString checkLibrary(QSqlDatabase &db, DbError *error) const
    {
        Q_UNUSED(db);
        Q_UNUSED(error);
        return {};
    }
    // Creates the library with its schema and default rows where there is none.
    virtual bool create(QString *error) = 0;
    // Whether a connection, once open, stays usable until closed: a file's does; a server
    // may drop one (a restart), which the statements run on it then report.
    virtual bool keepsConnectionsAlive() const { return true; }

    // Begins a transaction that will write, as a writer from its first statement, waiting
    // for another writer as long as the engine's timeout: two desks never both read and
    // then both try to write.
    virtual bool beginWrite(QSqlDatabase &db, DbError *error) = 0;
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
