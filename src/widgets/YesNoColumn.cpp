#include "widgets/YesNoColumn.h"

namespace lendora {

YesNoColumn::YesNoColumn(int column, QAbstractItemModel *source, QObject *parent)
    : QIdentityProxyModel(parent), m_column(column)
{
    setSourceModel(source);
}

QVariant YesNoColumn::data(const QModelIndex &index, int role) const
{
    if (index.column() != m_column || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QIdentityProxyModel::data(index, role);
    const QVariant flag = QIdentityProxyModel::data(index, Qt::DisplayRole);
    if (!flag.isValid() || flag.isNull())
        return QString();
    return flag.toInt() != 0 ? QStringLiteral("是") : QStringLiteral("否");
}

}  // namespace lendora
