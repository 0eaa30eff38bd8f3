#pragma once

#include "data/DbError.h"

#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QVariantList>
#include <functional>

class QSqlQuery;

namespace lendora {

class SharedDatabase;

// What every store shares: its statements run on the shared connection, and it reports the
// engine's refusals one way: the call returns its failed outcome, and lastError() says why,
// sorted into its class.
class Store {
public:
    explicit Store(SharedDatabase &database) : m_database(database) {}

    const DbError &lastError() const { return m_lastError; }

protected:
    // One statement's outcome: whether it ran, and its first row when it has one.
    struct Row {
        bool ok = false;
        bool found = false;
        QSqlRecord record;
    };
    // Runs a query with the values bound in order and keeps its first row.
    Row first(const QString &sql, const QVariantList &values = {});
    // Runs a query and hands every row to `each`; false when the engine failed.
    bool forEach(const QString &sql, const QVariantList &values,
                 const std::function<void(const QSqlRecord &)> &each);
    // The same, stopping early when `each` returns false; the rest of the rows are never
    // read.
    bool forEachWhile(const QString &sql, const QVariantList &values,
                      const std::function<bool(const QSqlRecord &)> &each);
    // Runs a statement that writes; the rows it changed, or -1 when the engine refused.
    int write(const QString &sql, const QVariantList &values);
    // Inside a write transaction: locks the rows of `table` that `condition` selects until it
    // ends, on engines that lock rows (elsewhere the transaction keeps other writers out).
    // False when the engine failed.
    bool lockRows(const QString &table, const QString &condition, const QVariantList &values);
    // Records why a call fails; returns `outcome`, so a failure reads `return failed(...)`.
    template <class Outcome>
    Outcome failed(const DbError &error, Outcome outcome)
    {
        m_lastError = error;
        return outcome;
    }
    void clearError() { m_lastError = {}; }

    SharedDatabase &m_database;
    DbError m_lastError;

private:
    // The prepared statement, run; active unless the engine refused (lastError() says why).
    QSqlQuery &run(const QString &sql, const QVariantList &values);
};

}  // namespace lendora
