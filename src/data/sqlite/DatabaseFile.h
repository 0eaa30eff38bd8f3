#pragma once

#include <QSqlDatabase>
#include <QString>
#include <optional>

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
    // The schema version the file's header records (not one still in the log alone); nullopt
    // when there is no SQLite file.
    static std::optional<int> schemaVersion(const QString &path);
    // On an open connection (still without any write): application id, schema version, the
    // five tables and their columns; and a quick_check when asked. Empty when fine.
    // `found`, when given, receives what is wrong in the engine's words (or the message).
    static QString checkContent(QSqlDatabase &db, const QString &path, bool quickCheck,
                                QString *found = nullptr);
    // Whether the file is in write-ahead-log mode by its header: opening it then writes
    // nothing to it.
    static bool isInLogMode(const QString &path);

    // Pragmas every connection runs.
    static bool configure(QSqlDatabase &db, bool readOnly, QString *error);

    // Marker written while the file is open; found at start-up it means the last run did not
    // end cleanly.
    static QString markerPath(const QString &path);

    // Which file a path names, and its content as far as the file system tells: in
    // write-ahead-log mode only a checkpoint writes the database file, so size and
    // modification time stay as they were between two checkpoints.
    struct Identity {
        quint64 device = 0;
        quint64 inode = 0;
        qint64 size = -1;
        qint64 modifiedNs = 0;

        bool isSameFile(const Identity &other) const
        {
            return device == other.device && inode == other.inode;
        }
        bool operator==(const Identity &) const = default;
    };
    static std::optional<Identity> identityOf(const QString &path);

    // What the marker recorded of the file it was written for. A marker of an older version
    // records nothing. While a checkpoint runs, the file changes under the recorded identity,
    // so then only the file itself must be the same.
    struct Marker {
        std::optional<Identity> identity;
        bool checkpointing = false;
    };
    static std::optional<Marker> readMarker(const QString &path);
    static bool writeMarker(const QString &path, const Marker &marker);

    // Moves the write-ahead log and its index beside `path` aside under names that keep them
    // (<name>-wal.set-aside, then -2, -3, ...). The new name of the log, or empty when it
    // could not be moved (`error` says why).
    static QString setLogAside(const QString &path, QString *error);

private:
    static QString checkContentOf(QSqlDatabase &db, const QString &path, bool quickCheck,
                                  QString *found);
};

}  // namespace lendora
