#include "gui/widgets/GridLook.h"

#include "data/Columns.h"
#include "data/GridModel.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolTip>

namespace lendora {

namespace {
// Shows a cell's whole text as its tooltip when the column cuts it.
class CutTextTips : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override
    {
        if (event->type() != QEvent::ToolTip || !index.isValid())
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QWidget *widget = view;
        const QRect room =
            view->style()->subElementRect(QStyle::SE_ItemViewItemText, &item, widget);
        // The style keeps a margin inside the text rectangle on each side.
        const int margin =
            view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        if (item.fontMetrics.horizontalAdvance(item.text) > room.width() - 2 * margin) {
            QToolTip::showText(event->globalPos(), item.text, view->viewport(),
                               view->visualRect(index));
        } else {
            QToolTip::hideText();
        }
        return true;
    }
};
}  // namespace

void setupGrid(QTableView *grid)
{
    grid->setItemDelegate(new CutTextTips(grid));
    grid->setTextElideMode(Qt::ElideRight);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setAlternatingRowColors(true);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->horizontalHeader()->setHighlightSections(false);
}

namespace {
template <class Model>
void headByKey(Model *model)
{
    const QSqlRecord record = model->record();
    for (int column = 0; column < record.count(); ++column)
        model->setHeaderData(column, Qt::Horizontal, Columns::label(record.fieldName(column)));
}
}  // namespace

void headColumns(QSqlQueryModel *model)
{
    headByKey(model);
}

void headColumns(GridModel *model)
{
    headByKey(model);
}

}  // namespace lendora
