#include "gui/catalogue/AddBookWindow.h"

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
#include "ui_AddBookWindow.h"

#include <QCloseEvent>

namespace lendora {

namespace {
const char *const kNoBookId = QT_TRANSLATE_NOOP("lendora::AddBookWindow", "请输入书籍编号!");
const char *const kNoBookName = QT_TRANSLATE_NOOP("lendora::AddBookWindow", "请输入书籍名称!");
const char *const kNoCategory = QT_TRANSLATE_NOOP("lendora::AddBookWindow", "请选择书籍类别!");
const char *const kNoSuchCategory =
    QT_TRANSLATE_NOOP("lendora::AddBookWindow", "没有该书籍类别,请从列表中选择!");
const char *const kNoPrice = QT_TRANSLATE_NOOP("lendora::AddBookWindow", "请输入书籍价格!");
const char *const kAdded = QT_TRANSLATE_NOOP("lendora::AddBookWindow", "新书添加完毕");
const char *const kDuplicate =
    QT_TRANSLATE_NOOP("lendora::AddBookWindow", "书籍编号已存在,不能重复添加!");
const char *const kSaveFailed =
    QT_TRANSLATE_NOOP("lendora::AddBookWindow", "数据库拒绝了这次写入,新书未添加!");
// Stored in the book's row for a field left empty: data, the same in every language.
const QString kUnknown = QStringLiteral("不详");

const QSize kOuterSize(twips(6495), twips(4365));
}  // namespace

AddBookWindow::AddBookWindow(WindowContext &context)
    : m_context(context), m_ui(std::make_unique<Ui::AddBookWindow>())
{
    m_ui->setupUi(this);
    m_ui->dtpRigDate->setMinimumDate(QDate(100, 1, 1));
    m_ui->dtpRigDate->setDate(m_context.today());
    markDatePicker(m_ui->dtpRigDate);
    m_context.applyWindowStyle(this);
    FixedOuterSize::holdWindow(this, kOuterSize);

    for (QLineEdit *box : {m_ui->txtBookID, m_ui->txtBookName, m_ui->txtBookConcern,
                           m_ui->txtWriter, m_ui->txtPage, m_ui->txtBookPrice})
        markInput(box);
    markInput(m_ui->cboType->lineEdit());

    CategoryPickList::fill(m_ui->cboType, CategoryStore(m_context.database()).all());
    PublisherPickList::attach(m_ui->txtBookConcern, m_ui->Combo1);

    connect(m_ui->cmdSave, &QPushButton::clicked, this, &AddBookWindow::save);
    connect(m_ui->cmdClear, &QPushButton::clicked, this, &AddBookWindow::clear);
    connect(m_ui->cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

AddBookWindow::~AddBookWindow() = default;

void AddBookWindow::save()
{
    const auto refuse = [this](const char *text) {
        m_context.prompter().message({tr(text), appTitle()});
    };
    // The checks in their order; "empty" means no characters at all, blanks pass.
    if (m_ui->txtBookID->text().isEmpty())
        return refuse(kNoBookId);
    if (m_ui->txtBookName->text().isEmpty())
        return refuse(kNoBookName);
    if (m_ui->cboType->currentText().isEmpty())
        return refuse(kNoCategory);
    if (m_ui->txtBookConcern->text().isEmpty())
        m_ui->txtBookConcern->setText(kUnknown);
    if (m_ui->txtWriter->text().isEmpty())
        m_ui->txtWriter->setText(kUnknown);
    if (m_ui->txtBookPrice->text().isEmpty())
        return refuse(kNoPrice);
    if (m_ui->txtPage->text().isEmpty())
        m_ui->txtPage->setText(kUnknown);

    Book book;
    book.id = m_ui->txtBookID->text();
    book.name = m_ui->txtBookName->text();
    book.category = Category::codeOf(m_ui->cboType->currentText());
    book.publisher = m_ui->txtBookConcern->text();
    book.writer = m_ui->txtWriter->text();
    book.price = m_ui->txtBookPrice->text();
    book.pages = m_ui->txtPage->text();
    book.date = m_ui->dtpRigDate->date();
    BookStore store(m_context.database());
    switch (store.add(book)) {
    case BookStore::Result::Done:
        m_context.prompter().message({tr(kAdded), hintTitle()});
        break;
    case BookStore::Result::Duplicate:
        m_context.prompter().message({tr(kDuplicate), hintTitle()});
        break;
    case BookStore::Result::NoCategory:
        refuse(kNoSuchCategory);
        break;
    case BookStore::Result::Missing:
    case BookStore::Result::Failed:
        m_context.prompter().message({withCause(tr(kSaveFailed), store.lastError()), hintTitle()});
        break;
    }
}

void AddBookWindow::clear()
{
    m_ui->txtBookID->clear();
    m_ui->txtBookName->clear();
    m_ui->txtWriter->clear();
    m_ui->txtBookConcern->clear();
    m_ui->cboType->setEditText(QString());
    m_ui->txtBookPrice->clear();
    m_ui->txtPage->clear();
    m_ui->dtpRigDate->setDate(m_context.today());
}

void AddBookWindow::closeEvent(QCloseEvent *event)
{
    // New books show up in the book list when this window closes.
    if (BookListWindow *list = BookListWindow::find(m_context.windows()))
        list->requery();
    QWidget::closeEvent(event);
}

}  // namespace lendora
