#pragma once

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QString>

namespace lendora {

// Copies of the library file and the way back from one.
class SqliteBackup {
    Q_DECLARE_TR_FUNCTIONS(SqliteBackup)

public:
    // A consistent copy of the library at `source`, as it stood at one moment, written to
    // `target`: built under a work name beside it, synced, then renamed, so a crash leaves no
    // half copy under the name. Runs on a connection of its own and only reads, so it may run
    // on any thread while a desk keeps lending. False with the reason in `error`.
    static bool copy(const QString &source, const QString &target, QString *error);

    // Empty when `path` is a library this program can open, checked as the start checks one
    // after an unclean end (the whole file included); the clerk's message otherwise. The file
    // is only read.
    static QString check(const QString &path);

    // Writes every page of the library at `source` into the library `db` is open on, through
    // that very connection: other connections stay valid and read the restored rows. The
    // caller has checked `source`. False with the reason in `error`; the library is then as
    // it was.
    static bool restore(QSqlDatabase &db, const QString &source, QString *error);
};

}  // namespace lendora
