#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QStringList>

namespace lendora {

// A grid's predefined columns, given by column key: each is headed by the key's label and bound
// to the source's result column of that key (the source's own header), whatever order or extra
// columns the source has. The headers show before the first query; a key the source lacks
// shows an empty column.
class BoundColumns : public QAbstractTableModel {
    Q_OBJECT
public:
    BoundColumns(QStringList keys, QAbstractItemModel *source, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

    // The source's column of that key, or -1.
    int sourceColumn(const QString &key) const;

private:
    void bind();

    QStringList m_keys;
    QPointer<QAbstractItemModel> m_source;
    QList<int> m_sourceColumn;  // per column: the source column, or -1
};

}  // namespace lendora
