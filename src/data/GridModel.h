#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariantList>

namespace lendora {

// The read-only rows of a grid's query. The total comes from a count run right after the first
// rows are shown (at once when a caller asks), so the scroll bar is right from then; rows are read in blocks when asked for, each block by a statement of its own
// that is finished once read, so no read transaction outlives a block; only the most recently
// used blocks are kept, so memory stays flat however far the grid scrolls. The query's order
// must be total (ordered down to a key): blocks read at different times must fit together.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kBlockRows = 256;
    static constexpr int kBlocksHeld = 16;
    // After the first rows, time for the grid to paint them before the count.
    static constexpr int kCountAfterMs = 10;

    explicit GridModel(QObject *parent = nullptr);

    // Counts and reads the first block of `sql` with `values` bound, through `db`; forgets
    // every row held before. False, with `error` set and no rows, when the engine refuses.
    // `countSql` with `countValues`, where given, counts the same rows sooner than counting
    // `sql` would (a query shaped for its first rows may be slow to read to its end).
    bool setQuery(const QSqlDatabase &db, const QString &sql, const QVariantList &values,
                  QString *error, const QString &countSql = QString(),
                  const QVariantList &countValues = {});
    // No query, no rows, no columns; the prepared statements are let go.
    void clear();
    // Counts a result longer than its first block now rather than after the first paint; the
    // rows then grow to the total. Nothing to do when counted already.
    void countAll();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                       int role = Qt::EditRole) override;

    // The result's columns, without values.
    QSqlRecord record() const { return m_columns; }
    // The row's values under the result's columns (empty values outside the result).
    QSqlRecord record(int row) const;
    // How many rows are held now.
    int heldRows() const;

signals:
    // A block could not be read; its rows show empty until the next query.
    void readFailed(const QString &error) const;

private:
    struct Block {
        QList<QVariantList> rows;
        quint64 used = 0;
    };
    const QVariantList *row(int row) const;
    bool prepare(const QSqlDatabase &db, const QString &sql, const QString &countSql,
                 QString *problem);
    void forgetStatements();
    bool readBlock(int block, Block *into, QString *error, QSqlRecord *columns = nullptr) const;

    QSqlDatabase m_db;
    QString m_sql;
    QVariantList m_values;
    QVariantList m_countValues;  // for m_count, when it is a query of its own
    QSqlRecord m_columns;
    int m_total = 0;
    bool m_counted = true;  // m_total is the whole result's, not only the first block's
    QHash<int, QVariant> m_headers;
    mutable QSqlQuery m_count;  // prepared for m_preparedSql
    mutable QSqlQuery m_block;
    mutable QSqlQuery m_seek;  // the next rows past a key, when the query is ordered by one
    QString m_key;             // the column the query is ordered by alone, or empty
    // Per block read whole since the query ran, the key of its last row: a few bytes a block.
    mutable QMap<int, QVariant> m_lastKeys;
    QString m_preparedSql;
    mutable QHash<int, Block> m_blocks;
    mutable quint64 m_clock = 0;
};

}  // namespace lendora
