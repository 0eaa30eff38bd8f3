#include "data/GridSource.h"

#include "data/SharedDatabase.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>

namespace lendora {

GridSource::GridSource(const SharedDatabase &database, const QString &purpose, QObject *parent)
    : QObject(parent), m_database(database), m_name(database.connectionFor(purpose)),
      m_model(new QSqlQueryModel(this))
{}

GridSource::~GridSource()
{
    m_model->clear();
    m_statement = QSqlQuery();
    if (QSqlDatabase::contains(m_name)) {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
}

QSqlDatabase GridSource::connection()
{
    if (QSqlDatabase::contains(m_name)) {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isOpen())
            return db;
    }
    // A statement prepared on an earlier connection is gone with it.
    m_statement = QSqlQuery();
    m_statementSql.clear();
    if (Backend *backend = m_database.backend()) {
        DbError error;
        backend->openReadOnly(m_name, &error);
        if (error.isError())
            m_lastError = error.text;
    }
    return QSqlDatabase::database(m_name, false);
}

bool GridSource::run(const QString &sql, const QVariantList &values)
{
    m_sql = sql;
    m_values = values;
    return refresh();
}

bool GridSource::refresh()
{
    QSqlDatabase db = connection();
    if (!db.isOpen()) {
        m_lastError = db.lastError().text();
        m_model->clear();
        emit refreshed();
        return false;
    }
    // The same record source runs again on the statement prepared for it the first time:
    // preparing costs as much as running a lookup.
    bool ok = true;
    if (m_statementSql.isEmpty() || m_statementSql != m_sql) {
        m_statement = QSqlQuery(db);
        m_statement.setForwardOnly(false);
        ok = m_statement.prepare(m_sql);
        m_statementSql = ok ? m_sql : QString();
    }
    if (ok) {
        for (int i = 0; i < m_values.size(); ++i)
            m_statement.bindValue(i, m_values.at(i));
        ok = m_statement.exec();
    }
    if (!ok) {
        m_lastError = m_statement.lastError().text();
        m_model->clear();
        m_statement = QSqlQuery();
        m_statementSql.clear();
        emit refreshed();
        return false;
    }
    m_lastError.clear();
    // The model gets a second handle on the same statement (Qt marks copying deprecated
    // because the two share their state, which is the point here): the next refresh runs it
    // again, and the model takes the new rows before anything could ask it for the old ones.
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    m_model->setQuery(QSqlQuery(m_statement));
    QT_WARNING_POP
    emit refreshed();
    return true;
}

int GridSource::rowCount()
{
    while (m_model->canFetchMore())
        m_model->fetchMore();
    return m_model->rowCount();
}

}  // namespace lendora
