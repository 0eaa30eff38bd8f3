#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>

class QItemSelectionModel;
class QStandardItemModel;
class QTableView;

namespace lendora {

class BoundColumns;
class GridSource;

// The current-loans grids and the boxes bound to them, all fed by the main window's one data
// source: every run changes what every bound grid and box shows. The grids share one current
// row, as grids bound to one data source do: after a run the first row, afterwards the row
// the clerk selects in either grid.
class CurrentLoans : public QObject {
    Q_OBJECT
public:
    CurrentLoans(GridSource *source, QObject *parent = nullptr);

    // The keys of the grid columns, in their order.
    static const QStringList &gridColumns();

    // An unbound grid: read-only, its columns headed, no rows.
    void prepare(QTableView *grid);
    // Binds the grid to the data source; it stays bound.
    void bind(QTableView *grid);
    bool isBound(const QTableView *grid) const;

    // Runs the open-loans query for the reader; false when the engine failed.
    bool run(const QString &readerId);
    int rowCount() const;
    // A column of the current row, by key; null without a current row.
    QVariant current(const QString &column) const;
    int currentRow() const;

    GridSource *source() const { return m_source; }

signals:
    void currentChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void sizeColumns(QTableView *grid) const;
    void selectFirstRow();

    GridSource *m_source;
    BoundColumns *m_columns;
    QItemSelectionModel *m_selection;
    QStandardItemModel *m_unbound;
    QList<QPointer<QTableView>> m_grids;
};

}  // namespace lendora
