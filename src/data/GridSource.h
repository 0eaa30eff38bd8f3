#pragma once

#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

class QSqlQueryModel;

namespace lendora {

class SharedDatabase;

// The data source of a grid: its own named read-only connection to the library and a
// read-only model holding the result of the last query. Rows are fetched as the grid scrolls; when a
// caller needs the row count, all rows are fetched first so the count is exact.
class GridSource : public QObject {
    Q_OBJECT
public:
    // A source on the library `database` works on, named for its window (`purpose`); it
    // opens its connection at the first run, by when the library is open.
    GridSource(const SharedDatabase &database, const QString &purpose, QObject *parent = nullptr);
    ~GridSource() override;

    // Sets the record source (SQL with bound values) and runs it.
    bool run(const QString &sql, const QVariantList &values = {});
    // Runs the record source again.
    bool refresh();

    QSqlQueryModel *model() const { return m_model; }
    int rowCount();
    QString lastError() const { return m_lastError; }
    QString sql() const { return m_sql; }
    QSqlDatabase connection();

signals:
    void refreshed();

private:
    const SharedDatabase &m_database;
    QString m_name;
    QSqlQueryModel *m_model;
    QSqlQuery m_statement;  // prepared for m_statementSql, shared with the model
    QString m_statementSql;
    QString m_sql;
    QVariantList m_values;
    QString m_lastError;
};

}  // namespace lendora
