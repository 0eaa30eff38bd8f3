#include "app/Controls.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>

namespace lendora {

void markInput(QLineEdit *box)
{
    // A property the skins can select on, and the palette for the system look.
    box->setProperty("lendoraInput", true);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, QColor(0xE0, 0xFF, 0xFF));
    box->setPalette(palette);
}

void markDisplay(QLineEdit *box)
{
    box->setReadOnly(true);
    box->setProperty("lendoraDisplay", true);
    box->setFocusPolicy(Qt::NoFocus);
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
