#include "gui/catalogue/UpdateBookWindow.h"

#include "base/DateText.h"
#include "core/catalogue/BookStore.h"
#include "core/catalogue/CategoryStore.h"
#include "gui/catalogue/BookListWindow.h"
#include "gui/catalogue/PickLists.h"
#include "gui/widgets/DatePickerKeys.h"
#include "gui/widgets/FixedOuterSize.h"
#include "gui/widgets/InputBox.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/Texts.h"
#include "gui/widgets/WindowContext.h"
#include "gui/widgets/WindowRegistry.h"
#include "ui_UpdateBookWindow.h"

#include <QCloseEvent>

namespace lendora {

namespace {
const char *const kSaved = QT_TRANSLATE_NOOP("lendora::UpdateBookWindow", "保存修改完毕!");
const char *const kGone = QT_TRANSLATE_NOOP("lendora::UpdateBookWindow", "该书已不存在,无法保存!");
const char *const kNoSuchCategory =
    QT_TRANSLATE_NOOP("lendora::UpdateBookWindow", "没有该书籍类别,请从列表中选择!");
const char *const kSaveFailed =
    QT_TRANSLATE_NOOP("lendora::UpdateBookWindow", "数据库拒绝了这次写入,书籍信息未修改!");

const QSize kOuterSize(twips(7470), twips(4410));
}  // namespace

UpdateBookWindow::UpdateBookWindow(WindowContext &context)
    : m_context(context), m_ui(std::make_unique<Ui::UpdateBookWindow>())
{
    m_ui->setupUi(this);
    m_ui->dtpRigDate->setMinimumDate(QDate(100, 1, 1));
    m_ui->dtpRigDate->setDate(m_context.today());
    markDatePicker(m_ui->dtpRigDate);
    m_context.applyWindowStyle(this);
    FixedOuterSize::holdWindow(this, kOuterSize);

    markDisplay(m_ui->txtBookID);
    for (QLineEdit *box :
         {m_ui->txtBookName, m_ui->txtBookConcern, m_ui->txtWriter, m_ui->txtPage, m_ui->txtPrice})
        markInput(box);
    markInput(m_ui->cboType->lineEdit());

    const QList<Category> categories = CategoryStore(m_context.database()).all();
    CategoryPickList::fill(m_ui->cboType, categories);

    // The book list's current row, cell by cell.
    QStringList cells;
    if (BookListWindow *list = BookListWindow::find(m_context.windows()))
        cells = list->currentCells();
    if (!cells.isEmpty()) {
        m_ui->txtBookID->setText(cells.at(BookListWindow::BookId));
        m_ui->txtBookName->setText(cells.at(BookListWindow::BookName));
        m_ui->cboType->setEditText(cells.at(BookListWindow::CategoryName));
        m_ui->txtBookConcern->setText(cells.at(BookListWindow::Publisher));
        m_ui->txtWriter->setText(cells.at(BookListWindow::Writer));
        m_ui->txtPrice->setText(cells.at(BookListWindow::Price));
        m_ui->txtPage->setText(cells.at(BookListWindow::Pages));
        // A book without a date keeps today's; it is stored only if the clerk saves.
        const QDate date = DateText::fromText(cells.at(BookListWindow::Date));
        if (date.isValid())
            m_ui->dtpRigDate->setDate(date);
    }
    // The category name turns back into an entry: the first category with that name that
    // can be chosen (a longer code would be saved cut to its first character).
    const QString name = m_ui->cboType->currentText();
    for (const Category &category : categories) {
        if (category.name == name && Category::isOneCharacter(category.code)) {
            m_ui->cboType->setEditText(CategoryPickList::entry(category));
            break;
        }
    }
    // Attached after the fields are filled, so the stored publisher does not call the list up.
    PublisherPickList::attach(m_ui->txtBookConcern, m_ui->Combo1);

    connect(m_ui->cmdSave, &QPushButton::clicked, this, &UpdateBookWindow::save);
    connect(m_ui->cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

UpdateBookWindow::~UpdateBookWindow() = default;

void UpdateBookWindow::save()
{
    // Nothing is defaulted here: empty fields are stored as empty text. Only the category
    // must exist, or the book would drop out of the book list.
    Book book;
    book.id = m_ui->txtBookID->text();
    book.name = m_ui->txtBookName->text();
    book.category = Category::codeOf(m_ui->cboType->currentText());
    book.publisher = m_ui->txtBookConcern->text();
    book.writer = m_ui->txtWriter->text();
    book.price = m_ui->txtPrice->text();
    book.pages = m_ui->txtPage->text();
    book.date = m_ui->dtpRigDate->date();
    BookStore store(m_context.database());
    switch (store.update(book)) {
    case BookStore::Result::Done:
        break;
    case BookStore::Result::Missing:
        m_context.prompter().message({tr(kGone), hintTitle()});
        return;
    case BookStore::Result::NoCategory:
        m_context.prompter().message({tr(kNoSuchCategory), hintTitle()});
        return;
    case BookStore::Result::Duplicate:
    case BookStore::Result::Failed:
        m_context.prompter().message({withCause(tr(kSaveFailed), store.lastError()), hintTitle()});
        return;
    }
    m_context.prompter().message({tr(kSaved), hintTitle()});
    close();
}

void UpdateBookWindow::closeEvent(QCloseEvent *event)
{
    // The book list shows the book as it now stands.
    if (BookListWindow *list = BookListWindow::find(m_context.windows()))
        list->requery();
    QWidget::closeEvent(event);
}

}  // namespace lendora
