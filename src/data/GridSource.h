#pragma once

#include <QObject>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

namespace lendora {

class GridModel;
class SharedDatabase;

// The data source of a grid: its own named read-only connection to the library and a
// read-only model of the result of the last query, which knows its row count at once and reads
// rows in blocks as the grid scrolls, holding no read transaction between them.
class GridSource : public QObject {
    Q_OBJECT
public:
    // A source on the library `database` works on, named for its window (`purpose`); it
    // opens its connection at the first run, by when the library is open.
    GridSource(const SharedDatabase &database, const QString &purpose, QObject *parent = nullptr);
    ~GridSource() override;

    // Sets the record source (SQL with bound values) and runs it; `countSql` with
    // `countValues`, where given, counts its rows (GridModel::setQuery).
    bool run(const QString &sql, const QVariantList &values = {},
             const QString &countSql = QString(), const QVariantList &countValues = {});
    // Runs the record source again.
    bool refresh();

    GridModel *model() const { return m_model; }
    int rowCount() const;
    QString lastError() const { return m_lastError; }
    QString sql() const { return m_sql; }
    const SharedDatabase &database() const { return m_database; }
    QSqlDatabase connection();

signals:
    void refreshed();

private:
    const SharedDatabase &m_database;
    QString m_name;
    GridModel *m_model;
    QString m_sql;
    QVariantList m_values;
    QString m_countSql;
    QVariantList m_countValues;
    QString m_lastError;
};

}  // namespace lendora
