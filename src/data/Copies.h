#pragma once

#include "data/DbError.h"

#include <QSqlDatabase>
#include <QString>
#include <functional>

namespace lendora {

class SqlDialect;

// How the engine copies the whole library to a file, checks it, and takes a copy back. A
// copy is always a file of the desk's own kind, whichever engine holds the library.
class Copies {
public:
    virtual ~Copies() = default;

    // Copies the whole library, as it stood at one moment, to a new file: callable on any
    // thread, through connections of its own, while the desk goes on writing.
    using Copier = std::function<bool(const QString &target, QString *error)>;
    virtual Copier copier() const = 0;
    // Writes a copy of the whole library, as it stood at one moment, to the new file `path`.
    virtual bool copyTo(QSqlDatabase &db, const QString &path, DbError *error) = 0;
    // Whether `path` names the library itself, which no copy may replace.
    virtual bool isLibrary(const QString &path) const
    {
        Q_UNUSED(path);
        return false;
    }
    // Why a backup cannot be restored into this library from the desk; empty when it can.
    virtual QString cannotRestore() const { return {}; }
    // Replaces all the library holds by the copy in the file `source` (which the caller has
    // checked), through the connection `db`, so every other connection stays valid; then
    // brings it to this program's schema and makes it final. False: the library is as it
    // was. `notice` as Connector::open()'s.
    virtual bool restoreFrom(QSqlDatabase &db, const QString &source, QString *notice,
                             DbError *error) = 0;
    // Fills this library, an empty one, with every row of the library open on `from` (whose
    // engine speaks `dialect`), in one transaction: its tables, the rows with their entry
    // numbers, the version. False with the reason in `error`, the library as it was; an engine
    // that takes no library in says so.
    virtual bool moveIn(QSqlDatabase &from, const SqlDialect &dialect, QString *error)
    {
        Q_UNUSED(from);
        Q_UNUSED(dialect);
        if (error)
            *error = QStringLiteral("a library is moved only to a server");
        return false;
    }
    // The statement that checks the whole library's storage, each row it returns a finding
    // and "ok" alone when there is none; empty where the engine looks after that itself.
    virtual QString integrityCheck() const { return {}; }
};

}  // namespace lendora
