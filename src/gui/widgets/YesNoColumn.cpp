#include "gui/widgets/YesNoColumn.h"

namespace lendora {

namespace {
const char *const kYes = QT_TRANSLATE_NOOP("lendora::YesNoColumn", "是");
const char *const kNo = QT_TRANSLATE_NOOP("lendora::YesNoColumn", "否");
}  // namespace

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
    return tr(flag.toInt() != 0 ? kYes : kNo);
}

}  // namespace lendora
