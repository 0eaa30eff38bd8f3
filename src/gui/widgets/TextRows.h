#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

namespace lendora {

// Rows worked out in code, as text, headed by their column keys for BoundColumns to label.
class TextRows : public QAbstractTableModel {
public:
    TextRows(QStringList keys, QObject *parent = nullptr);

    void setRows(QList<QStringList> rows);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    QStringList m_keys;
    QList<QStringList> m_rows;
};

}  // namespace lendora
