#include "app/Controls.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QStyle>
#include <QTableView>

namespace lendora {

namespace {
// A skin may already have styled the box: its rules for these properties only take hold once
// the box is polished again.
void repolish(QWidget *widget)
{
    widget->style()->unpolish(widget);
    widget->style()->polish(widget);
}
}  // namespace

void markInput(QLineEdit *box)
{
    // A property the skins can select on, and the palette for the system look.
    box->setProperty("lendoraInput", true);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, QColor(0xE0, 0xFF, 0xFF));
    box->setPalette(palette);
    repolish(box);
}

void markDisplay(QLineEdit *box)
{
    box->setReadOnly(true);
    box->setProperty("lendoraDisplay", true);
    box->setFocusPolicy(Qt::NoFocus);
    repolish(box);
}

void setupGrid(QTableView *grid)
{
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setAlternatingRowColors(true);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->horizontalHeader()->setHighlightSections(false);
}

}  // namespace lendora
