#include "data/Store.h"

#include "data/SharedDatabase.h"

#include <QSqlError>
#include <QSqlQuery>

namespace lendora {

namespace {
// Never NULL, which matches nothing: an empty box is the empty text.
QVariant bound(const QVariant &value)
{
    const bool nullText =
        value.typeId() == QMetaType::QString && value.toString().isNull() && !value.isNull();
    return nullText ? QVariant(QStringLiteral("")) : value;
}
}  // namespace

Store::Row Store::first(const QString &sql, const QVariantList &values)
{
    Row row;
    QSqlQuery &query = run(sql, values);
    row.ok = query.isActive();
    if (row.ok && query.next()) {
        row.found = true;
        row.record = query.record();
    }
    query.finish();
    return row;
}

bool Store::forEach(const QString &sql, const QVariantList &values,
                    const std::function<void(const QSqlRecord &)> &each)
{
    return forEachWhile(sql, values, [&each](const QSqlRecord &record) {
        each(record);
        return true;
    });
}

bool Store::forEachWhile(const QString &sql, const QVariantList &values,
                         const std::function<bool(const QSqlRecord &)> &each)
{
    QSqlQuery &query = run(sql, values);
    const bool ok = query.isActive();
    while (ok && query.next()) {
        if (!each(query.record()))
            break;
    }
    query.finish();
    return ok;
}

QSqlQuery &Store::run(const QString &sql, const QVariantList &values)
{
    for (int attempt = 0;; ++attempt) {
        QSqlQuery &query = m_database.prepared(sql);
        for (int i = 0; i < values.size(); ++i)
            query.bindValue(i, bound(values.at(i)));
        if (query.exec())
            return query;
        m_lastError = m_database.classify(query.lastError());
        // A read outside a write runs once more on a connection made again after the server
        // dropped the old one; inside a write the whole write fails and is begun again.
        if (attempt > 0 || m_lastError.kind != DbError::ConnectionLost || m_database.isWriting())
            return query;
        if (!m_database.reconnect())
            return m_database.prepared(sql);  // on no connection: not active
        m_lastError = {};
    }
}

bool Store::lockRows(const QString &table, const QString &condition, const QVariantList &values)
{
    const QString lock = m_database.dialect()->lockRows(table, condition);
    return lock.isEmpty() || first(lock, values).ok;
}

int Store::write(const QString &sql, const QVariantList &values)
{
    return m_database.change(sql, values, &m_lastError);
}

}  // namespace lendora
