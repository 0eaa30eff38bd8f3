#include "gui/catalogue/BookListWindow.h"

#include "base/DateText.h"
#include "core/catalogue/BookStore.h"
#include "data/GridModel.h"
#include "data/GridSource.h"
#include "data/SharedDatabase.h"
#include "gui/widgets/FixedOuterSize.h"
#include "gui/widgets/GridExport.h"
#include "gui/widgets/GridLook.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/Texts.h"
#include "gui/widgets/WindowContext.h"
#include "gui/widgets/WindowRegistry.h"
#include "gui/widgets/YesNoColumn.h"
#include "ui_BookListWindow.h"

#include <QAction>
#include <QHeaderView>
#include <QResizeEvent>

namespace lendora {

namespace {
const char *const kAskDelete =
    QT_TRANSLATE_NOOP("lendora::BookListWindow", "是否真的要删除编号为%1的书籍信息?");
const char *const kDeleted = QT_TRANSLATE_NOOP("lendora::BookListWindow", "编号%1已删除!");
const char *const kDeleteFailed =
    QT_TRANSLATE_NOOP("lendora::BookListWindow", "数据库拒绝了这次删除,编号%1未删除!");
// The file name the export suggests, with the day it is made.
const char *const kExportName = QT_TRANSLATE_NOOP("lendora::BookListWindow", "书库-%1.csv");

// Column widths in twips, in the grid's column order.
const int kColumnTwips[] = {1005, 1905, 855, 1965, 855, 900, 840, 1020, 930};
// The grid keeps these margins to the window's right and bottom edges.
const int kGridRightMargin = 8;
const int kGridBottomMargin = 8;

}  // namespace

BookListWindow::BookListWindow(WindowContext &context)
    : m_context(context), m_ui(std::make_unique<Ui::BookListWindow>())
{
    m_ui->setupUi(this);
    m_context.applyWindowStyle(this);
    setupGrid(m_ui->DataGrid1);
    // Several books at once, for their labels.
    m_ui->DataGrid1->setSelectionMode(QAbstractItemView::ExtendedSelection);

    m_sql = QStringLiteral(
                "select bookInfo.书籍编号,bookInfo.书籍名称,bookType.书籍类别,bookInfo.出版社,")
            + QStringLiteral(" bookInfo.作者姓名,bookInfo.书籍价格,bookInfo.书籍页码,"
                             "bookInfo.登记日期,bookInfo.是否借出")
            + QStringLiteral(" from bookInfo, bookType where bookType.类别代码=bookInfo.类别代码")
            // The order the books were entered in; the category index would otherwise lead the
            // planner to list them category by category.
            + QStringLiteral(" order by ")
            + m_context.database().dialect()->rowKey(QStringLiteral("bookInfo"));
    m_source = new GridSource(m_context.database(), QStringLiteral("FrmLendora"), this);
    m_ui->DataGrid1->setModel(new YesNoColumn(Lent, m_source->model(), this));

    connect(m_ui->cmdAdd, &QPushButton::clicked, this,
            [this] { m_context.windows().show(QStringLiteral("FrmAddnew")); });
    connect(m_ui->cmdModify, &QPushButton::clicked, this, &BookListWindow::modify);
    connect(m_ui->cmdDel, &QPushButton::clicked, this, &BookListWindow::remove);
    connect(m_ui->cmdClose, &QPushButton::clicked, this, &QWidget::close);
    const auto exportName = [this] {
        return tr(kExportName).arg(DateText::toText(m_context.today()));
    };
    QAction *exportAction = addExportMenu(m_ui->DataGrid1, m_context, exportName);
    connect(m_ui->cmdExport, &QPushButton::clicked, exportAction, &QAction::trigger);
    connect(m_ui->cmdLabels, &QPushButton::clicked, this,
            [this] { emit labelsAsked(pickedBooks()); });

    m_source->run(m_sql);
    showFirstRow();
}

BookListWindow::~BookListWindow() = default;

BookListWindow *BookListWindow::find(WindowRegistry &windows)
{
    return qobject_cast<BookListWindow *>(windows.find(QStringLiteral("FrmLendora")));
}

void BookListWindow::requery()
{
    m_source->refresh();
    showFirstRow();
}

void BookListWindow::showFirstRow()
{
    headColumns(m_source->model());
    QTableView *grid = m_ui->DataGrid1;
    const int columns = std::min<int>(grid->model()->columnCount(), ColumnCount);
    // The designed widths, unless this font needs more for a heading or a whole date.
    const int dateWidth = grid->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00")) + 12;
    for (int column = 0; column < columns; ++column) {
        int width = std::max(twips(kColumnTwips[column]),
                             grid->horizontalHeader()->sectionSizeHint(column));
        if (column == Date)
            width = std::max(width, dateWidth);
        grid->setColumnWidth(column, width);
    }
    if (grid->model()->rowCount() > 0)
        grid->setCurrentIndex(grid->model()->index(0, 0));
}

QStringList BookListWindow::currentCells() const
{
    const QModelIndex current = m_ui->DataGrid1->currentIndex();
    if (!current.isValid())
        return {};
    const GridModel *model = m_source->model();
    QStringList cells;
    for (int column = BookId; column <= Date; ++column) {
        const QVariant value = model->data(model->index(current.row(), column));
        cells << (value.isNull() ? QString() : value.toString());
    }
    return cells;
}

QStringList BookListWindow::pickedBooks() const
{
    QList<int> rows;
    if (const QItemSelectionModel *selection = m_ui->DataGrid1->selectionModel()) {
        for (const QModelIndex &index : selection->selectedRows())
            rows << index.row();
    }
    if (rows.isEmpty() && m_ui->DataGrid1->currentIndex().isValid())
        rows << m_ui->DataGrid1->currentIndex().row();
    std::sort(rows.begin(), rows.end());
    const GridModel *model = m_source->model();
    QStringList ids;
    for (int row : rows)
        ids << model->data(model->index(row, BookId)).toString();
    return ids;
}

void BookListWindow::modify()
{
    // An open modification window comes forward with the book it holds; an empty
    // catalogue has no book to open it with.
    if (!m_context.windows().find(QStringLiteral("FrmUpdateBook")) && currentCells().isEmpty())
        return;
    m_context.windows().show(QStringLiteral("FrmUpdateBook"));
}

void BookListWindow::remove()
{
    const QStringList cells = currentCells();
    if (cells.isEmpty())
        return;  // an empty catalogue: nothing to delete
    const QString id = cells.at(BookId);
    if (m_context.prompter().confirm({tr(kAskDelete).arg(id), hintTitle(), Buttons::OkCancel})) {
        // A lent book can be deleted too; its loan rows stay as they are.
        BookStore store(m_context.database());
        if (store.remove(id)) {
            requery();
            m_context.prompter().message({tr(kDeleted).arg(id), hintTitle()});
        } else {
            m_context.prompter().message(
                {withCause(tr(kDeleteFailed).arg(id), store.lastError()), hintTitle()});
        }
    }
    // Whatever the answer, the window loads again: the style in force, then the grid.
    m_context.applyWindowStyle(this);
    requery();
}

void BookListWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The grid stretches with the window; its corner and the buttons stay where they are.
    QTableView *grid = m_ui->DataGrid1;
    QRect area = grid->geometry();
    const int width = event->size().width() - area.x() - kGridRightMargin;
    const int height = event->size().height() - area.y() - kGridBottomMargin;
    if (width > 0)
        area.setWidth(width);
    if (height > 0)
        area.setHeight(height);
    grid->setGeometry(area);
}

}  // namespace lendora
