#pragma once

#include "data/Backend.h"
#include "data/DbError.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <functional>
#include <memory>
#include <optional>

namespace lendora {

class FileCheck;

// The one shared connection every store works through, on the library of its backend. Its
// connection name carries a suffix of its owner so that two applications can live in one
// process.
class SharedDatabase {
public:
    explicit SharedDatabase(QString connectionName);
    ~SharedDatabase();
    SharedDatabase(const SharedDatabase &) = delete;
    SharedDatabase &operator=(const SharedDatabase &) = delete;

    // Opens the library of `backend`, creating it when missing. A library that exists but is
    // not this program's is never changed: false, with the clerk's message in `problem`.
    // `notice`, when given, receives what the clerk should know although the desk runs.
    bool open(std::unique_ptr<Backend> backend, QString *problem, QString *notice = nullptr);
    // The same for the SQLite file at `path`.
    bool open(const QString &path, QString *problem, QString *notice = nullptr);
    // Opens the library of `backend` only to read: nothing is created, checked or upgraded,
    // no marker is written, and every write is refused. For tools that run beside the desk.
    bool openReadOnly(std::unique_ptr<Backend> backend, DbError *error);
    // After openReadOnly(): empty when the library is this program's, else the clerk's
    // message; when the engine could not tell (busy, say), `error` says why instead.
    QString checkLibrary(DbError *error);
    // Closes the connection: the library was left in order.
    void close();
    // Replaces all the library holds by the checked copy in the file `source` (see
    // Backend::restoreFrom); the grids read the restored rows at their next query.
    bool restoreFrom(const QString &source, QString *notice, DbError *error);

    bool isOpen() const;
    QSqlDatabase db() const;
    // The engine behind the library, each part for those who need it; null before the first
    // open. The stores and grids write their SQL in its dialect.
    const SqlDialect *dialect() const { return m_backend.get(); }
    Connector *connector() const { return m_backend.get(); }
    Copies *copies() const { return m_backend.get(); }
    // The class of an error of the engine behind the library.
    DbError classify(const QSqlError &error) const;
    // Where the library is, as the clerk is shown it.
    QString location() const;

    // A statement prepared once on this connection and reused: bind, exec, read, then
    // finish() it. Dropped when the connection closes.
    QSqlQuery &prepared(const QString &sql);
    // Runs a prepared statement that writes: binds the values in order (an empty text as
    // empty text: Qt would bind a null QString as NULL), runs it and finishes it. The rows
    // it changed, or -1 when the engine refused (`error` says why).
    int change(const QString &sql, const QVariantList &values, DbError *error = nullptr);

    // Called once when a write finds that the library is no longer the file that was opened:
    // the owner tells the clerk and ends. Every later write is refused the same way.
    void setLostHandler(std::function<void(const DbError &)> handler)
    {
        m_lostHandler = std::move(handler);
    }

    // The whole-library check open() left to run beside the desk after an unclean end:
    // `waiting` is called with
    // true when a write waits for the check and with false when it goes on; `ended` once
    // when the check ends, with what was found when it failed. Every write until the check
    // has passed waits, and after it failed is refused (DbError::Unchecked).
    struct CheckHandlers {
        std::function<void(bool)> waiting;
        std::function<void(bool passed, const QString &found)> ended;
    };
    void setCheckHandlers(CheckHandlers handlers) { m_checkHandlers = std::move(handlers); }
    // Runs on the check's thread before it starts: a test holds the check there.
    void setCheckHold(std::function<void()> hold) { m_checkHold = std::move(hold); }
    // Whether that check is still running, or failed.
    bool isChecking() const;
    bool checkFailed() const;

    // After the engine said the connection was lost (a server restarted, say): every
    // statement prepared on it dropped, the grids' connections closed (they open again when
    // next used), and the connection opened again. False when the library cannot be reached.
    bool reconnect(DbError *error = nullptr);
    bool isWriting() const { return m_writing; }

    QString connectionName() const { return m_name; }
    // The name of another connection of the same owner, for `purpose` (a grid's window).
    QString connectionFor(const QString &purpose) const
    {
        return purpose + QLatin1Char('@') + m_name;
    }

private:
    friend class WriteTransaction;

    void drop();
    // Closes and removes the read-only connection.
    void forget();
    // Whether a write may begin: the library is open, passed its check, and is still the
    // file that was opened. `restoring` lets a restore replace a library that failed it.
    DbError checkBeforeWrite(bool restoring = false);
    void checkEnded(bool passed, const QString &found);
    // After a commit the engine reported as failed: every connection of this owner closed,
    // the read-write one opened again and the library settled. False when it could not be.
    bool settle(DbError *error);

    QString m_name;
    std::unique_ptr<Backend> m_backend;
    bool m_open = false;
    bool m_readOnly = false;
    bool m_writing = false;  // a WriteTransaction is active
    std::optional<DbError> m_lost;
    std::function<void(const DbError &)> m_lostHandler;
    QHash<QString, std::shared_ptr<QSqlQuery>> m_statements;
    CheckHandlers m_checkHandlers;
    std::function<void()> m_checkHold;
    std::unique_ptr<FileCheck> m_check;
};

// One transaction that writes on the shared connection, begun as a writer; rolled back
// unless committed.
class WriteTransaction {
public:
    explicit WriteTransaction(SharedDatabase &database);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction &) = delete;
    WriteTransaction &operator=(const WriteTransaction &) = delete;

    // Looks, after a failed commit, whether the change is in the library: true or false, or
    // nullopt when the look itself failed.
    using Look = std::function<std::optional<bool>()>;

    bool isActive() const { return m_active; }
    // True when the change is in the library. When the engine reports the commit failed, the
    // change may be there all the same (a log synced too late, say): the library is settled,
    // then `landed` looks. Without a look, or when the library could not be settled, the
    // error is marked unsure.
    bool commit(const Look &landed = {});
    // Why the begin or the commit failed: the first error, not what a rollback said later.
    const DbError &error() const { return m_error; }

private:
    void finish();

    SharedDatabase &m_database;
    QSqlDatabase m_db;
    bool m_active = false;
    DbError m_error;
};

}  // namespace lendora
