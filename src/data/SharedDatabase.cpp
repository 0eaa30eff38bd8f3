#include "data/SharedDatabase.h"

#include "data/sqlite/SqliteBackend.h"

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
    const Backend::Opened opened = m_backend->open(m_name);
    if (!opened.ok) {
        if (problem)
            *problem = opened.problem;
        return false;
    }
    if (notice)
        *notice = opened.notice;
    m_open = true;
    return true;
}

bool SharedDatabase::open(const QString &path, QString *problem, QString *notice)
{
    return open(std::make_unique<SqliteBackend>(path), problem, notice);
}

void SharedDatabase::close()
{
    const bool wasOpen = m_open;
    drop();
    if (wasOpen && m_backend)
        m_backend->close(m_name);
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
    if (Backend *backend = m_database.backend(); backend && m_database.isOpen())
        m_active = backend->beginWrite(m_db, &m_error);
    else
        m_error = {DbError::ConnectionLost, QStringLiteral("the database is not open")};
}

WriteTransaction::~WriteTransaction()
{
    if (m_active)
        m_db.rollback();
}

bool WriteTransaction::commit()
{
    if (!m_active)
        return false;
    m_active = false;
    if (m_db.commit())
        return true;
    m_error = m_database.backend()->classify(m_db.lastError());
    m_db.rollback();
    return false;
}

}  // namespace lendora
