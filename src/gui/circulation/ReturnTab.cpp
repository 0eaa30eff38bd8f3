#include "gui/circulation/ReturnTab.h"

#include "base/DateText.h"
#include "core/circulation/Fines.h"
#include "gui/circulation/DeskTexts.h"
#include "gui/widgets/InputBox.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/Texts.h"
#include "gui/widgets/WindowContext.h"
#include "ui_ReturnTab.h"

namespace lendora {

using namespace desktexts;

namespace {
const char *const kReturned = QT_TRANSLATE_NOOP("lendora::ReturnTab", "归还完毕!");
const char *const kNoLendDate =
    QT_TRANSLATE_NOOP("lendora::ReturnTab", "该借阅记录没有有效的借书日期,无法计算罚款!");
const char *const kNoLoanPeriod =
    QT_TRANSLATE_NOOP("lendora::ReturnTab", "该书类别没有设定有效的借出天数,请先在图书类别中设定!");
const char *const kNoFinePerDay =
    QT_TRANSLATE_NOOP("lendora::ReturnTab", "没有设定有效的罚款金额,请先在基本设置中设定!");
const char *const kOutOfRange =
    QT_TRANSLATE_NOOP("lendora::ReturnTab", "天数超出范围(-32768 至 32767),无法计算罚款!");
// Why a fine cannot be worked out, or nullptr when it can.
const char *fineProblem(Fines::Problem problem)
{
    switch (problem) {
    case Fines::Problem::NoLendDate:
        return kNoLendDate;
    case Fines::Problem::NoLoanPeriod:
        return kNoLoanPeriod;
    case Fines::Problem::NoFinePerDay:
        return kNoFinePerDay;
    case Fines::Problem::OutOfRange:
        return kOutOfRange;
    case Fines::Problem::None:
        break;
    }
    return nullptr;
}
}  // namespace

ReturnTab::ReturnTab(WindowContext &context, QWidget *parent)
    : QWidget(parent), m_context(context), m_store(context.database()),
      m_ui(std::make_unique<Ui::ReturnTab>())
{
    m_ui->setupUi(this);
    markInput(m_ui->txtReadIDReturn);
    markInput(m_ui->txtBookIDReturn);
    for (QLineEdit *box : shownBoxes()) {
        if (box != m_ui->txtReadIDReturn && box != m_ui->txtBookIDReturn)
            markDisplay(box);
    }

    connect(m_ui->txtReadIDReturn, &QLineEdit::returnPressed, this, &ReturnTab::lookUpReader);
    connect(m_ui->txtBookIDReturn, &QLineEdit::returnPressed, this, &ReturnTab::lookUpLoan);
    connect(m_ui->cmdReturn, &QPushButton::clicked, this, &ReturnTab::returnBook);
    // The figures belong to the number that was looked up; after an edit they must be fetched
    // again before anything is returned.
    connect(m_ui->txtBookIDReturn, &QLineEdit::textEdited, this, [this] {
        m_ui->cmdReturn->setEnabled(false);
        m_quote.reset();
    });
}

ReturnTab::~ReturnTab() = default;

QList<QLineEdit *> ReturnTab::shownBoxes() const
{
    return {m_ui->txtReadIDReturn,   m_ui->txtReaderNameReturn, m_ui->txtBookIDReturn,
            m_ui->txtBookNameReturn, m_ui->txtBookPriceReturn,  m_ui->txtBookLeibieReturn,
            m_ui->txtBookPageReturn, m_ui->txtLendDateReturn,   m_ui->txtDay,
            m_ui->txtReturnDate,     m_ui->txtFactDay,          m_ui->txtDayCount,
            m_ui->txtFakuan};
}

void ReturnTab::loanNotShown()
{
    for (QLineEdit *box : shownBoxes()) {
        if (box != m_ui->txtBookIDReturn)
            box->clear();
    }
    m_ui->cmdReturn->setEnabled(false);
    m_quote.reset();
}

void ReturnTab::lookUpReader()
{
    const QString readerId = m_ui->txtReadIDReturn->text();
    if (readerId.isEmpty()) {
        m_context.prompter().message({enterReader(), hintTitle()});
        return;
    }
    QString name;
    const LoanStore::Found found = m_store.findReader(readerId, &name);
    if (found == LoanStore::Found::Yes) {
        m_ui->txtReaderNameReturn->setText(name);
        // The lending tab is refreshed for the reader typed there, as the desk always did.
        emit readerFound();
        m_ui->txtBookIDReturn->setFocus();
        m_ui->txtBookIDReturn->selectAll();
        return;
    }
    m_context.prompter().message({readerNotFound(found, m_store.lastError()), hintTitle()});
    m_ui->txtReaderNameReturn->clear();
    m_ui->txtReadIDReturn->setFocus();
    m_ui->txtReadIDReturn->selectAll();
}

void ReturnTab::lookUpLoan()
{
    const QString bookId = m_ui->txtBookIDReturn->text();
    if (bookId.isEmpty()) {
        m_context.prompter().message({enterBook(), hintTitle()});
        return;
    }
    if (m_ui->txtReadIDReturn->text().isEmpty())
        return;

    LoanStore::ReturnQuote quote;
    QString missing;
    Fines::Problem figuresProblem = Fines::Problem::None;
    QString problem;
    switch (m_store.quoteReturn(bookId, m_context.today(), &quote, &missing, &figuresProblem)) {
    case LoanStore::Found::Yes:
        if (const char *why = fineProblem(figuresProblem))
            problem = tr(why);
        break;
    case LoanStore::Found::No:
        problem = noBook();
        break;
    case LoanStore::Found::Incomplete:
        problem = bookFieldMissing(missing);
        break;
    case LoanStore::Found::Failed:
        problem = engineFailed(m_store.lastError());
        break;
    }
    if (!problem.isEmpty()) {
        m_context.prompter().message({problem, hintTitle()});
        loanNotShown();
        // The reader box was emptied too, and the next lookup needs it first.
        m_ui->txtReadIDReturn->setFocus();
        return;
    }

    const Fines::Figures::Texts figures = quote.figures.texts();
    m_ui->txtBookNameReturn->setText(quote.loan.name);
    m_ui->txtBookPriceReturn->setText(quote.loan.price);
    m_ui->txtBookLeibieReturn->setText(quote.loan.category);
    m_ui->txtBookPageReturn->setText(quote.loan.pages);
    m_ui->txtLendDateReturn->setText(DateText::toText(quote.loan.lendDate));
    m_ui->txtDay->setText(figures.loanPeriod);
    m_ui->txtReturnDate->setText(figures.returnDate);
    m_ui->txtFactDay->setText(figures.actualDays);
    m_ui->txtDayCount->setText(figures.overdueDays);
    m_ui->txtFakuan->setText(figures.fine);
    m_quote = quote;
    m_ui->cmdReturn->setEnabled(true);
    // Enter on the button takes the book back.
    m_ui->cmdReturn->setFocus();
}

void ReturnTab::returnBook()
{
    // The button is only on while a looked-up return is shown.
    if (!m_quote)
        return;
    const LoanStore::ReturnQuote quote = *m_quote;
    switch (m_store.returnBook(quote)) {
    case LoanStore::ReturnResult::Returned:
        for (QLineEdit *box : shownBoxes())
            box->clear();
        m_ui->cmdReturn->setEnabled(false);
        m_quote.reset();
        m_context.prompter().message({tr(kReturned), hintTitle()});
        // The next scan is the next reader's number.
        m_ui->txtReadIDReturn->setFocus();
        emit returned(quote);
        return;
    case LoanStore::ReturnResult::NoOpenLoan:
        m_context.prompter().message({noBook(), hintTitle()});
        loanNotShown();
        m_ui->txtReadIDReturn->setFocus();
        return;
    case LoanStore::ReturnResult::BeforeLending:
        m_context.prompter().message({beforeLending(DateText::toText(quote.loan.lendDate),
                                                    DateText::toText(quote.figures.returnDate)),
                                      hintTitle()});
        return;
    case LoanStore::ReturnResult::Failed:
        m_context.prompter().message({engineFailed(m_store.lastError()), hintTitle()});
        return;
    }
}

}  // namespace lendora
