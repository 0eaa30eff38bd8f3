#pragma once

#include "data/Backend.h"
#include "data/postgres/ServerAddress.h"

#include <QSqlError>
#include <optional>

namespace lendora {

// A library shared by several desks on a PostgreSQL server. Each desk's connection waits a few
// seconds at most for a row another desk has locked; lending locks the reader's row, so two
// desks never both pass the checks of one reader or one book.
class PostgresBackend : public Backend {
public:
    explicit PostgresBackend(ServerAddress address);

    const ServerAddress &address() const { return m_address; }
    // Fills an empty database on the server with every row of the library `from` (whose
    // engine speaks `dialect`), in one transaction: its tables, the rows with their entry numbers, the version. False with the
    // reason in `error`, the database as it was.
    bool moveIn(QSqlDatabase &from, const SqlDialect &dialect, QString *error) override;
    // How to create a database the desk can use, for the clerk's message.
    static QString createHint(const QString &database);

    QString location() const override;
    bool checksBeforeOpening() const override { return false; }
    // Asks the server: its library's version.
    bool upgradesOnOpening() const override;
    Opened open(const QString &connectionName) override;
    void close(const QString &connectionName) override;
    bool openReadOnly(const QString &connectionName, DbError *error) override;
    bool create(QString *error) override;

    SqlCondition exact(const QString &column, const QString &text) const override;
    SqlCondition partial(const QString &column, const QString &text) const override;

    bool beginWrite(QSqlDatabase &db, DbError *error) override;
    QString lockRows(const QString &table, const QString &condition) const override;
    QString tableName(const QString &table) const override { return table.toLower(); }
    bool keepsConnectionsAlive() const override { return false; }
    QString firstRowOnly(const QString &table) const override;
    QString rowKey(const QString &table) const override;
    Copier copier() const override;
    QString cannotRestore() const override;
    bool copyTo(QSqlDatabase &db, const QString &path, DbError *error) override;
    bool restoreFrom(QSqlDatabase &db, const QString &source, QString *notice,
                     DbError *error) override;

    DbError classify(const QSqlError &error) const override;

    bool reopen(const QString &connectionName, DbError *error) override;
    bool settle(QSqlDatabase &db, DbError *error) override;
    void afterCommit(QSqlDatabase &) override {}
    DbError checkUnchanged() const override { return {}; }

private:
    // A connection of that name to the library, opened; its error when it could not be.
    QSqlDatabase connect(const QString &connectionName, QSqlError *error) const;
    // Sets up an empty database, or checks that one is this program's and brings an older
    // one up to date: the clerk's message when not. `notice` as open()'s.
    QString prepareSchema(QSqlDatabase &db, QString *notice) const;

    ServerAddress m_address;
    // A server that did not answer upgradesOnOpening()'s question: open() says so at once
    // rather than wait for it a second time.
    mutable std::optional<QSqlError> m_unanswered;
};

}  // namespace lendora
