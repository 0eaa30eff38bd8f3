#include "gui/circulation/LendingTab.h"

#include "base/DateText.h"
#include "base/NumberText.h"
#include "gui/circulation/DeskTexts.h"
#include "gui/widgets/DatePickerKeys.h"
#include "gui/widgets/GridExport.h"
#include "gui/widgets/GridLook.h"
#include "gui/widgets/InputBox.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/Texts.h"
#include "gui/widgets/WindowContext.h"
#include "ui_LendingTab.h"

namespace lendora {

using namespace desktexts;

namespace {
const char *const kEnterReaderToLend =
    QT_TRANSLATE_NOOP("lendora::LendingTab", "请先输入读者编号!");
const char *const kBookOut =
    QT_TRANSLATE_NOOP("lendora::LendingTab", "该书已经借出,请选择其它图书!");
const char *const kLimitReached =
    QT_TRANSLATE_NOOP("lendora::LendingTab", "您的书已经借满,不能再借!");
const char *const kLent = QT_TRANSLATE_NOOP("lendora::LendingTab", "借出完毕!");
const char *const kLimitNotSet =
    QT_TRANSLATE_NOOP("lendora::LendingTab", "没有设定借出册数,请先在基本设置中设定!");
const char *const kLimitInvalid =
    QT_TRANSLATE_NOOP("lendora::LendingTab", "借出册数设定不正确,请先在基本设置中改正!");

// The file name the export of the reader's loans suggests: the reader and the day.
const char *const kExportName = QT_TRANSLATE_NOOP("lendora::LendingTab", "在借图书-%1-%2.csv");
const char *const kLendCountCaption = QT_TRANSLATE_NOOP("lendora::LendingTab", "已借图书册数:");
}  // namespace

LendingTab::LendingTab(WindowContext &context, QWidget *parent)
    : QWidget(parent), m_context(context), m_store(context.database()),
      m_ui(std::make_unique<Ui::LendingTab>())
{
    m_ui->setupUi(this);
    markInput(m_ui->txtReaderID);
    markInput(m_ui->txtBookID);
    markDatePicker(m_ui->dtpLendDate);
    for (QLineEdit *box : {m_ui->txtReaderName, m_ui->txtBookPrice, m_ui->txtBookName,
                           m_ui->txtBookLeibie, m_ui->txtBookConcern, m_ui->txtBookPage})
        markDisplay(box);
    setupGrid(m_ui->dtgrdLendBook);
    addExportMenu(m_ui->dtgrdLendBook, m_context, [this] {
        return tr(kExportName).arg(m_ui->txtReaderID->text(), DateText::toText(m_context.today()));
    });

    connect(m_ui->txtReaderID, &QLineEdit::returnPressed, this, &LendingTab::lookUpReader);
    connect(m_ui->txtBookID, &QLineEdit::returnPressed, this, &LendingTab::lookUpBook);
    connect(m_ui->cmdLendBook, &QPushButton::clicked, this, &LendingTab::lendBook);
    connect(m_ui->cmdReaderInfo, &QPushButton::clicked, this, &LendingTab::addReader);
    m_ui->txtReaderID->setFocus();
}

LendingTab::~LendingTab() = default;

QString LendingTab::readerId() const
{
    return m_ui->txtReaderID->text();
}

QTableView *LendingTab::grid() const
{
    return m_ui->dtgrdLendBook;
}

void LendingTab::setLendDate(const QDate &day)
{
    m_ui->dtpLendDate->setDate(day);
}

void LendingTab::showCounts(const std::optional<LoanStore::ReaderCounts> &counts)
{
    const QString caption = tr(kLendCountCaption);
    m_remaining.reset();
    if (counts && counts->remaining.problem == LoanLimit::Problem::None)
        m_remaining = counts->remaining.value;
    m_ui->lblLendCount->setText(counts ? caption + NumberText::fromInt(counts->openLoans)
                                       : caption);
    m_ui->lblRemain->setText(m_remaining ? NumberText::fromInt(*m_remaining) : QString());
}

void LendingTab::fail(const DbError &error)
{
    m_context.prompter().message({engineFailed(error), hintTitle()});
}

void LendingTab::focusBox(QLineEdit *box)
{
    // The next scan replaces whatever the box holds.
    box->setFocus();
    box->selectAll();
}

void LendingTab::clearBook()
{
    for (QLineEdit *box : {m_ui->txtBookName, m_ui->txtBookPrice, m_ui->txtBookLeibie,
                           m_ui->txtBookConcern, m_ui->txtBookPage})
        box->clear();
}

void LendingTab::lookUpReader()
{
    const QString readerId = m_ui->txtReaderID->text();
    if (readerId.isEmpty()) {
        m_context.prompter().message({enterReader(), hintTitle()});
        return;
    }
    QString name;
    const LoanStore::Found found = m_store.findReader(readerId, &name);
    if (found == LoanStore::Found::Yes) {
        m_ui->txtReaderName->setText(name);
        emit readerFound();
        focusBox(m_ui->txtBookID);
        return;
    }
    m_context.prompter().message({readerNotFound(found, m_store.lastError()), hintTitle()});
    m_ui->txtReaderName->clear();
    focusBox(m_ui->txtReaderID);
}

void LendingTab::lookUpBook()
{
    // The reader number is asked for first: with both boxes empty only that is said.
    if (m_ui->txtReaderID->text().isEmpty()) {
        m_context.prompter().message({enterReader(), hintTitle()});
        return;
    }
    const QString bookId = m_ui->txtBookID->text();
    if (bookId.isEmpty()) {
        m_context.prompter().message({enterBook(), hintTitle()});
        return;
    }
    LoanStore::BookDetails book;
    QString missing;
    switch (m_store.findBook(bookId, &book, &missing)) {
    case LoanStore::Found::Yes:
        break;
    case LoanStore::Found::No:
        m_context.prompter().message({noBook(), hintTitle()});
        clearBook();
        focusBox(m_ui->txtBookID);
        return;
    case LoanStore::Found::Incomplete:
        m_context.prompter().message({bookFieldMissing(missing), hintTitle()});
        clearBook();
        focusBox(m_ui->txtBookID);
        return;
    case LoanStore::Found::Failed:
        fail(m_store.lastError());
        clearBook();
        return;
    }
    m_ui->txtBookName->setText(book.name);
    m_ui->txtBookPrice->setText(book.price);
    m_ui->txtBookLeibie->setText(book.category);
    m_ui->txtBookConcern->setText(book.publisher);
    m_ui->txtBookPage->setText(book.pages);
    if (book.onLoan) {
        m_context.prompter().message({tr(kBookOut), hintTitle()});
        m_ui->cmdLendBook->setEnabled(false);
        focusBox(m_ui->txtBookID);
    } else {
        m_ui->cmdLendBook->setEnabled(true);
        // Enter on the button lends: a scanner clerk never reaches for the mouse.
        m_ui->cmdLendBook->setFocus();
    }
}

void LendingTab::refuseFull()
{
    // Every box of the tab is emptied; the counters keep the refused reader's figures.
    m_context.prompter().message({tr(kLimitReached), hintTitle()});
    m_ui->txtReaderID->clear();
    m_ui->txtReaderName->clear();
    m_ui->txtBookID->clear();
    clearBook();
    focusBox(m_ui->txtReaderID);
}

void LendingTab::lendBook()
{
    const QString readerId = m_ui->txtReaderID->text();
    if (readerId.isEmpty()) {
        m_context.prompter().message({tr(kEnterReaderToLend), hintTitle()});
        return;
    }
    // The limit the counters show comes first, as the desk always checked it; the store then
    // checks everything again for the numbers typed now.
    if (m_remaining == 0) {
        refuseFull();
        return;
    }
    const QString bookId = m_ui->txtBookID->text();
    const QDate day = m_ui->dtpLendDate->date();
    QString missing;
    LoanStore::ReaderCounts after;
    switch (m_store.lend(readerId, bookId, day, &missing, &after)) {
    case LoanStore::LendResult::Lent:
        m_context.prompter().message({tr(kLent), hintTitle()});
        m_ui->txtBookID->clear();
        clearBook();
        emit lent(readerId, day, after);
        focusBox(m_ui->txtBookID);
        return;
    case LoanStore::LendResult::LimitReached:
        refuseFull();
        return;
    case LoanStore::LendResult::LimitNotSet:
        m_context.prompter().message({tr(kLimitNotSet), hintTitle()});
        return;
    case LoanStore::LendResult::LimitInvalid:
        m_context.prompter().message({tr(kLimitInvalid), hintTitle()});
        return;
    case LoanStore::LendResult::NoReader:
        m_context.prompter().message({noReader(), hintTitle()});
        m_ui->txtReaderName->clear();
        focusBox(m_ui->txtReaderID);
        return;
    case LoanStore::LendResult::NoBook:
        m_context.prompter().message({noBook(), hintTitle()});
        clearBook();
        focusBox(m_ui->txtBookID);
        return;
    case LoanStore::LendResult::BookIncomplete:
        m_context.prompter().message({bookFieldMissing(missing), hintTitle()});
        clearBook();
        focusBox(m_ui->txtBookID);
        return;
    case LoanStore::LendResult::BookOnLoan:
        m_context.prompter().message({tr(kBookOut), hintTitle()});
        m_ui->cmdLendBook->setEnabled(false);
        focusBox(m_ui->txtBookID);
        return;
    case LoanStore::LendResult::Failed:
        fail(m_store.lastError());
        return;
    }
}

void LendingTab::addReader()
{
    emit newReaderAsked(m_ui->txtReaderID->text());
}

}  // namespace lendora
