#include "data/postgres/PostgresBackend.h"

#include "data/LibraryCopy.h"
#include "data/Schema.h"
#include "data/postgres/PostgresSchema.h"
#include "data/sqlite/DatabaseFile.h"
#include "data/sqlite/SqliteBackend.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

namespace lendora {

namespace {

const char *const kCannotConnect =
    QT_TRANSLATE_NOOP("PostgresBackend", "无法连接数据库服务器上的图书馆 %1(%2)。\n程序即将退出。");
const char *const kNotOurs = QT_TRANSLATE_NOOP(
    "PostgresBackend", "服务器上的数据库 %1 中已有别的数据表,不是本程序的图书馆。\n"
                       "程序没有改动它,即将退出。");
const char *const kNewer = QT_TRANSLATE_NOOP(
    "PostgresBackend", "服务器上的图书馆 %1 由更新版本的程序建立(版本 %2),本程序无法使用。");
const char *const kNoTrigrams =
    QT_TRANSLATE_NOOP("PostgresBackend", "服务器上的数据库 %1 的区域设置不能检索中文。\n"
                                         "请用下面的语句重新建立它:\n%2");
const char *const kCannotUpgrade = QT_TRANSLATE_NOOP(
    "PostgresBackend", "无法升级服务器上的图书馆 %1 的结构(%2)。\n程序即将退出。");
const char *const kCannotCreate =
    QT_TRANSLATE_NOOP("PostgresBackend", "无法在服务器上建立图书馆 %1(%2)。\n程序即将退出。");
const char *const kNotEmpty = QT_TRANSLATE_NOOP(
    "PostgresBackend", "服务器上的数据库 %1 不是空的。请给出一个新建的空数据库。");
const char *const kNoRestoreOnServer = QT_TRANSLATE_NOOP(
    "PostgresBackend",
    "服务器上的图书馆不能在柜台上恢复备份。\n"
    "请新建一个空数据库,再用 lendora-cli migrate --to 地址 --from 备份文件 移入。");

QString tr(const char *text)
{
    return QCoreApplication::translate("PostgresBackend", text);
}

// What libpq and the driver said, on one line: libpq breaks its words over several, with tabs,
// and the clerk's message holds them in brackets.
QString said(const QSqlError &error)
{
    static const QRegularExpression kBreaks(QStringLiteral("\\s*\\n\\s*"));
    return error.text().replace(kBreaks, QStringLiteral(" ")).trimmed();
}

}  // namespace

PostgresBackend::PostgresBackend(ServerAddress address) : m_address(std::move(address)) {}

QString PostgresBackend::createHint(const QString &database)
{
    return QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' LOCALE 'C.UTF-8' TEMPLATE template0;")
        .arg(database);
}

bool PostgresBackend::moveIn(QSqlDatabase &from, const SqlDialect &dialect, QString *error)
{
    const QString name = QStringLiteral("lendora-move@") + m_address.url();
    QString why;
    bool ok = false;
    {
        QSqlError failed;
        QSqlDatabase db = connect(name, &failed);
        QSqlQuery query(db);
        if (failed.isValid()) {
            why = tr(kCannotConnect).arg(location(), said(failed));
        } else if (const int version = PostgresSchema::version(db, &why); version != 0) {
            if (why.isEmpty())
                why = tr(kNotEmpty).arg(location());
        } else if (!query.exec(QStringLiteral("CREATE EXTENSION IF NOT EXISTS pg_trgm"))) {
            why = query.lastError().text();
        } else if (!PostgresSchema::makesChineseTrigrams(db)) {
            why = tr(kNoTrigrams).arg(location(), createHint(m_address.database));
        } else if (!db.transaction()) {
            why = db.lastError().text();
        } else {
            ok = PostgresSchema::createTables(query, &why)
                 && LibraryCopy::copy(from, dialect, db, *this, &why)
                 && PostgresSchema::createIndexes(query, &why)
                 && PostgresSchema::continueEntryNumbers(query, &why);
            // The planner's picture of the rows, before any desk plans a search: without it
            // a loan search by title walked every loan in entry order (5 s on three million).
            if (ok
                && (!query.exec(QStringLiteral("ANALYZE"))
                    || !query.exec(QStringLiteral("INSERT INTO lendoraSchema (version) VALUES (%1)")
                                       .arg(Schema::kVersion)))) {
                why = query.lastError().text();
                ok = false;
            }
            if (ok && !db.commit()) {
                why = db.lastError().text();
                ok = false;
            }
            if (!ok)
                db.rollback();
        }
    }
    removeConnection(name);
    if (!ok && error)
        *error = why;
    return ok;
}

QString PostgresBackend::location() const
{
    return m_address.url();
}

QSqlDatabase PostgresBackend::connect(const QString &connectionName, QSqlError *error) const
{
    removeConnection(connectionName);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
    m_address.applyTo(db);
    if (!db.open() && error)
        *error = db.lastError();
    return db;
}

QString PostgresBackend::prepareSchema(QSqlDatabase &db, QString *notice) const
{
    const QString shown = location();
    QString error;
    const int version = PostgresSchema::version(db, &error);
    if (version < 0)
        return error.isEmpty() ? tr(kNotOurs).arg(shown) : tr(kCannotConnect).arg(shown, error);
    if (version > Schema::kVersion)
        return tr(kNewer).arg(shown, QString::number(version));
    if (version == 0) {
        QSqlQuery extension(db);
        if (!extension.exec(QStringLiteral("CREATE EXTENSION IF NOT EXISTS pg_trgm")))
            return tr(kCannotCreate).arg(shown, extension.lastError().text());
    }
    if (!PostgresSchema::makesChineseTrigrams(db))
        return tr(kNoTrigrams).arg(shown, createHint(m_address.database));
    if (version == 0 && !PostgresSchema::create(db, &error))
        return tr(kCannotCreate).arg(shown, error);
    if (version > 0 && !PostgresSchema::upgrade(db, version, notice, &error))
        return tr(kCannotUpgrade).arg(shown, error);
    return {};
}

bool PostgresBackend::upgradesOnOpening() const
{
    const QString name = QStringLiteral("lendora-version@") + m_address.url();
    int version = 0;
    m_unanswered.reset();
    {
        QSqlError failed;
        QSqlDatabase db = connect(name, &failed);
        if (failed.isValid())
            m_unanswered = failed;
        else
            version = PostgresSchema::version(db, nullptr);
    }
    removeConnection(name);
    return version > 0 && version < Schema::kVersion;
}

Connector::Opened PostgresBackend::open(const QString &connectionName)
{
    QString notice;
    const QString bad = [&]() -> QString {
        if (m_unanswered)
            return tr(kCannotConnect).arg(location(), said(*std::exchange(m_unanswered, {})));
        QSqlError failed;
        QSqlDatabase db = connect(connectionName, &failed);
        if (failed.isValid())
            return tr(kCannotConnect).arg(location(), said(failed));
        return prepareSchema(db, &notice);
    }();
    if (!bad.isEmpty()) {
        removeConnection(connectionName);
        return {false, bad, {}};
    }
    return {true, {}, notice};
}

void PostgresBackend::close(const QString &connectionName)
{
    removeConnection(connectionName);
}

bool PostgresBackend::openReadOnly(const QString &connectionName, DbError *error)
{
    QSqlError failed;
    QSqlDatabase db = connect(connectionName, &failed);
    if (failed.isValid()) {
        if (error)
            *error = classify(failed);
        return false;
    }
    QSqlQuery readOnly(db);
    if (!readOnly.exec(QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY"))) {
        if (error)
            *error = classify(readOnly.lastError());
        return false;
    }
    return true;
}

bool PostgresBackend::create(QString *error)
{
    const QString name = QStringLiteral("lendora-create@") + m_address.url();
    QString bad;
    {
        QSqlError failed;
        QSqlDatabase db = connect(name, &failed);
        QString notice;
        bad = failed.isValid() ? tr(kCannotConnect).arg(location(), said(failed))
                               : prepareSchema(db, &notice);
    }
    removeConnection(name);
    if (!bad.isEmpty() && error)
        *error = bad;
    return bad.isEmpty();
}

SqlCondition PostgresBackend::exact(const QString &column, const QString &text) const
{
    return {column + QStringLiteral("=?"), {text}, {}, {}};
}

SqlCondition PostgresBackend::partial(const QString &column, const QString &text) const
{
    // LIKE folds ASCII letters in the file and nothing here: both sides are folded alike,
    // A-Z only (ILIKE and lower() would fold other letters too). The trigram index serves
    // three characters or more; a shorter text has no trigram, and the index would be read
    // whole, so the concatenation keeps it out and the rows are read through.
    QString pattern = SqlCondition::escapeLike(text);
    for (QChar &c : pattern) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    pattern = QLatin1Char('%') + pattern + QLatin1Char('%');
    const bool indexed = text.toUcs4().size() >= 3;
    // Folding reads every character of every row; a text without an ASCII letter matches
    // the same rows unfolded, several times faster where the rows are read through.
    const bool letters = std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
               || (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
    });
    const QString folded = indexed || letters ? PostgresSchema::folded(column) : column;
    return {(indexed ? folded : QStringLiteral("(%1 || '')").arg(folded))
                + QStringLiteral(" like ? escape '\\'"),
            {pattern},
            {},
            {}};
}

bool PostgresBackend::beginWrite(QSqlDatabase &db, DbError *error)
{
    if (db.transaction())
        return true;
    if (error)
        *error = classify(db.lastError());
    return false;
}

QString PostgresBackend::lockRows(const QString &table, const QString &condition) const
{
    return QStringLiteral("select 1 from %1 where %2 for update").arg(table, condition);
}

QString PostgresBackend::firstRowOnly(const QString &table) const
{
    return QStringLiteral("ctid=(select ctid from %1 limit 1)").arg(table);
}

QString PostgresBackend::rowKey(const QString &table) const
{
    return table + QStringLiteral(".rowid");
}

Copies::Copier PostgresBackend::copier() const
{
    return [address = m_address](const QString &target, QString *error) {
        PostgresBackend backend(address);
        const QString name = QStringLiteral("lendora-copier@") + target;
        DbError failed;
        // Written beside the target, then renamed over it: never half a copy under its name.
        const QString part = target + QStringLiteral(".part");
        bool ok = backend.openReadOnly(name, &failed);
        if (ok) {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            QFile::remove(part);
            ok = backend.copyTo(db, part, &failed);
        }
        removeConnection(name);
        if (ok
            && std::rename(QFile::encodeName(part).constData(),
                           QFile::encodeName(target).constData())
                   != 0) {
            failed = {DbError::IoError, QString::fromLocal8Bit(std::strerror(errno))};
            QFile::remove(part);
            ok = false;
        }
        if (!ok && error)
            *error = failed.text;
        return ok;
    };
}

QString PostgresBackend::cannotRestore() const
{
    return tr(kNoRestoreOnServer);
}

bool PostgresBackend::copyTo(QSqlDatabase &db, const QString &path, DbError *error)
{
    // One snapshot of the server's library, written into a new file of the desk's own kind.
    QString why;
    if (!DatabaseFile::create(path, &why)) {
        if (error)
            *error = {DbError::Other, why};
        return false;
    }
    const QString name = QStringLiteral("lendora-copy@") + path;
    bool ok = false;
    {
        QSqlDatabase file = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        file.setDatabaseName(path);
        QSqlQuery snapshot(db);
        ok = file.open() && file.transaction();
        if (!ok)
            why = file.lastError().text();
        ok = ok && db.transaction();
        if (ok
            && !snapshot.exec(
                QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY"))) {
            why = snapshot.lastError().text();
            ok = false;
        }
        // Each side in its own dialect.
        ok = ok && LibraryCopy::copy(db, *this, file, SqliteBackend(path), &why);
        if (ok && !file.commit()) {
            why = file.lastError().text();
            ok = false;
        }
        db.rollback();  // it only read
        if (!ok)
            file.rollback();
        file.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (!ok) {
        QFile::remove(path);
        if (error)
            *error = {DbError::Other, why};
    }
    return ok;
}

bool PostgresBackend::restoreFrom(QSqlDatabase &, const QString &, QString *, DbError *error)
{
    if (error)
        *error = {DbError::Other, tr(kNoRestoreOnServer)};
    return false;
}

DbError PostgresBackend::classify(const QSqlError &error) const
{
    if (error.type() == QSqlError::NoError)
        return {};
    const QString code = error.nativeErrorCode();
    DbError::Kind kind = DbError::Other;
    if (code == QLatin1String("23505"))
        kind = DbError::UniqueViolation;
    else if (code == QLatin1String("40001") || code == QLatin1String("40P01"))
        kind = DbError::Retry;
    else if (code == QLatin1String("55P03"))
        kind = DbError::Busy;
    else if (code == QLatin1String("53100"))
        kind = DbError::DiskFull;
    else if (code.startsWith(QLatin1String("08")) || code == QLatin1String("57P01")
             || code == QLatin1String("57P02") || code == QLatin1String("57P03")
             || error.type() == QSqlError::ConnectionError
             || error.text().contains(QLatin1String("server closed the connection"))
             || error.text().contains(QLatin1String("no connection to the server"))
             || error.text().contains(QLatin1String("terminating connection")))
        kind = DbError::ConnectionLost;
    return {kind, error.text()};
}

bool PostgresBackend::reopen(const QString &connectionName, DbError *error)
{
    QSqlError failed;
    connect(connectionName, &failed);
    if (!failed.isValid())
        return true;
    if (error)
        *error = classify(failed);
    return false;
}

bool PostgresBackend::settle(QSqlDatabase &, DbError *)
{
    return true;  // a commit the server confirmed is final for every desk
}

}  // namespace lendora
