#include "data/GridModel.h"

#include <QDate>
#include <QRegularExpression>
#include <QSqlError>
#include <QTimer>

#include <algorithm>

namespace lendora {

namespace {

const QRegularExpression::PatternOptions kSqlText =
    QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption;

// The column a plain "select ... order by <column>" is ordered by. The order being total, that
// column tells the rows apart, so a block can seek past the last row of the block before it
// instead of stepping over every row from the first.
QString orderKey(const QString &sql)
{
    static const QRegularExpression form(
        QStringLiteral(R"(^\s*select\s+(?!distinct\s)[\s\S]*\sorder\s+by\s+([\w.]+)\s*$)"),
        kSqlText);
    return form.match(sql).captured(1);
}

// The query reading its key first, as grid_key.
QString withKey(const QString &sql, const QString &key)
{
    static const QRegularExpression select(QStringLiteral(R"(^\s*select\s+)"), kSqlText);
    QString keyed = sql;
    return keyed.replace(select,
                         QStringLiteral("select ") + key + QStringLiteral(" as grid_key, "));
}

}  // namespace

GridModel::GridModel(QObject *parent) : QAbstractTableModel(parent) {}

bool GridModel::setQuery(const QSqlDatabase &db, const QString &sql, const QVariantList &values,
                         QString *error, const QString &countSql, const QVariantList &countValues)
{
    beginResetModel();
    m_blocks.clear();
    m_total = 0;
    m_columns.clear();
    // The same record source runs again on the statements prepared for it the first time:
    // preparing costs as much as running a lookup.
    m_lastKeys.clear();
    const QString statements = countSql.isEmpty() ? sql : sql + QChar(0) + countSql;
    if (m_preparedSql != statements || m_db.connectionName() != db.connectionName())
        forgetStatements();
    m_db = db;
    m_sql = sql;
    m_values = values;
    m_countValues = countSql.isEmpty() ? values : countValues;

    QString problem;
    bool ok = true;
    if (m_preparedSql.isEmpty()) {
        ok = prepare(db, sql, countSql, &problem);
        if (ok)
            m_preparedSql = statements;
    }
    // The first rows come first: a result that fits in them needs no count, and a longer one
    // is counted once they are on screen (counting a million rows takes a good part of a
    // second), or at once when a caller asks for the total.
    Block first;
    ok = ok && readBlock(0, &first, &problem, &m_columns);
    if (ok) {
        m_total = static_cast<int>(first.rows.size());
        m_counted = m_total < kBlockRows;
        first.used = ++m_clock;
        m_blocks.insert(0, first);
        if (!m_counted)
            QTimer::singleShot(kCountAfterMs, this, [this] { countAll(); });
    } else {
        forgetStatements();
        m_lastKeys.clear();
        m_columns.clear();
        m_total = 0;
        if (error)
            *error = problem;
    }
    endResetModel();
    return ok;
}

void GridModel::countAll()
{
    if (m_counted || m_preparedSql.isEmpty())
        return;
    m_counted = true;
    for (int i = 0; i < m_countValues.size(); ++i)
        m_count.bindValue(i, m_countValues.at(i));
    if (!m_count.exec() || !m_count.next()) {
        const QString problem = m_count.lastError().text();
        m_count.finish();
        emit readFailed(problem);
        return;
    }
    const int total = m_count.value(0).toInt();
    m_count.finish();
    if (total > m_total) {
        beginInsertRows({}, m_total, total - 1);
        m_total = total;
        endInsertRows();
    } else if (total < m_total) {
        // Rows went while the first ones were shown: the total is now.
        beginRemoveRows({}, total, m_total - 1);
        m_total = total;
        endRemoveRows();
    }
}

bool GridModel::prepare(const QSqlDatabase &db, const QString &sql, const QString &countSql,
                        QString *problem)
{
    forgetStatements();
    m_count = QSqlQuery(db);
    m_block = QSqlQuery(db);
    m_seek = QSqlQuery(db);
    // Forward only: the driver keeps no copy of the rows read.
    for (QSqlQuery *q : {&m_count, &m_block, &m_seek})
        q->setForwardOnly(true);
    if (!m_count.prepare(countSql.isEmpty() ? QStringLiteral("select count(*) from (") + sql
                                                  + QStringLiteral(") as grid_rows")
                                            : countSql)) {
        *problem = m_count.lastError().text();
        return false;
    }
    const QString limit = QStringLiteral(" limit ? offset ?");
    m_key = orderKey(sql);
    if (!m_key.isEmpty()) {
        const QString keyed = withKey(sql, m_key);
        if (m_block.prepare(keyed + limit)
            && m_seek.prepare(QStringLiteral("select * from (") + keyed
                              + QStringLiteral(") as grid_rows where grid_key > ?") + limit))
            return true;
        // Read by offset alone, every block is still right, only slower far down.
        m_key.clear();
    }
    if (!m_block.prepare(sql + limit)) {
        *problem = m_block.lastError().text();
        return false;
    }
    return true;
}

void GridModel::forgetStatements()
{
    m_count = QSqlQuery();
    m_block = QSqlQuery();
    m_seek = QSqlQuery();
    m_key.clear();
    m_preparedSql.clear();
}

void GridModel::clear()
{
    beginResetModel();
    m_counted = true;
    m_blocks.clear();
    m_lastKeys.clear();
    m_total = 0;
    m_columns.clear();
    m_headers.clear();
    forgetStatements();
    m_sql.clear();
    m_values.clear();
    m_db = QSqlDatabase();
    endResetModel();
}

bool GridModel::readBlock(int block, Block *into, QString *error, QSqlRecord *columns) const
{
    const bool keyed = !m_key.isEmpty();
    QSqlQuery *read = &m_block;
    QVariant after;
    int skipped = block * kBlockRows;
    // From the nearest block before whose last key is known.
    if (keyed) {
        auto known = m_lastKeys.lowerBound(block);
        if (known != m_lastKeys.begin()) {
            --known;
            read = &m_seek;
            after = known.value();
            skipped = (block - known.key() - 1) * kBlockRows;
        }
    }
    const int n = static_cast<int>(m_values.size());
    for (int i = 0; i < n; ++i)
        read->bindValue(i, m_values.at(i));
    int next = n;
    if (read == &m_seek)
        read->bindValue(next++, after);
    read->bindValue(next++, kBlockRows);
    read->bindValue(next, skipped);
    if (!read->exec()) {
        *error = read->lastError().text();
        read->finish();
        return false;
    }
    QSqlRecord result = read->record();
    const int first = keyed ? 1 : 0;
    const int width = result.count();
    QVariant lastKey;
    into->rows.reserve(kBlockRows);
    while (read->next()) {
        QVariantList row;
        row.reserve(width - first);
        for (int c = first; c < width; ++c) {
            // A server hands dates over as dates; the grid shows them as the file holds
            // them, yyyy-MM-dd, whatever the locale.
            QVariant value = read->value(c);
            if (value.typeId() == QMetaType::QDate && !value.isNull())
                value = value.toDate().toString(Qt::ISODate);
            row << value;
        }
        into->rows << row;
        if (keyed)
            lastKey = read->value(0);
    }
    const QSqlError failed = read->lastError();
    // Finished, the statement holds no snapshot that would keep the log from being
    // checkpointed.
    read->finish();
    if (failed.isValid()) {
        *error = failed.text();
        into->rows.clear();
        return false;
    }
    if (keyed && into->rows.size() == kBlockRows)
        m_lastKeys.insert(block, lastKey);
    if (columns) {
        if (keyed)
            result.remove(0);
        result.clearValues();
        *columns = result;
    }
    return true;
}

const QVariantList *GridModel::row(int row) const
{
    if (row < 0 || row >= m_total)
        return nullptr;
    const int number = row / kBlockRows;
    auto held = m_blocks.find(number);
    if (held == m_blocks.end()) {
        if (m_blocks.size() >= kBlocksHeld) {
            auto oldest =
                std::min_element(m_blocks.begin(), m_blocks.end(),
                                 [](const Block &a, const Block &b) { return a.used < b.used; });
            m_blocks.erase(oldest);
        }
        Block block;
        QString error;
        // A block that failed is held empty, so painting does not ask the engine again
        // for every cell.
        if (!readBlock(number, &block, &error))
            emit readFailed(error);
        held = m_blocks.insert(number, block);
    }
    held->used = ++m_clock;
    const int at = row - number * kBlockRows;
    return at < held->rows.size() ? &held->rows.at(at) : nullptr;
}

int GridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_total;
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns.count();
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const QVariantList *values = row(index.row());
    return values ? values->value(index.column()) : QVariant();
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && (role == Qt::DisplayRole || role == Qt::EditRole)) {
        const auto set = m_headers.constFind(section);
        if (set != m_headers.constEnd())
            return *set;
        if (section >= 0 && section < m_columns.count())
            return m_columns.fieldName(section);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool GridModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                              int role)
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()
        || (role != Qt::DisplayRole && role != Qt::EditRole))
        return false;
    m_headers.insert(section, value);
    emit headerDataChanged(orientation, section, section);
    return true;
}

QSqlRecord GridModel::record(int row) const
{
    QSqlRecord values = m_columns;
    if (const QVariantList *held = this->row(row)) {
        for (int c = 0; c < values.count(); ++c)
            values.setValue(c, held->value(c));
    }
    return values;
}

int GridModel::heldRows() const
{
    int held = 0;
    for (const Block &block : m_blocks)
        held += static_cast<int>(block.rows.size());
    return held;
}

}  // namespace lendora
