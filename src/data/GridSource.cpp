#include "data/GridSource.h"

#include "data/DatabaseFile.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>

namespace lendora {

GridSource::GridSource(QString databasePath, QString connectionName, QObject *parent)
    : QObject(parent), m_path(std::move(databasePath)), m_name(std::move(connectionName)),
      m_model(new QSqlQueryModel(this))
{
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
    QSqlDatabase db = QSqlDatabase::contains(m_name)
                          ? QSqlDatabase::database(m_name, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(m_path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (db.open()) {
        QString error;
        if (!DatabaseFile::configure(db, true, &error))
            m_lastError = error;
    }
    return db;
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
    QSqlQuery query(db);
    query.setForwardOnly(false);
    bool ok = query.prepare(m_sql);
    if (ok) {
        for (int i = 0; i < m_values.size(); ++i)
            query.bindValue(i, m_values.at(i));
        ok = query.exec();
    }
    if (!ok) {
        m_lastError = query.lastError().text();
        m_model->clear();
        emit refreshed();
        return false;
    }
    m_lastError.clear();
    m_model->setQuery(std::move(query));
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
