#pragma once

#include <QString>
#include <optional>

class QSqlDatabase;

namespace lendora {

// Where a library on a PostgreSQL server is: postgresql://user@host:port/dbname. The host may
// be a folder of the server's socket, written with %2F for each slash. A password never comes
// from the address: libpq reads ~/.pgpass or PGPASSWORD.
struct ServerAddress {
    QString user;
    QString host;  // a name, or a socket folder (starting with /)
    int port = 0;  // 0: the default
    QString database;

    // Whether `text` names a server rather than a file.
    static bool isServer(const QString &text);
    // The address, or nullopt with the clerk's message in `problem`.
    static std::optional<ServerAddress> parse(const QString &text, QString *problem);
    // Written back, as the desk shows it.
    QString url() const;
    // The same server, another database on it.
    ServerAddress withDatabase(const QString &name) const;
    // Sets up a QPSQL connection for this address (not opened).
    void applyTo(QSqlDatabase &db) const;
};

}  // namespace lendora
