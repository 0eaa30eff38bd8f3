#include "data/SharedDatabase.h"

#include "data/FileCheck.h"
#include "data/sqlite/SqliteBackend.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSqlError>
#include <QSqlQuery>

namespace lendora {

SharedDatabase::SharedDatabase(QString connectionName) : m_name(std::move(connectionName)) {}

SharedDatabase::~SharedDatabase()
{
    close();
}

bool SharedDatabase::open(std::unique_ptr<Backend> backend, QString *problem, QString *notice)
{
    close();
    m_backend = std::move(backend);
    const Connector::Opened opened = m_backend->open(m_name);
    if (!opened.ok) {
        if (problem)
            *problem = opened.problem;
        return false;
    }
    if (notice)
        *notice = opened.notice;
    m_open = true;
    if (opened.check) {
        m_check = std::make_unique<FileCheck>(opened.check, opened.stopCheck, m_checkHold);
        QObject::connect(m_check.get(), &FileCheck::ended, m_check.get(),
                         [this](bool passed, const QString &found) { checkEnded(passed, found); });
        m_check->start();
    }
    return true;
}

void SharedDatabase::checkEnded(bool passed, const QString &found)
{
    if (m_backend)
        m_backend->checkEnded(passed);
    if (m_checkHandlers.ended)
        m_checkHandlers.ended(passed, found);
}

bool SharedDatabase::isChecking() const
{
    return m_check && m_check->state() == FileCheck::State::Running;
}

bool SharedDatabase::checkFailed() const
{
    return m_check && m_check->state() == FileCheck::State::Failed;
}

bool SharedDatabase::open(const QString &path, QString *problem, QString *notice)
{
    return open(std::make_unique<SqliteBackend>(path), problem, notice);
}

bool SharedDatabase::openReadOnly(std::unique_ptr<Backend> backend, DbError *error)
{
    close();
    m_backend = std::move(backend);
    DbError failed;
    if (!m_backend->openReadOnly(m_name, &failed) || failed.isError()) {
        if (error)
            *error = failed;
        forget();
        return false;
    }
    m_open = true;
    m_readOnly = true;
    return true;
}

QString SharedDatabase::checkLibrary(DbError *error)
{
    if (!m_backend || !m_open)
        return {};
    QSqlDatabase connection = db();
    return m_backend->checkLibrary(connection, error);
}

DbError SharedDatabase::classify(const QSqlError &error) const
{
    if (m_backend)
        return m_backend->classify(error);
    if (error.type() == QSqlError::NoError)
        return {};
    return {DbError::Other, error.text()};
}

bool SharedDatabase::restoreFrom(const QString &source, QString *notice, DbError *error)
{
    if (const DbError refused = checkBeforeWrite(true); refused.isError()) {
        if (error)
            *error = refused;
        return false;
    }
    // Statements prepared on the old pages are made again on the new ones.
    m_statements.clear();
    QSqlDatabase connection = db();
    if (!m_backend->restoreFrom(connection, source, notice, error))
        return false;
    // The checked copy replaced what failed the check.
    if (checkFailed()) {
        m_check.reset();
        m_backend->checkEnded(true);
    }
    return true;
}

void SharedDatabase::close()
{
    const bool wasOpen = m_open;
    drop();
    // The check's own connection is gone before the desk's closes.
    m_check.reset();
    // A read-only connection holds no marker for the backend to take away: the desk may be
    // running on the same library.
    if (wasOpen && m_backend && m_readOnly)
        forget();
    else if (wasOpen && m_backend)
        m_backend->close(m_name);
    m_readOnly = false;
}

QString SharedDatabase::location() const
{
    return m_backend ? m_backend->location() : QString();
}

QSqlQuery &SharedDatabase::prepared(const QString &sql)
{
    auto &statement = m_statements[sql];
    if (!statement) {
        statement = std::make_shared<QSqlQuery>(db());
        statement->setForwardOnly(true);
        statement->prepare(sql);
    }
    return *statement;
}

int SharedDatabase::change(const QString &sql, const QVariantList &values, DbError *error)
{
    if (!m_writing) {
        // A single statement commits too; as a transaction of its own it waits for another
        // writer, and a failed commit is looked into like any other.
        WriteTransaction transaction(*this);
        if (!transaction.isActive()) {
            if (error)
                *error = transaction.error();
            return -1;
        }
        const int rows = change(sql, values, error);
        if (rows < 0)
            return -1;
        if (!transaction.commit()) {
            if (error)
                *error = transaction.error();
            return -1;
        }
        return rows;
    }
    QSqlQuery &query = prepared(sql);
    for (int i = 0; i < values.size(); ++i) {
        const QVariant &value = values.at(i);
        const bool nullText =
            value.typeId() == QMetaType::QString && value.toString().isNull() && !value.isNull();
        query.bindValue(i, nullText ? QVariant(QStringLiteral("")) : value);
    }
    const bool ok = query.exec();
    const int rows = ok ? query.numRowsAffected() : -1;
    if (!ok && error)
        *error = m_backend->classify(query.lastError());
    query.finish();
    return rows;
}

DbError SharedDatabase::checkBeforeWrite(bool restoring)
{
    if (m_open && !m_readOnly && isChecking()) {
        // Nothing is written to a library that may be damaged; the desk stays alive meanwhile.
        if (m_checkHandlers.waiting)
            m_checkHandlers.waiting(true);
        // Not a nested QEventLoop: one that starts after QCoreApplication::exit() returns at
        // once. Ending meanwhile closes the library, which ends the wait too.
        while (isChecking())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (m_checkHandlers.waiting)
            m_checkHandlers.waiting(false);
    }
    if (!m_backend || !m_open)
        return {DbError::ConnectionLost, QStringLiteral("the database is not open")};
    if (m_readOnly)
        return {DbError::Other, QStringLiteral("the database is open to read only")};
    if (checkFailed() && !restoring)
        return {DbError::Unchecked, m_check->found()};
    if (m_lost)
        return *m_lost;
    const DbError changed = m_backend->checkUnchanged();
    if (changed.isError()) {
        m_lost = changed;
        if (m_lostHandler)
            m_lostHandler(changed);
    }
    return changed;
}

bool SharedDatabase::settle(DbError *error)
{
    // Grids hold read transactions that would keep the log from being settled; they open
    // again on their next refresh.
    const QString ownSuffix = QLatin1Char('@') + m_name;
    for (const QString &name : QSqlDatabase::connectionNames()) {
        if (name.endsWith(ownSuffix))
            QSqlDatabase::database(name, false).close();
    }
    m_statements.clear();
    if (!m_backend->reopen(m_name, error))
        return false;
    QSqlDatabase connection = db();
    return m_backend->settle(connection, error);
}

bool SharedDatabase::reconnect(DbError *error)
{
    if (!m_open || !m_backend)
        return false;
    const QString ownSuffix = QLatin1Char('@') + m_name;
    for (const QString &name : QSqlDatabase::connectionNames()) {
        if (name.endsWith(ownSuffix))
            QSqlDatabase::database(name, false).close();
    }
    m_statements.clear();
    DbError failed;
    const bool ok =
        m_readOnly ? m_backend->openReadOnly(m_name, &failed) : m_backend->reopen(m_name, &failed);
    if (!ok && error)
        *error = failed;
    return ok;
}

void SharedDatabase::forget()
{
    if (!QSqlDatabase::contains(m_name))
        return;
    QSqlDatabase::database(m_name, false).close();
    QSqlDatabase::removeDatabase(m_name);
}

void SharedDatabase::drop()
{
    m_open = false;
    // Statements first: a connection is only closed once nothing runs on it.
    m_statements.clear();
}

bool SharedDatabase::isOpen() const
{
    return m_open;
}

QSqlDatabase SharedDatabase::db() const
{
    return QSqlDatabase::database(m_name, false);
}

WriteTransaction::WriteTransaction(SharedDatabase &database)
    : m_database(database), m_db(database.db())
{
    m_error = m_database.checkBeforeWrite();
    if (m_error.isError())
        return;
    m_active = m_database.m_backend->beginWrite(m_db, &m_error);
    // A connection the server dropped (it restarted) is made again, and the write begins
    // on the new one: nothing was written on the old.
    if (!m_active && m_error.kind == DbError::ConnectionLost) {
        m_db = QSqlDatabase();  // the old connection goes first
        if (m_database.reconnect()) {
            m_db = m_database.db();
            m_error = {};
            m_active = m_database.m_backend->beginWrite(m_db, &m_error);
        }
    }
    m_database.m_writing = m_active;
}

WriteTransaction::~WriteTransaction()
{
    if (m_active) {
        m_db.rollback();
        finish();
    }
}

void WriteTransaction::finish()
{
    m_active = false;
    m_database.m_writing = false;
}

bool WriteTransaction::commit(const Look &landed)
{
    if (!m_active)
        return false;
    finish();
    if (m_db.commit()) {
        m_database.m_backend->afterCommit(m_db);
        return true;
    }
    // The commit's own error is what the clerk needs; the rollback that follows often only
    // says that no transaction is left.
    m_error = m_database.m_backend->classify(m_db.lastError());
    m_db.rollback();
    m_db = QSqlDatabase();  // the connection is about to be opened again
    if (m_error.kind == DbError::Busy) {
        // Refused before anything was written: the transaction is simply gone.
        return false;
    }
    DbError settling;
    if (!m_database.settle(&settling) || !landed) {
        m_error.unsure = true;
        return false;
    }
    const std::optional<bool> seen = landed();
    if (!seen) {
        m_error.unsure = true;
        return false;
    }
    return *seen;
}

}  // namespace lendora
