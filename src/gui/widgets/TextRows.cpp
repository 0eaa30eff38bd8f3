#include "gui/widgets/TextRows.h"

namespace lendora {

TextRows::TextRows(QStringList keys, QObject *parent)
    : QAbstractTableModel(parent), m_keys(std::move(keys))
{}

void TextRows::setRows(QList<QStringList> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int TextRows::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TextRows::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_keys.size());
}

QVariant TextRows::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_keys.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

QVariant TextRows::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_rows.size())
        return {};
    return m_rows.at(index.row()).value(index.column());
}

}  // namespace lendora
