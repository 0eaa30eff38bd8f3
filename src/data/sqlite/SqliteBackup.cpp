#include "data/sqlite/SqliteBackup.h"

#include "base/TextFile.h"
#include "data/sqlite/DatabaseFile.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <cstdio>
#include <sqlite3.h>
#include <unistd.h>

namespace lendora {

namespace {
const char *const kCannotRead = QT_TRANSLATE_NOOP("SqliteBackup", "无法读取数据库 %1:%2");
const char *const kCannotWrite = QT_TRANSLATE_NOOP("SqliteBackup", "无法写入备份文件 %1:%2");
const char *const kCannotRestore = QT_TRANSLATE_NOOP("SqliteBackup", "无法从 %1 恢复:%2");

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString lastError(sqlite3 *db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

// A read-only connection of the C API on `path`; nullptr with the reason when it fails.
sqlite3 *openToRead(const QString &path, QString *why)
{
    sqlite3 *db = nullptr;
    const QByteArray name = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    if (sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        *why = db ? lastError(db) : QStringLiteral("out of memory");
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, 5000);
    return db;
}

bool syncFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    return ::fsync(file.handle()) == 0;
}
}  // namespace

bool SqliteBackup::copy(const QString &source, const QString &target, QString *error)
{
    const QString work = target + QStringLiteral(".part");
    QFile::remove(work);
    QString why;
    sqlite3 *db = openToRead(source, &why);
    if (!db) {
        if (error)
            *error = tr(kCannotRead).arg(native(source), why);
        return false;
    }
    // One read transaction from the first page to the last: the copy holds what the log
    // holds too, and nothing written meanwhile.
    sqlite3_stmt *vacuum = nullptr;
    const QByteArray workName = QFile::encodeName(QFileInfo(work).absoluteFilePath());
    bool ok =
        sqlite3_prepare_v2(db, "VACUUM INTO ?", -1, &vacuum, nullptr) == SQLITE_OK
        && sqlite3_bind_text(vacuum, 1, workName.constData(), -1, SQLITE_TRANSIENT) == SQLITE_OK
        && sqlite3_step(vacuum) == SQLITE_DONE;
    if (!ok)
        why = lastError(db);
    sqlite3_finalize(vacuum);
    sqlite3_close(db);
    if (ok && !syncFile(work)) {
        ok = false;
        why = QStringLiteral("fsync");
    }
    if (ok
        && std::rename(workName.constData(),
                       QFile::encodeName(QFileInfo(target).absoluteFilePath()).constData())
               != 0) {
        ok = false;
        why = QString::fromLocal8Bit(std::strerror(errno));
    }
    if (!ok) {
        QFile::remove(work);
        if (error)
            *error = tr(kCannotWrite).arg(native(target), why);
        return false;
    }
    TextFile::syncFolderOf(target);
    return true;
}

QString SqliteBackup::check(const QString &path)
{
    if (const QString bad = DatabaseFile::checkFile(path); !bad.isEmpty())
        return bad;
    static QAtomicInteger<int> counter;
    const QString name = QStringLiteral("lendora-check-%1").arg(counter.fetchAndAddRelaxed(1));
    QString problem;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(QFileInfo(path).absoluteFilePath());
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"));
        if (!db.open())
            problem = tr(kCannotRead).arg(native(path), db.lastError().text());
        else
            problem = DatabaseFile::checkContent(db, path, true);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return problem;
}

bool SqliteBackup::restore(QSqlDatabase &db, const QString &source, QString *error)
{
    const QVariant handle = db.driver()->handle();
    sqlite3 *target = handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0
                          ? *static_cast<sqlite3 *const *>(handle.constData())
                          : nullptr;
    QString why;
    sqlite3 *from = target ? openToRead(source, &why) : nullptr;
    if (!target)
        why = QStringLiteral("no SQLite connection");
    bool ok = false;
    if (from) {
        // One step copies every page, as one write transaction on the library: a failure
        // leaves it as it was.
        sqlite3_backup *backup = sqlite3_backup_init(target, "main", from, "main");
        if (!backup) {
            why = lastError(target);
        } else {
            const int stepped = sqlite3_backup_step(backup, -1);
            ok = stepped == SQLITE_DONE;
            if (sqlite3_backup_finish(backup) != SQLITE_OK && ok) {
                ok = false;
            }
            if (!ok)
                why = lastError(target);
        }
        sqlite3_close(from);
    }
    if (!ok && error)
        *error = tr(kCannotRestore).arg(native(source), why);
    return ok;
}

}  // namespace lendora
