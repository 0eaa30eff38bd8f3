#include "data/sqlite/SqliteBackend.h"

#include "data/Backups.h"
#include "data/sqlite/SqliteBackup.h"

#include "data/Schema.h"
#include "data/sqlite/DatabaseFile.h"
#include "data/sqlite/SqliteMatch.h"
#include "data/sqlite/SqliteSchema.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <sqlite3.h>

namespace lendora {

namespace {

const char *const kIsFolder = QT_TRANSLATE_NOOP(
    "SqliteBackend", "数据库文件的位置 %1 是一个文件夹,不是文件。\n程序没有改动它,即将退出。");
const char *const kReadOnly =
    QT_TRANSLATE_NOOP("SqliteBackend", "数据库文件 %1 是只读文件,借还记录无法保存。\n"
                                       "请取消它的只读属性后再启动程序。");
const char *const kCannotCreate =
    QT_TRANSLATE_NOOP("SqliteBackend", "无法建立数据库文件 %1(%2)。\n程序即将退出。");
const char *const kNoUpgradeCopy =
    QT_TRANSLATE_NOOP("SqliteBackend", "数据库结构升级前没能先备份:%1\n升级照常进行。");
const char *const kCannotOpen =
    QT_TRANSLATE_NOOP("SqliteBackend", "无法打开数据库文件 %1(%2)。\n程序即将退出。");
const char *const kLogWithoutFile = QT_TRANSLATE_NOOP(
    "SqliteBackend", "数据库文件 %1 不存在,它旁边却留有上次运行的日志文件。\n"
                     "日志属于一个已不在的数据库,没有用于新建的数据库,已改名保存为 %2。");
const char *const kLogOfOtherFile = QT_TRANSLATE_NOOP(
    "SqliteBackend", "上次程序没有正常退出,之后数据库文件 %1 被换成了另一个文件(例如恢复了备份)。\n"
                     "上次留下的日志属于原来的文件,没有用于现在的文件,已改名保存为 %2。\n"
                     "现在的文件中没有原来的文件最后的借还记录,请核对。");
const char *const kCannotSetAside = QT_TRANSLATE_NOOP(
    "SqliteBackend", "数据库文件 %1 旁边留有不属于它的日志文件,无法把它移开(%2)。\n"
                     "程序没有改动任何文件,即将退出。");
const char *const kNotUpgraded = QT_TRANSLATE_NOOP(
    "SqliteBackend", "数据库文件 %1 的版本与本程序不同,请先关闭正在运行的借还程序再试。");
const char *const kMissing = QT_TRANSLATE_NOOP("SqliteBackend", "找不到数据库文件 %1。");
const char *const kReplaced =
    QT_TRANSLATE_NOOP("SqliteBackend", "数据库文件 %1 已被删除或替换,不是程序打开的那个文件了。");

QString tr(const char *text)
{
    return QCoreApplication::translate("SqliteBackend", text);
}

const QString kDriver = QStringLiteral("QSQLITE");
// Opened by URI with mode=rw: a connection never creates the file, only DatabaseFile does.
const QString kOptions = QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000");
// The log is copied back into the file once it holds this much.
constexpr qint64 kCheckpointBytes = 4 * 1024 * 1024;

// The engine's result codes the desk tells apart: primary codes in the low byte, the
// extended ones (which this driver reports) above it.
enum Code {
    Busy = 5,
    Locked = 6,
    IoErr = 10,
    Full = 13,
    CantOpen = 14,
    Constraint = 19,
    BusySnapshot = Busy | (2 << 8),
    ConstraintPrimaryKey = Constraint | (6 << 8),
    ConstraintUnique = Constraint | (8 << 8),
};

QString uriOf(const QString &path)
{
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded)
           + QStringLiteral("?mode=rw");
}

QSqlDatabase addConnection(const QString &name, const QString &path)
{
    QSqlDatabase db = QSqlDatabase::contains(name) ? QSqlDatabase::database(name, false)
                                                   : QSqlDatabase::addDatabase(kDriver, name);
    db.setDatabaseName(uriOf(path));
    db.setConnectOptions(kOptions);
    return db;
}

}  // namespace

SqliteBackend::SqliteBackend(QString path, Mode mode) : m_path(std::move(path)), m_mode(mode) {}

QString SqliteBackend::location() const
{
    return QDir::toNativeSeparators(m_path);
}

bool SqliteBackend::endedUncleanly() const
{
    return QFile::exists(DatabaseFile::markerPath(m_path));
}

bool SqliteBackend::checksBeforeOpening() const
{
    return m_mode == Mode::Desk && endedUncleanly() && !checksInBackground();
}

bool SqliteBackend::checksInBackground() const
{
    return m_checkInBackground && m_mode == Mode::Desk && endedUncleanly() && !upgradesOnOpening()
           && DatabaseFile::isInLogMode(m_path);
}

// The connection of a check under way, so that another thread can interrupt it.
struct SqliteBackend::CheckStop {
    QMutex mutex;
    sqlite3 *running = nullptr;
    bool stopped = false;

    void stop()
    {
        QMutexLocker locker(&mutex);
        stopped = true;
        if (running)
            sqlite3_interrupt(running);
    }
};

QString SqliteBackend::checkWholeFile(const QString &path, CheckStop *stop)
{
    static QAtomicInt nextCheck;
    const QString name = QStringLiteral("whole-file-check#%1").arg(nextCheck.fetchAndAddRelaxed(1));
    QString found;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(kDriver, name);
        QString uri = uriOf(path);
        uri.replace(QStringLiteral("?mode=rw"), QStringLiteral("?mode=ro"));
        db.setDatabaseName(uri);
        db.setConnectOptions(kOptions + QStringLiteral(";QSQLITE_OPEN_READONLY"));
        if (!db.open()) {
            found = db.lastError().text();
        } else {
            if (stop) {
                QMutexLocker locker(&stop->mutex);
                stop->running = *static_cast<sqlite3 **>(db.driver()->handle().data());
                if (stop->stopped)
                    sqlite3_interrupt(stop->running);
            }
            DatabaseFile::checkContent(db, path, true, &found);
            if (stop) {
                QMutexLocker locker(&stop->mutex);
                stop->running = nullptr;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return found;
}

bool SqliteBackend::upgradesOnOpening() const
{
    const std::optional<int> version = DatabaseFile::schemaVersion(m_path);
    return version && *version < Schema::kVersion;
}

QString SqliteBackend::guardLog(QString *notice) const
{
    // A log replays into whatever file bears its name. After a run that did not end cleanly,
    // the log belongs to the file of that run; beside no file or another file it would mix
    // two libraries, so it is kept aside instead.
    const QString shown = location();
    const bool fileThere = QFileInfo::exists(m_path);
    const QFileInfo log(m_path + QStringLiteral("-wal"));
    const char *why = nullptr;
    if (!fileThere) {
        if (log.exists() || QFileInfo::exists(m_path + QStringLiteral("-shm")))
            why = kLogWithoutFile;
    } else if (log.exists() && log.size() > 0) {
        const std::optional<DatabaseFile::Marker> marker = DatabaseFile::readMarker(m_path);
        const std::optional<DatabaseFile::Identity> now = DatabaseFile::identityOf(m_path);
        if (marker && marker->identity && now) {
            const bool same = marker->checkpointing ? marker->identity->isSameFile(*now)
                                                    : *marker->identity == *now;
            if (!same)
                why = kLogOfOtherFile;
        }
    }
    if (!why)
        return {};
    QString error;
    const QString asideAs = DatabaseFile::setLogAside(m_path, &error);
    if (asideAs.isEmpty())
        return tr(kCannotSetAside).arg(shown, error);
    *notice = tr(why).arg(shown, QDir::toNativeSeparators(asideAs));
    return {};
}

Connector::Opened SqliteBackend::openBesideDesk(const QString &connectionName)
{
    const QString shown = location();
    const auto refuse = [&](const QString &text) {
        removeConnection(connectionName);
        return Opened{false, text, {}};
    };
    if (!QFileInfo(m_path).isFile())
        return refuse(tr(kMissing).arg(shown));
    if (const QString bad = DatabaseFile::checkFile(m_path); !bad.isEmpty())
        return refuse(bad);
    if (!(QFile::permissions(m_path) & QFileDevice::WriteOwner))
        return refuse(tr(kReadOnly).arg(shown));
    const QString bad = [&]() -> QString {
        QSqlDatabase db = addConnection(connectionName, m_path);
        if (!db.open())
            return tr(kCannotOpen).arg(shown, db.lastError().text());
        if (QString content = DatabaseFile::checkContent(db, m_path, false); !content.isEmpty())
            return content;
        // The running desk upgraded the file at its start; an older one is its to upgrade.
        QSqlQuery version(db);
        if (!version.exec(QStringLiteral("PRAGMA user_version")) || !version.next()
            || version.value(0).toInt() != Schema::kVersion)
            return tr(kNotUpgraded).arg(shown);
        QString error;
        if (!DatabaseFile::configure(db, false, &error))
            return tr(kCannotOpen).arg(shown, error);
        return {};
    }();
    if (!bad.isEmpty())
        return refuse(bad);
    m_opened = DatabaseFile::identityOf(m_path);
    return {true, {}, {}};
}

Connector::Opened SqliteBackend::open(const QString &connectionName)
{
    if (m_mode == Mode::BesideDesk)
        return openBesideDesk(connectionName);
    const QString shown = location();
    const auto refuse = [&](const QString &text) {
        removeConnection(connectionName);
        return Opened{false, text, {}};
    };
    const QFileInfo info(m_path);
    if (info.exists() && !info.isFile())
        return refuse(tr(kIsFolder).arg(shown));
    const bool checkBeside = checksInBackground();
    QString logNotice;
    if (const QString bad = guardLog(&logNotice); !bad.isEmpty())
        return refuse(bad);
    if (!info.exists()) {
        QString error;
        if (!create(&error))
            return refuse(tr(kCannotCreate).arg(shown, error));
    }
    if (const QString bad = DatabaseFile::checkFile(m_path); !bad.isEmpty())
        return refuse(bad);
    if (!(QFile::permissions(m_path) & QFileDevice::WriteOwner))
        return refuse(tr(kReadOnly).arg(shown));

    // Every query and handle of the checks is gone before a refusal drops the connection.
    QString notice;
    const QString bad = [&]() -> QString {
        QSqlDatabase db = addConnection(connectionName, m_path);
        if (!db.open())
            return tr(kCannotOpen).arg(shown, db.lastError().text());
        const bool uncleanEnd = QFile::exists(DatabaseFile::markerPath(m_path));
        if (QString content = DatabaseFile::checkContent(db, m_path, uncleanEnd && !checkBeside);
            !content.isEmpty())
            return content;
        int userVersion = Schema::kVersion;
        {
            QSqlQuery version(db);
            if (version.exec(QStringLiteral("PRAGMA user_version")) && version.next())
                userVersion = version.value(0).toInt();
        }
        QString error;
        if (userVersion < Schema::kVersion)
            backUpBeforeUpgrade(&notice);
        if (!DatabaseFile::configure(db, false, &error)
            || !SqliteSchema::upgrade(db, userVersion, &notice, &error))
            return tr(kCannotOpen).arg(shown, error);
        m_pairs = SqliteSchema::holdsPairs(db);
        return {};
    }();
    if (!bad.isEmpty())
        return refuse(bad);

    // The file as it is now: each write checks that it is still there, and the next start
    // knows which file the log left behind belongs to.
    m_opened = DatabaseFile::identityOf(m_path);
    DatabaseFile::writeMarker(m_path, {m_opened, false});
    if (!logNotice.isEmpty())
        notice = notice.isEmpty() ? logNotice : logNotice + QStringLiteral("\n\n") + notice;
    Opened opened{true, {}, notice};
    m_checkOwed = checkBeside;
    if (checkBeside) {
        auto stop = std::make_shared<CheckStop>();
        opened.check = [path = m_path, stop] { return checkWholeFile(path, stop.get()); };
        opened.stopCheck = [stop] { stop->stop(); };
    }
    return opened;
}

void SqliteBackend::checkEnded(bool passed)
{
    m_checkOwed = m_checkOwed && !passed;
}

void SqliteBackend::close(const QString &connectionName)
{
    if (!QSqlDatabase::contains(connectionName))
        return;
    if (m_mode == Mode::BesideDesk) {
        // The desk's connection stays open, so closing this one copies nothing back.
        removeConnection(connectionName);
        return;
    }
    // The last connection copies the log back as it closes.
    DatabaseFile::writeMarker(m_path, {m_opened, true});
    if (m_checkOwed) {
        // Not known to be sound: nothing copied into it, and the next start checks it again.
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        if (sqlite3 *handle =
                db.isOpen() ? *static_cast<sqlite3 **>(db.driver()->handle().data()) : nullptr)
            sqlite3_db_config(handle, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
        db = QSqlDatabase();
        removeConnection(connectionName);
        return;
    }
    removeConnection(connectionName);
    QFile::remove(DatabaseFile::markerPath(m_path));
}

bool SqliteBackend::reopen(const QString &connectionName, DbError *error)
{
    if (m_mode == Mode::BesideDesk) {
        removeConnection(connectionName);
        QSqlDatabase db = addConnection(connectionName, m_path);
        QString problem;
        const bool ok = db.open() && DatabaseFile::configure(db, false, &problem);
        if (!ok && error)
            *error =
                problem.isEmpty() ? classify(db.lastError()) : DbError{DbError::Other, problem};
        return ok;
    }
    DatabaseFile::writeMarker(m_path, {m_opened, true});
    removeConnection(connectionName);
    QSqlDatabase db = addConnection(connectionName, m_path);
    QString problem;
    const bool ok = db.open() && DatabaseFile::configure(db, false, &problem);
    if (!ok && error)
        *error = problem.isEmpty() ? classify(db.lastError()) : DbError{DbError::Other, problem};
    markRunning();
    return ok;
}

bool SqliteBackend::settle(QSqlDatabase &db, DbError *error)
{
    if (m_mode == Mode::BesideDesk) {
        // A checkpoint would change the file behind the desk's marker: left to the desk.
        if (error)
            *error = {DbError::Other, QStringLiteral("not settled beside a running desk")};
        return false;
    }
    // A truncating checkpoint copies what the log holds into the file, syncs it and empties
    // the log: a commit the engine gave up on can no longer come back at the next start.
    return checkpoint(db, QStringLiteral("TRUNCATE"), error);
}

void SqliteBackend::afterCommit(QSqlDatabase &db)
{
    // Beside the desk the log only grows; the desk's next commit copies it back, marked.
    if (m_mode == Mode::BesideDesk)
        return;
    const QFileInfo log(m_path + QStringLiteral("-wal"));
    if (log.size() >= kCheckpointBytes)
        checkpoint(db, QStringLiteral("PASSIVE"), nullptr);
}

bool SqliteBackend::checkpoint(QSqlDatabase &db, const QString &mode, DbError *error)
{
    if (!DatabaseFile::writeMarker(m_path, {m_opened, true})) {
        if (error)
            *error = {DbError::IoError, QStringLiteral("cannot write the in-use marker")};
        return false;
    }
    bool done = false;
    {
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("PRAGMA wal_checkpoint(%1)").arg(mode))) {
            if (error)
                *error = classify(query.lastError());
        } else if (query.next()) {
            // busy, log frames, frames copied
            done = query.value(0).toInt() == 0;
            if (!done && error)
                *error = {DbError::Busy, QStringLiteral("checkpoint blocked by a reader")};
        }
    }
    markRunning();
    return done;
}

void SqliteBackend::markRunning()
{
    if (const std::optional<DatabaseFile::Identity> now = DatabaseFile::identityOf(m_path);
        now && m_opened && now->isSameFile(*m_opened))
        m_opened = now;
    DatabaseFile::writeMarker(m_path, {m_opened, false});
}

DbError SqliteBackend::checkUnchanged() const
{
    // The path, not the open descriptor: a file renamed over the library keeps the old
    // descriptor working while the desk would write where nobody looks.
    const std::optional<DatabaseFile::Identity> now = DatabaseFile::identityOf(m_path);
    if (m_opened && now && now->isSameFile(*m_opened))
        return {};
    return {DbError::Replaced, tr(kReplaced).arg(location())};
}

bool SqliteBackend::openReadOnly(const QString &connectionName, DbError *error)
{
    QSqlDatabase db = addConnection(connectionName, m_path);
    if (!db.open()) {
        if (error)
            *error = classify(db.lastError());
        return false;
    }
    QString problem;
    if (!DatabaseFile::configure(db, true, &problem)) {
        // The connection still reads; the failed setup is reported with the next run.
        if (error)
            *error = {DbError::Other, problem};
    }
    return true;
}

QString SqliteBackend::checkLibrary(QSqlDatabase &db, DbError *error) const
{
    // The first read takes the file's lock: a writer that holds it longer than the wait is
    // no sign of a foreign file.
    {
        QSqlQuery first(db);
        if (!first.exec(QStringLiteral("PRAGMA application_id"))) {
            const DbError failed = classify(first.lastError());
            if (failed.kind == DbError::Busy || failed.kind == DbError::IoError) {
                if (error)
                    *error = failed;
                return {};
            }
        }
    }
    return DatabaseFile::checkContent(db, m_path, false);
}

bool SqliteBackend::create(QString *error)
{
    return DatabaseFile::create(m_path, error);
}

SqlCondition SqliteBackend::exact(const QString &column, const QString &text) const
{
    return SqliteMatch::exact(column, text, m_pairs);
}

SqlCondition SqliteBackend::partial(const QString &column, const QString &text) const
{
    return SqliteMatch::partial(column, text, m_pairs);
}

std::optional<qint64> SqliteBackend::candidates(const QSqlDatabase &db, const QString &column,
                                                const QString &text, bool partialMatch,
                                                qint64 atMost) const
{
    const SqlCondition rows = SqliteMatch::candidates(column, text, partialMatch, m_pairs);
    if (rows.sql.isEmpty())
        return std::nullopt;
    QSqlQuery count(db);
    if (!count.prepare(QStringLiteral("select count(*) from (%1 limit ?)").arg(rows.sql)))
        return std::nullopt;
    for (const QVariant &value : rows.values)
        count.addBindValue(value);
    count.addBindValue(atMost);
    if (!count.exec() || !count.next())
        return std::nullopt;
    return count.value(0).toLongLong();
}

SqlCondition SqliteBackend::matchEach(const QString &column, const QString &text, bool partialMatch,
                                      const QString &driverKey) const
{
    return SqliteMatch::each(column, text, partialMatch, driverKey);
}

SqlCondition SqliteBackend::matchAmong(const QString &column, const QString &text,
                                       bool partialMatch, const QString &foreignKey,
                                       const QString &key, bool findThrough) const
{
    SqlCondition among =
        SqlDialect::matchAmong(column, text, partialMatch, foreignKey, key, findThrough);
    // Unary + keeps the planner from reading the rows through the foreign key's index with
    // the set: they must come in their own order, which needs no sort.
    if (!findThrough)
        among.sql.prepend(QLatin1Char('+'));
    return among;
}

qint64 SqliteBackend::rowsAbout(const QSqlDatabase &db, const QString &table) const
{
    // Rows are numbered as they are entered and few are deleted: the last number is near
    // the count, read off the end of the table rather than counted.
    QSqlQuery last(db);
    if (!last.exec(QStringLiteral("select max(rowid) from %1").arg(table)) || !last.next())
        return -1;
    return last.value(0).toLongLong();
}

bool SqliteBackend::beginWrite(QSqlDatabase &db, DbError *error)
{
    // IMMEDIATE takes the write lock at once, waiting for it up to the busy timeout; a plain
    // BEGIN would read first and then fail at once when another connection wrote meanwhile.
    QSqlQuery begin(db);
    if (begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return true;
    if (error)
        *error = classify(begin.lastError());
    return false;
}

QString SqliteBackend::lockRows(const QString &, const QString &) const
{
    return {};  // the write transaction holds the whole file
}

QString SqliteBackend::firstRowOnly(const QString &table) const
{
    return SqliteSchema::firstRowOnly(table);
}

QString SqliteBackend::rowKey(const QString &table) const
{
    return table + QStringLiteral(".rowid");
}

Copies::Copier SqliteBackend::copier() const
{
    return [path = m_path](const QString &target, QString *error) {
        return SqliteBackup::copy(path, target, error);
    };
}

bool SqliteBackend::isLibrary(const QString &path) const
{
    const QString library = QFileInfo(m_path).canonicalFilePath();
    return !library.isEmpty() && QFileInfo(path).canonicalFilePath() == library;
}

bool SqliteBackend::copyTo(QSqlDatabase &db, const QString &path, DbError *error)
{
    // One read transaction from the first page to the last: the copy holds what the log
    // holds too, and nothing written meanwhile.
    QSqlQuery vacuum(db);
    vacuum.prepare(QStringLiteral("VACUUM INTO ?"));
    vacuum.addBindValue(path);
    if (vacuum.exec())
        return true;
    if (error)
        *error = classify(vacuum.lastError());
    return false;
}

void SqliteBackend::backUpBeforeUpgrade(QString *notice) const
{
    // backup/ beside mdb/, as the desk keeps its other copies.
    QDir appDir = QFileInfo(m_path).absoluteDir();
    appDir.cdUp();
    const Backups backups(appDir.absolutePath());
    QString error;
    // The clock names the file only; nothing is decided by it.
    const QDateTime now = QDateTime::currentDateTime();
    const QString copy = backups.pathFor(now.date(), now.time(), QStringLiteral("upgrade"));
    if (!QDir().mkpath(backups.folder()) || !SqliteBackup::copy(m_path, copy, &error)) {
        // The upgrade runs step by step in transactions of its own; the desk goes on.
        const QString text = tr(kNoUpgradeCopy).arg(error);
        *notice = notice->isEmpty() ? text : *notice + QStringLiteral("\n\n") + text;
    }
}

bool SqliteBackend::restoreFrom(QSqlDatabase &db, const QString &source, QString *notice,
                                DbError *error)
{
    QString why;
    if (!SqliteBackup::restore(db, source, &why)) {
        if (error)
            *error = {DbError::Other, why};
        return false;
    }
    // A copy made by an older program is brought up to date as its first start would.
    int version = Schema::kVersion;
    {
        QSqlQuery query(db);
        if (query.exec(QStringLiteral("PRAGMA user_version")) && query.next())
            version = query.value(0).toInt();
    }
    if (!DatabaseFile::configure(db, false, &why)
        || !SqliteSchema::upgrade(db, version, notice, &why)) {
        if (error)
            *error = {DbError::Other, why};
        return false;
    }
    m_pairs = SqliteSchema::holdsPairs(db);
    // Into the file at once where no reader holds an older view; else with the next
    // checkpoint. The restore itself is committed either way.
    checkpoint(db, QStringLiteral("TRUNCATE"), nullptr);
    return true;
}

DbError SqliteBackend::classify(const QSqlError &error) const
{
    if (error.type() == QSqlError::NoError)
        return {};
    const QString text = error.text();
    // Transaction statements come back without the engine's code; their text still says.
    const int code = error.nativeErrorCode().toInt();
    const int primary = code & 0xff;
    DbError::Kind kind = DbError::Other;
    if (code == ConstraintUnique || code == ConstraintPrimaryKey
        || text.contains(QLatin1String("UNIQUE constraint failed")))
        kind = DbError::UniqueViolation;
    else if (code == BusySnapshot)
        kind = DbError::Retry;
    else if (primary == Busy || primary == Locked
             || text.contains(QLatin1String("database is locked")))
        kind = DbError::Busy;
    else if (primary == Full || text.contains(QLatin1String("database or disk is full")))
        kind = DbError::DiskFull;
    else if (primary == IoErr || text.contains(QLatin1String("disk I/O error")))
        kind = DbError::IoError;
    else if (primary == CantOpen)
        kind = DbError::ConnectionLost;
    return {kind, text};
}

}  // namespace lendora
