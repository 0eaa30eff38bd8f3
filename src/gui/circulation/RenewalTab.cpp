#include "gui/circulation/RenewalTab.h"

#include "base/DateText.h"
#include "gui/circulation/CurrentLoans.h"
#include "gui/circulation/DeskTexts.h"
#include "gui/widgets/DatePickerKeys.h"
#include "gui/widgets/InputBox.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/Texts.h"
#include "gui/widgets/WindowContext.h"
#include "ui_RenewalTab.h"

namespace lendora {

using namespace desktexts;

namespace {
const char *const kRenewed = QT_TRANSLATE_NOOP("lendora::RenewalTab", "续借完毕!");
const char *const kNoSuchLoan =
    QT_TRANSLATE_NOOP("lendora::RenewalTab", "没有找到该借阅记录,请重新查询读者!");
}  // namespace

RenewalTab::RenewalTab(WindowContext &context, CurrentLoans &loans, QWidget *parent)
    : QWidget(parent), m_context(context), m_loans(loans), m_store(context.database()),
      m_ui(std::make_unique<Ui::RenewalTab>())
{
    m_ui->setupUi(this);
    markInput(m_ui->txtReaderIDRenew);
    markDatePicker(m_ui->dtpLendDateChange);
    // The bound boxes only show the selected loan: nothing typed could be stored by mistake.
    for (QLineEdit *box : {m_ui->txtReaderNameRenew, m_ui->txtBookIDRenew, m_ui->txtBookNameRenew,
                           m_ui->txtLendDate})
        markDisplay(box);

    connect(m_ui->txtReaderIDRenew, &QLineEdit::returnPressed, this, &RenewalTab::lookUpReader);
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &RenewalTab::renew);
    connect(&m_loans, &CurrentLoans::currentChanged, this, &RenewalTab::showCurrentLoan);
}

RenewalTab::~RenewalTab() = default;

QString RenewalTab::readerId() const
{
    return m_ui->txtReaderIDRenew->text();
}

QTableView *RenewalTab::grid() const
{
    return m_ui->dtgrdLendBookRenew;
}

void RenewalTab::setNewLendDate(const QDate &day)
{
    m_ui->dtpLendDateChange->setDate(day);
}

void RenewalTab::showCurrentLoan()
{
    const QVariant lendDate = m_loans.current(QStringLiteral("借书日期"));
    const QDate date = DateText::fromSql(lendDate);
    m_ui->txtBookIDRenew->setText(m_loans.current(QStringLiteral("书籍编号")).toString());
    m_ui->txtBookNameRenew->setText(m_loans.current(QStringLiteral("书籍名称")).toString());
    m_ui->txtLendDate->setText(date.isValid() ? DateText::toText(date) : lendDate.toString());
}

void RenewalTab::lookUpReader()
{
    const QString readerId = m_ui->txtReaderIDRenew->text();
    if (readerId.isEmpty()) {
        m_context.prompter().message({enterReader(), hintTitle()});
        m_ui->cmdOK->setEnabled(false);
        return;
    }
    QString name;
    const LoanStore::Found found = m_store.findReader(readerId, &name);
    if (found == LoanStore::Found::Yes) {
        m_ui->txtReaderNameRenew->setText(name);
        emit readerFound();
        m_ui->cmdOK->setEnabled(true);
        m_ui->dtgrdLendBookRenew->setFocus();
        return;
    }
    m_context.prompter().message({readerNotFound(found, m_store.lastError()), hintTitle()});
    m_ui->txtReaderNameRenew->clear();
    m_ui->cmdOK->setEnabled(false);
    m_ui->txtReaderIDRenew->setFocus();
    m_ui->txtReaderIDRenew->selectAll();
}

void RenewalTab::renew()
{
    // Only the open loan the boxes show is moved; a stale or foreign row moves nothing.
    switch (m_store.renew(m_ui->txtBookIDRenew->text(), m_ui->txtReaderIDRenew->text(),
                          m_ui->txtLendDate->text(), m_ui->dtpLendDateChange->date())) {
    case LoanStore::RenewResult::Renewed:
        m_context.prompter().message({tr(kRenewed), hintTitle()});
        emit renewed();
        return;
    case LoanStore::RenewResult::NoOpenLoan:
        m_context.prompter().message({tr(kNoSuchLoan), hintTitle()});
        return;
    case LoanStore::RenewResult::BeforeLending:
        m_context.prompter().message(
            {beforeLending(m_ui->txtLendDate->text(),
                           DateText::toText(m_ui->dtpLendDateChange->date())),
             hintTitle()});
        return;
    case LoanStore::RenewResult::Failed:
        m_context.prompter().message({engineFailed(m_store.lastError()), hintTitle()});
        return;
    }
}

}  // namespace lendora
