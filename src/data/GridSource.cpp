#include "data/GridSource.h"

#include "data/GridModel.h"
#include "data/SharedDatabase.h"

#include <QSqlError>

namespace lendora {

GridSource::GridSource(const SharedDatabase &database, const QString &purpose, QObject *parent)
    : QObject(parent), m_database(database), m_name(database.connectionFor(purpose)),
      m_model(new GridModel(this))
{
    connect(m_model, &GridModel::readFailed, this,
            [this](const QString &error) { m_lastError = error; });
}

GridSource::~GridSource()
{
    m_model->clear();
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
    // Statements prepared on an earlier connection are gone with it.
    m_model->clear();
    if (Connector *connector = m_database.connector()) {
        DbError error;
        connector->openReadOnly(m_name, &error);
        if (error.isError())
            m_lastError = error.text;
    }
    return QSqlDatabase::database(m_name, false);
}

bool GridSource::run(const QString &sql, const QVariantList &values, const QString &countSql,
                     const QVariantList &countValues)
{
    m_sql = sql;
    m_values = values;
    m_countSql = countSql;
    m_countValues = countValues;
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
    QString error;
    bool ok = m_model->setQuery(db, m_sql, m_values, &error, m_countSql, m_countValues);
    if (!ok && m_database.connector() && !m_database.connector()->keepsConnectionsAlive()) {
        // A server may have dropped the connection (a restart); once more on a new one.
        db.close();
        db = connection();
        ok = db.isOpen()
             && m_model->setQuery(db, m_sql, m_values, &error, m_countSql, m_countValues);
    }
    m_lastError = error;
    emit refreshed();
    return ok;
}

int GridSource::rowCount() const
{
    m_model->countAll();
    return m_model->rowCount();
}

}  // namespace lendora
