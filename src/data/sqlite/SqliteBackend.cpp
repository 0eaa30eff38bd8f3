#include "data/sqlite/SqliteBackend.h"

#include "data/Schema.h"
#include "data/sqlite/DatabaseFile.h"
#include "data/sqlite/SqliteMatch.h"
#include "data/sqlite/SqliteSchema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace lendora {

namespace {

const char *const kIsFolder = QT_TRANSLATE_NOOP(
    "SqliteBackend", "数据库文件的位置 %1 是一个文件夹,不是文件。\n程序没有改动它,即将退出。");
const char *const kReadOnly =
    QT_TRANSLATE_NOOP("SqliteBackend", "数据库文件 %1 是只读文件,借还记录无法保存。\n"
                                       "请取消它的只读属性后再启动程序。");
const char *const kCannotCreate =
    QT_TRANSLATE_NOOP("SqliteBackend", "无法建立数据库文件 %1(%2)。\n程序即将退出。");
const char *const kCannotOpen =
    QT_TRANSLATE_NOOP("SqliteBackend", "无法打开数据库文件 %1(%2)。\n程序即将退出。");

QString tr(const char *text)
{
    return QCoreApplication::translate("SqliteBackend", text);
}

const QString kDriver = QStringLiteral("QSQLITE");
const QString kBusyTimeout = QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000");

// The engine's result codes the desk tells apart: primary codes in the low byte, the
// extended ones (which this driver reports) above it.
enum Code {
    Busy = 5,
    Locked = 6,
    Full = 13,
    CantOpen = 14,
    Constraint = 19,
    BusySnapshot = Busy | (2 << 8),
    ConstraintPrimaryKey = Constraint | (6 << 8),
    ConstraintUnique = Constraint | (8 << 8),
};

void removeConnection(const QString &name)
{
    if (!QSqlDatabase::contains(name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

}  // namespace

SqliteBackend::SqliteBackend(QString path) : m_path(std::move(path)) {}

QString SqliteBackend::location() const
{
    return QDir::toNativeSeparators(m_path);
}

bool SqliteBackend::checksBeforeOpening() const
{
    return QFile::exists(DatabaseFile::markerPath(m_path));
}

Backend::Opened SqliteBackend::open(const QString &connectionName)
{
    const QString shown = location();
    const auto refuse = [&](const QString &text) {
        removeConnection(connectionName);
        return Opened{false, text, {}};
    };
    const QFileInfo info(m_path);
    if (info.exists() && !info.isFile())
        return refuse(tr(kIsFolder).arg(shown));
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
        QSqlDatabase db = QSqlDatabase::addDatabase(kDriver, connectionName);
        db.setDatabaseName(m_path);
        db.setConnectOptions(kBusyTimeout);
        if (!db.open())
            return tr(kCannotOpen).arg(shown, db.lastError().text());
        const bool uncleanEnd = QFile::exists(DatabaseFile::markerPath(m_path));
        if (QString content = DatabaseFile::checkContent(db, m_path, uncleanEnd);
            !content.isEmpty())
            return content;
        int userVersion = Schema::kVersion;
        {
            QSqlQuery version(db);
            if (version.exec(QStringLiteral("PRAGMA user_version")) && version.next())
                userVersion = version.value(0).toInt();
        }
        QString error;
        if (!DatabaseFile::configure(db, false, &error)
            || !SqliteSchema::upgrade(db, userVersion, &notice, &error))
            return tr(kCannotOpen).arg(shown, error);
        return {};
    }();
    if (!bad.isEmpty())
        return refuse(bad);

    QFile marker(DatabaseFile::markerPath(m_path));
    if (marker.open(QIODevice::WriteOnly | QIODevice::Truncate))
        marker.close();
    return {true, {}, notice};
}

void SqliteBackend::close(const QString &connectionName)
{
    if (!QSqlDatabase::contains(connectionName))
        return;
    removeConnection(connectionName);
    QFile::remove(DatabaseFile::markerPath(m_path));
}

bool SqliteBackend::openReadOnly(const QString &connectionName, DbError *error)
{
    QSqlDatabase db = QSqlDatabase::contains(connectionName)
                          ? QSqlDatabase::database(connectionName, false)
                          : QSqlDatabase::addDatabase(kDriver, connectionName);
    db.setDatabaseName(m_path);
    db.setConnectOptions(kBusyTimeout);
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

bool SqliteBackend::create(QString *error)
{
    return DatabaseFile::create(m_path, error);
}

SqlCondition SqliteBackend::exact(const QString &column, const QString &text) const
{
    return SqliteMatch::exact(column, text);
}

SqlCondition SqliteBackend::partial(const QString &column, const QString &text) const
{
    return SqliteMatch::partial(column, text);
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
    else if (primary == CantOpen)
        kind = DbError::ConnectionLost;
    return {kind, text};
}

}  // namespace lendora
