#include "gui/widgets/BoundColumns.h"

#include "data/Columns.h"

namespace lendora {

BoundColumns::BoundColumns(QStringList keys, QAbstractItemModel *source, QObject *parent)
    : QAbstractTableModel(parent), m_keys(std::move(keys)), m_source(source)
{
    bind();
    connect(source, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
    connect(source, &QAbstractItemModel::modelReset, this, [this] {
        bind();
        endResetModel();
    });
    // Rows arrive in batches as the grid scrolls.
    connect(source, &QAbstractItemModel::rowsAboutToBeInserted, this,
            [this](const QModelIndex &parent, int first, int last) {
                if (!parent.isValid())
                    beginInsertRows({}, first, last);
            });
    connect(source, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex &parent) {
        if (!parent.isValid())
            endInsertRows();
    });
    connect(source, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &topLeft, const QModelIndex &bottomRight) {
                if (!m_keys.isEmpty())
                    emit dataChanged(index(topLeft.row(), 0),
                                     index(bottomRight.row(), columnCount() - 1));
            });
}

void BoundColumns::bind()
{
    m_sourceColumn.clear();
    QHash<QString, int> byKey;
    if (m_source) {
        for (int c = m_source->columnCount() - 1; c >= 0; --c)
            byKey.insert(m_source->headerData(c, Qt::Horizontal).toString(), c);
    }
    for (const QString &key : m_keys)
        m_sourceColumn << byKey.value(key, -1);
}

int BoundColumns::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_source ? 0 : m_source->rowCount();
}

int BoundColumns::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_keys.size());
}

QVariant BoundColumns::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !m_source || index.column() >= m_sourceColumn.size())
        return {};
    const int column = m_sourceColumn.at(index.column());
    if (column < 0)
        return {};
    return m_source->data(m_source->index(index.row(), column), role);
}

QVariant BoundColumns::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0
        && section < m_keys.size())
        return Columns::label(m_keys.at(section));
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags BoundColumns::flags(const QModelIndex &index) const
{
    // Grids are read-only.
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

int BoundColumns::sourceColumn(const QString &key) const
{
    const qsizetype at = m_keys.indexOf(key);
    return at < 0 ? -1 : m_sourceColumn.value(at, -1);
}

bool BoundColumns::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_source && m_source->canFetchMore({});
}

void BoundColumns::fetchMore(const QModelIndex &parent)
{
    if (!parent.isValid() && m_source)
        m_source->fetchMore({});
}

}  // namespace lendora
