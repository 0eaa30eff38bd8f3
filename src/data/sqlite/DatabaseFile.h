#pragma once

#include <QSqlDatabase>
#include <QString>

namespace lendora {

// The library database file: where it lives, how it is created, and how a file that is not a
// database of this program is recognised before anything could write to it.
class DatabaseFile {
public:
    static QString pathIn(const QString &appDir);  // <appDir>/mdb/Lendora.mdb

    // Builds "<path>.new" and renames it into place, so a crash never leaves a half-made file.
    static bool create(const QString &path, QString *error);

    // Reads only: the SQLite header, the file size against page size times page count, the
    // application id and the schema version kept in the header. Empty when the file looks
    // like a database of this program; otherwise the clerk's message.
    static QString checkFile(const QString &path);
    // On an open connection (still without any write): application id, schema version, the
    // five tables and their columns; and a quick_check when asked. Empty when fine.
    static QString checkContent(QSqlDatabase &db, const QString &path, bool quickCheck);

    // Pragmas every connection runs.
    static bool configure(QSqlDatabase &db, bool readOnly, QString *error);

    // Marker written while the file is open; found at start-up it means the last run did not
    // end cleanly.
    static QString markerPath(const QString &path);
};

}  // namespace lendora
