#pragma once

#include <QIdentityProxyModel>

namespace lendora {

// Shows a yes/no column of a grid as "是" or "否" (empty when the row holds no value).
class YesNoColumn : public QIdentityProxyModel {
    Q_OBJECT
public:
    YesNoColumn(int column, QAbstractItemModel *source, QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    int m_column;
};

}  // namespace lendora
