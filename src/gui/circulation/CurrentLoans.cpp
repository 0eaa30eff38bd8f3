#include "gui/circulation/CurrentLoans.h"

#include "core/circulation/LoanStore.h"
#include "data/Columns.h"
#include "data/GridModel.h"
#include "data/GridSource.h"
#include "gui/widgets/BoundColumns.h"
#include "gui/widgets/ColumnFit.h"
#include "gui/widgets/GridLook.h"

#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QStandardItemModel>
#include <QTableView>

namespace lendora {

CurrentLoans::CurrentLoans(GridSource *source, QObject *parent)
    : QObject(parent), m_source(source),
      m_columns(new BoundColumns(gridColumns(), source->model(), this)),
      m_selection(new QItemSelectionModel(m_columns, this)),
      m_unbound(new QStandardItemModel(0, static_cast<int>(gridColumns().size()), this))
{
    QStringList labels;
    for (const QString &key : gridColumns())
        labels << Columns::label(key);
    m_unbound->setHorizontalHeaderLabels(labels);
    connect(m_selection, &QItemSelectionModel::currentRowChanged, this,
            &CurrentLoans::currentChanged);
}

const QStringList &CurrentLoans::gridColumns()
{
    static const QStringList columns = {
        QStringLiteral("读者编号"), QStringLiteral("读者姓名"), QStringLiteral("书籍编号"),
        QStringLiteral("书籍名称"), QStringLiteral("书籍类别"), QStringLiteral("书籍页码"),
        QStringLiteral("出版社"),   QStringLiteral("借书日期"),
    };
    return columns;
}

void CurrentLoans::prepare(QTableView *grid)
{
    setupGrid(grid);
    grid->setModel(m_unbound);
    sizeColumns(grid);
    // A window style changes the headings' font: the widths follow.
    grid->horizontalHeader()->installEventFilter(this);
}

bool CurrentLoans::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange) {
        if (auto *header = qobject_cast<QHeaderView *>(watched)) {
            if (auto *grid = qobject_cast<QTableView *>(header->parentWidget()))
                sizeColumns(grid);
        }
    }
    return QObject::eventFilter(watched, event);
}

void CurrentLoans::bind(QTableView *grid)
{
    if (isBound(grid))
        return;
    QItemSelectionModel *own = grid->selectionModel();
    grid->setModel(m_columns);
    QItemSelectionModel *made = grid->selectionModel();
    grid->setSelectionModel(m_selection);
    // setModel made a selection model of its own for the grid; the shared one replaces it.
    if (made && made != m_selection)
        made->deleteLater();
    if (own && own != made && own != m_selection && own->model() == m_unbound)
        own->deleteLater();
    m_grids.append(grid);
    sizeColumns(grid);
}

bool CurrentLoans::isBound(const QTableView *grid) const
{
    return grid && grid->model() == m_columns;
}

bool CurrentLoans::run(const QString &readerId)
{
    const SqlDialect *dialect = m_source->database().dialect();
    const bool ok = dialect && m_source->run(LoanStore::openLoansSql(*dialect), {readerId});
    for (const QPointer<QTableView> &grid : std::as_const(m_grids)) {
        if (grid)
            sizeColumns(grid);
    }
    selectFirstRow();
    return ok;
}

void CurrentLoans::selectFirstRow()
{
    const QModelIndex first = m_columns->index(0, 0);
    if (first.isValid()) {
        m_selection->setCurrentIndex(first, QItemSelectionModel::ClearAndSelect
                                                | QItemSelectionModel::Rows);
    } else {
        m_selection->clear();
    }
    // A run with the same current row index still shows other rows.
    emit currentChanged();
}

int CurrentLoans::rowCount() const
{
    return m_source->rowCount();
}

int CurrentLoans::currentRow() const
{
    const QModelIndex current = m_selection->currentIndex();
    return current.isValid() ? current.row() : -1;
}

QVariant CurrentLoans::current(const QString &column) const
{
    const int row = currentRow();
    const int sourceColumn = m_columns->sourceColumn(column);
    if (row < 0 || sourceColumn < 0)
        return {};
    return m_source->model()->index(row, sourceColumn).data();
}

void CurrentLoans::sizeColumns(QTableView *grid) const
{
    // Fits the tab without scrolling; the lending date takes what is left.
    static const int widths[] = {58, 56, 62, 104, 92, 56, 100};
    for (int c = 0; c < static_cast<int>(std::size(widths)); ++c)
        grid->setColumnWidth(c, headingRoom(grid, c, widths[c]));
    grid->horizontalHeader()->setStretchLastSection(true);
}

}  // namespace lendora
