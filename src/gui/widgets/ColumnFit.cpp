#include "gui/widgets/ColumnFit.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QStyle>
#include <QTableView>

#include <algorithm>

namespace lendora {

void fitColumns(QTableView *grid)
{
    grid->resizeColumnsToContents();
    for (int column = 0; column < grid->horizontalHeader()->count(); ++column) {
        if (grid->columnWidth(column) > kMaxColumnWidth)
            grid->setColumnWidth(column, kMaxColumnWidth);
    }
}

void fitHeadings(QTableView *grid)
{
    for (int column = 0; column < grid->horizontalHeader()->count(); ++column)
        grid->setColumnWidth(column, headingRoom(grid, column, grid->columnWidth(column)));
}

int headingRoom(const QTableView *grid, int column, int width)
{
    return std::max(width, grid->horizontalHeader()->sectionSizeHint(column));
}

void fitListToEntries(QComboBox *list)
{
    QAbstractItemView *view = list->view();
    int widest = 0;
    for (int row = 0; row < list->count(); ++row)
        widest = std::max(widest, view->sizeHintForIndex(list->model()->index(row, 0)).width());
    const int scrollBar = view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view);
    view->setMinimumWidth(widest + 2 * view->frameWidth() + scrollBar);
}

}  // namespace lendora
