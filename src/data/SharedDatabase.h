#pragma once

#include "data/Backend.h"
#include "data/DbError.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <memory>

namespace lendora {

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
    // Closes the connection: the library was left in order.
    void close();

    bool isOpen() const;
    QSqlDatabase db() const;
    // The engine behind the library; null before the first open.
    Backend *backend() const { return m_backend.get(); }
    // Where the library is, as the clerk is shown it.
    QString location() const;

    // A statement prepared once on this connection and reused: bind, exec, read, then
    // finish() it. Dropped when the connection closes.
    QSqlQuery &prepared(const QString &sql);
    // Runs a prepared statement that writes: binds the values in order (an empty text as
    // empty text: Qt would bind a null QString as NULL), runs it and finishes it. The rows
    // it changed, or -1 when the engine refused (`error` says why).
    int change(const QString &sql, const QVariantList &values, DbError *error = nullptr);

    QString connectionName() const { return m_name; }
    // The name of another connection of the same owner, for `purpose` (a grid's window).
    QString connectionFor(const QString &purpose) const
    {
        return purpose + QLatin1Char('@') + m_name;
    }

private:
    void drop();

    QString m_name;
    std::unique_ptr<Backend> m_backend;
    bool m_open = false;
    QHash<QString, std::shared_ptr<QSqlQuery>> m_statements;
};

// One transaction that writes on the shared connection, begun as a writer; rolled back
// unless committed.
class WriteTransaction {
public:
    explicit WriteTransaction(SharedDatabase &database);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction &) = delete;
    WriteTransaction &operator=(const WriteTransaction &) = delete;

    bool isActive() const { return m_active; }
    bool commit();
    // Why the begin or the commit failed.
    const DbError &error() const { return m_error; }

private:
    SharedDatabase &m_database;
    QSqlDatabase m_db;
    bool m_active = false;
    DbError m_error;
};

}  // namespace lendora
