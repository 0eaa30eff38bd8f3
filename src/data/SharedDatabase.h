#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <memory>

namespace lendora {

// The one shared connection every store works through. Its connection name carries a suffix
// of its owner so that two applications can live in one process.
class SharedDatabase {
public:
    explicit SharedDatabase(QString connectionName);
    ~SharedDatabase();
    SharedDatabase(const SharedDatabase &) = delete;
    SharedDatabase &operator=(const SharedDatabase &) = delete;

    // Opens the file, creating it (and its folder) when missing. A file that exists but is not
    // a database of this program is never changed: false, with the clerk's message.
    bool open(const QString &path, QString *problem);
    // Closes the connection and removes the open-file marker.
    void close();

    bool isOpen() const;
    QSqlDatabase db() const;

    // A statement prepared once on this connection and reused: bind, exec, read, then
    // finish() it. Dropped when the connection closes.
    QSqlQuery &prepared(const QString &sql);
    // Runs a prepared statement that writes: binds the values in order (an empty text as
    // empty text: Qt would bind a null QString as NULL), runs it and finishes it. The rows
    // it changed, or -1 when the engine refused (`error` says why).
    int change(const QString &sql, const QVariantList &values, QString *error = nullptr);
    QString path() const { return m_path; }
    QString connectionName() const { return m_name; }
    // The name of another connection of the same owner, for `purpose` (a grid's window).
    QString connectionFor(const QString &purpose) const
    {
        return purpose + QLatin1Char('@') + m_name;
    }

private:
    void drop();

    QString m_name;
    QString m_path;
    bool m_open = false;
    QHash<QString, std::shared_ptr<QSqlQuery>> m_statements;
};

// One transaction on a connection; rolled back unless committed.
class Transaction {
public:
    explicit Transaction(QSqlDatabase db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    bool isActive() const { return m_active; }
    bool commit();

private:
    QSqlDatabase m_db;
    bool m_active = false;
};

}  // namespace lendora
