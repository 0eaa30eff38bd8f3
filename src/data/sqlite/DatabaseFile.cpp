#include "data/sqlite/DatabaseFile.h"

#include "base/TextFile.h"
#include "data/Columns.h"
#include "data/Schema.h"
#include "data/sqlite/SqliteSchema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>
#include <sys/stat.h>

namespace lendora {

namespace {

const char *const kNotDatabase = QT_TRANSLATE_NOOP(
    "DatabaseFile", "数据库文件 %1 不是数据库文件,无法识别其内容。\n程序没有改动该文件,即将退出。");
const char *const kTruncated = QT_TRANSLATE_NOOP(
    "DatabaseFile", "数据库文件 %1 不完整,可能已被截断或损坏。\n程序没有改动该文件,即将退出。");
const char *const kForeign = QT_TRANSLATE_NOOP(
    "DatabaseFile", "数据库文件 %1 不是本程序的数据库(%2)。\n程序没有改动该文件,即将退出。");
const char *const kNewer = QT_TRANSLATE_NOOP(
    "DatabaseFile", "数据库文件 %1 由更新版本的程序建立(结构版本 %2),本程序只能使用版本 %3。\n"
                    "程序没有改动该文件,即将退出。");
const char *const kDamaged = QT_TRANSLATE_NOOP(
    "DatabaseFile", "数据库文件 %1 已损坏,完整性检查未通过(%2)。\n程序没有改动该文件,即将退出。");
const char *const kUnreadable =
    QT_TRANSLATE_NOOP("DatabaseFile", "无法读取数据库文件 %1(%2)。\n程序即将退出。");
// Why a file is not this program's: the %2 of kForeign.
const char *const kOtherProgram = QT_TRANSLATE_NOOP("DatabaseFile", "文件属于其他程序");
const char *const kNoTable = QT_TRANSLATE_NOOP("DatabaseFile", "缺少数据表 %1");
const char *const kNoColumn = QT_TRANSLATE_NOOP("DatabaseFile", "数据表 %1 缺少字段 %2");
// Why creation failed: the %2 of the backend's message.
const char *const kNoFolder = QT_TRANSLATE_NOOP("DatabaseFile", "无法建立文件夹 %1");
const char *const kNoRename = QT_TRANSLATE_NOOP("DatabaseFile", "无法把 %1 改名为 %2");

QString tr(const char *text)
{
    return QCoreApplication::translate("DatabaseFile", text);
}

constexpr int kHeaderSize = 100;

quint32 bigEndian32(const QByteArray &bytes, int at)
{
    return (quint32(quint8(bytes[at])) << 24) | (quint32(quint8(bytes[at + 1])) << 16)
           | (quint32(quint8(bytes[at + 2])) << 8) | quint32(quint8(bytes[at + 3]));
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

bool run(QSqlQuery &query, const QString &sql, QString *error)
{
    if (query.exec(sql))
        return true;
    if (error)
        *error = query.lastError().text();
    return false;
}

}  // namespace

QString DatabaseFile::pathIn(const QString &appDir)
{
    return QDir(appDir).filePath(QStringLiteral("mdb/Lendora.mdb"));
}

QString DatabaseFile::markerPath(const QString &path)
{
    return path + QStringLiteral(".inuse");
}

std::optional<DatabaseFile::Identity> DatabaseFile::identityOf(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return Identity{quint64(info.st_dev), quint64(info.st_ino), qint64(info.st_size),
                    qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

std::optional<DatabaseFile::Marker> DatabaseFile::readMarker(const QString &path)
{
    const std::optional<QStringList> lines = TextFile::readLines(markerPath(path));
    if (!lines)
        return std::nullopt;
    QHash<QString, QString> values;
    for (const QString &line : *lines) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0)
            values.insert(line.left(equals), line.mid(equals + 1));
    }
    Marker marker;
    marker.checkpointing = values.value(QStringLiteral("state")) == QLatin1String("checkpointing");
    bool ok[4] = {};
    const Identity identity{values.value(QStringLiteral("device")).toULongLong(&ok[0]),
                            values.value(QStringLiteral("inode")).toULongLong(&ok[1]),
                            values.value(QStringLiteral("size")).toLongLong(&ok[2]),
                            values.value(QStringLiteral("modified")).toLongLong(&ok[3])};
    if (ok[0] && ok[1] && ok[2] && ok[3])
        marker.identity = identity;
    return marker;
}

bool DatabaseFile::writeMarker(const QString &path, const Marker &marker)
{
    QStringList lines;
    if (marker.identity) {
        const Identity &id = *marker.identity;
        lines << QStringLiteral("device=%1").arg(id.device)
              << QStringLiteral("inode=%1").arg(id.inode) << QStringLiteral("size=%1").arg(id.size)
              << QStringLiteral("modified=%1").arg(id.modifiedNs);
    }
    lines << (marker.checkpointing ? QStringLiteral("state=checkpointing")
                                   : QStringLiteral("state=running"));
    const QString target = markerPath(path);
    return TextFile::replace(target, target + QStringLiteral(".new"), TextFile::encodeLines(lines))
           == TextFile::WriteResult::Written;
}

QString DatabaseFile::setLogAside(const QString &path, QString *error)
{
    const QString log = path + QStringLiteral("-wal");
    const QString index = path + QStringLiteral("-shm");
    QString suffix = QStringLiteral(".set-aside");
    for (int n = 2; QFileInfo::exists(log + suffix) || QFileInfo::exists(index + suffix); ++n)
        suffix = QStringLiteral(".set-aside-%1").arg(n);
    for (const QString &file : {log, index}) {
        if (QFileInfo::exists(file) && !QFile::rename(file, file + suffix)) {
            if (error)
                *error = tr(kNoRename).arg(native(file), native(file + suffix));
            return {};
        }
    }
    TextFile::syncFolderOf(path);
    return log + suffix;
}

bool DatabaseFile::create(const QString &path, QString *error)
{
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) {
        if (error)
            *error = tr(kNoFolder).arg(native(info.absolutePath()));
        return false;
    }
    const QString building = path + QStringLiteral(".new");
    QFile::remove(building);
    QFile::remove(building + QStringLiteral("-journal"));

    bool ok = false;
    const QString name = QStringLiteral("lendora-create-") + QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(building);
        if (!db.open()) {
            if (error)
                *error = db.lastError().text();
        } else {
            QSqlQuery pragma(db);
            ok = run(pragma, QStringLiteral("PRAGMA synchronous=FULL"), error)
                 && SqliteSchema::create(db, error)
                 && run(pragma, QStringLiteral("PRAGMA journal_mode=WAL"), error);
            pragma.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (ok && !QFile::rename(building, path)) {
        ok = false;
        if (error)
            *error = tr(kNoRename).arg(native(building), native(path));
    }
    if (ok)
        TextFile::syncFolderOf(path);  // the new file survives a power loss too
    else
        QFile::remove(building);
    return ok;
}

std::optional<int> DatabaseFile::schemaVersion(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray header = file.read(kHeaderSize);
    if (header.size() < kHeaderSize || !header.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return std::nullopt;
    return qint32(bigEndian32(header, 60));
}

QString DatabaseFile::checkFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return tr(kUnreadable).arg(native(path), file.errorString());
    const qint64 size = file.size();
    const QByteArray header = file.read(kHeaderSize);
    file.close();
    if (header.size() < kHeaderSize || !header.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return tr(kNotDatabase).arg(native(path));

    quint32 pageSize = (quint32(quint8(header[16])) << 8) | quint32(quint8(header[17]));
    if (pageSize == 1)
        pageSize = 65536;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0)
        return tr(kNotDatabase).arg(native(path));

    // The page count in the header is valid when the change counter equals the
    // version-valid-for number. A write-ahead log not yet copied back may hold pages the
    // file does not have yet, so the size is then only checked for whole pages.
    const quint32 changeCounter = bigEndian32(header, 24);
    const quint32 pageCount = bigEndian32(header, 28);
    const quint32 validFor = bigEndian32(header, 92);
    const QFileInfo wal(path + QStringLiteral("-wal"));
    const bool walPending = wal.exists() && wal.size() > 0;
    if (size % pageSize != 0)
        return tr(kTruncated).arg(native(path));
    if (!walPending && pageCount != 0 && changeCounter == validFor
        && qint64(pageCount) * pageSize != size)
        return tr(kTruncated).arg(native(path));

    const quint32 applicationId = bigEndian32(header, 68);
    if (applicationId != quint32(SqliteSchema::kApplicationId))
        return tr(kForeign).arg(native(path), tr(kOtherProgram));
    const qint32 version = qint32(bigEndian32(header, 60));
    if (version > Schema::kVersion)
        return tr(kNewer).arg(native(path)).arg(version).arg(Schema::kVersion);
    return {};
}

QString DatabaseFile::checkContent(QSqlDatabase &db, const QString &path, bool quickCheck,
                                   QString *found)
{
    QString problem = checkContentOf(db, path, quickCheck, found);
    if (found && found->isEmpty())
        *found = problem;
    return problem;
}

bool DatabaseFile::isInLogMode(const QString &path)
{
    // Bytes 18 and 19 of the header: the file format versions, 2 for write-ahead logging.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(18))
        return false;
    const QByteArray versions = file.read(2);
    return versions.size() == 2 && versions.at(0) == 2 && versions.at(1) == 2;
}

QString DatabaseFile::checkContentOf(QSqlDatabase &db, const QString &path, bool quickCheck,
                                     QString *found)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA application_id")) || !query.next())
        return tr(kNotDatabase).arg(native(path));
    if (query.value(0).toLongLong() != SqliteSchema::kApplicationId)
        return tr(kForeign).arg(native(path), tr(kOtherProgram));
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return tr(kNotDatabase).arg(native(path));
    const int version = query.value(0).toInt();
    if (version > Schema::kVersion)
        return tr(kNewer).arg(native(path)).arg(version).arg(Schema::kVersion);

    for (const Schema::Table &table : Schema::tables()) {
        const QSqlRecord record = db.record(table.name);
        if (record.isEmpty())
            return tr(kForeign).arg(native(path), tr(kNoTable).arg(table.name));
        for (const QString &column : table.columns) {
            if (record.indexOf(column) < 0)
                return tr(kForeign).arg(native(path),
                                        tr(kNoColumn).arg(table.name, Columns::label(column)));
        }
    }
    if (quickCheck) {
        QString damage;
        if (!query.exec(QStringLiteral("PRAGMA quick_check"))) {
            damage = query.lastError().text();
        } else {
            QStringList problems;
            while (query.next())
                problems << query.value(0).toString();
            if (problems != QStringList{QStringLiteral("ok")})
                damage = problems.mid(0, 3).join(QStringLiteral("; "));
        }
        if (!damage.isEmpty()) {
            if (found)
                *found = damage;
            return tr(kDamaged).arg(native(path), damage);
        }
    }
    return {};
}

bool DatabaseFile::configure(QSqlDatabase &db, bool readOnly, QString *error)
{
    QSqlQuery query(db);
    if (!run(query, QStringLiteral("PRAGMA busy_timeout=5000"), error))
        return false;
    if (readOnly)
        return run(query, QStringLiteral("PRAGMA query_only=1"), error);
    // The backend checkpoints itself, between two notes in the marker: the database file then
    // changes only where the marker says it may. It does so when the log file has grown large;
    // a log started afresh after a checkpoint is cut back to nothing, so that its size says
    // what it holds (left at its largest, every commit would checkpoint again).
    return run(query, QStringLiteral("PRAGMA journal_mode=WAL"), error)
           && run(query, QStringLiteral("PRAGMA synchronous=FULL"), error)
           && run(query, QStringLiteral("PRAGMA wal_autocheckpoint=0"), error)
           && run(query, QStringLiteral("PRAGMA journal_size_limit=0"), error);
}

}  // namespace lendora
