#include "gui/circulation/CirculationDesk.h"

#include "base/DateText.h"
#include "base/Decimal.h"
#include "core/settings/LibraryRules.h"
#include "data/GridSource.h"
#include "gui/circulation/CurrentLoans.h"
#include "gui/circulation/DeskTexts.h"
#include "gui/circulation/LendingTab.h"
#include "gui/circulation/RenewalTab.h"
#include "gui/circulation/ReturnTab.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/Texts.h"
#include "gui/widgets/WindowContext.h"
#include "reports/PrintSink.h"
#include "reports/ReceiptDocument.h"

#include <QLayout>
#include <QWidget>

namespace lendora {

namespace {
const char *const kLoansUnreadable =
    QT_TRANSLATE_NOOP("lendora::CirculationDesk", "无法读取该读者的借阅记录,请稍后再试。\n%1");

const char *const kNothingLent =
    QT_TRANSLATE_NOOP("lendora::CirculationDesk", "该读者%1没有借书,没有凭条可打印!");

// The tab fills its page.
template <class Tab>
Tab *placed(Tab *tab, QWidget *page)
{
    if (QLayout *layout = page->layout())
        layout->addWidget(tab);
    return tab;
}
}  // namespace

CirculationDesk::CirculationDesk(WindowContext &context, QWidget *lendPage, QWidget *renewPage,
                                 QWidget *returnPage, QObject *parent)
    : QObject(parent), m_context(context),
      m_adodc1(new GridSource(context.database(), QStringLiteral("Adodc1"), this)),
      m_loans(new CurrentLoans(m_adodc1, this)),
      m_lending(placed(new LendingTab(context, lendPage), lendPage)),
      m_renewal(placed(new RenewalTab(context, *m_loans, renewPage), renewPage)),
      m_return(placed(new ReturnTab(context, returnPage), returnPage))
{
    m_adodc1->setObjectName(QStringLiteral("Adodc1"));
    m_loans->prepare(m_lending->grid());
    m_loans->prepare(m_renewal->grid());

    connect(m_lending, &LendingTab::readerFound, this, [this] { InitDataGrid(false); });
    connect(m_lending, &LendingTab::lent, this, &CirculationDesk::afterLend);
    connect(m_lending, &LendingTab::newReaderAsked, this, &CirculationDesk::newReaderAsked);
    connect(m_renewal, &RenewalTab::readerFound, this, [this] { InitDataGrid(true); });
    connect(m_renewal, &RenewalTab::renewed, this, &CirculationDesk::loansChanged);
    // A reader found on the return tab refreshes the lending tab's reader, as it always did.
    connect(m_return, &ReturnTab::readerFound, this, [this] { InitDataGrid(false); });
    connect(m_return, &ReturnTab::returned, this, &CirculationDesk::afterReturn);
}

CirculationDesk::~CirculationDesk() = default;

QString CirculationDesk::lendingReaderId() const
{
    return m_lending->readerId();
}

void CirculationDesk::setToday(const QDate &day)
{
    m_lending->setLendDate(day);
    m_renewal->setNewLendDate(day);
}

void CirculationDesk::afterLend(const QString &readerId, const QDate &day,
                                const LoanStore::ReaderCounts &after)
{
    // The lend counted the reader's loans and read the rules: the counts need no second look.
    if (listLendingLoans()) {
        m_counts = after;
        m_lending->showCounts(m_counts);
    }
    emit loansChanged();
    if (paperSettings().receiptAfterLend)
        printLoanReceipt(readerId, day, false);
}

void CirculationDesk::afterReturn(const LoanStore::ReturnQuote &quote)
{
    emit loansChanged();
    if (quote.figures.fine > Decimal() && paperSettings().receiptAfterReturn)
        printFineReceipt(FineReceipt::of(quote));
}

PaperSettings CirculationDesk::paperSettings() const
{
    return PaperSettings::load(m_context.settings());
}

void CirculationDesk::printLoanReceipt(const QString &readerId, const QDate &day, bool asked)
{
    using namespace desktexts;
    if (readerId.isEmpty()) {
        if (asked)
            m_context.prompter().message({enterReader(), hintTitle()});
        return;
    }
    ReceiptFacts facts(m_context.database());
    const std::optional<LoanReceipt> receipt = facts.loansOf(readerId, day);
    if (!receipt) {
        // After a lend the desk has said all there is; the reprint says why nothing comes.
        if (asked)
            m_context.prompter().message(
                {facts.lastError().isError() ? engineFailed(facts.lastError()) : noReader(),
                 hintTitle()});
        return;
    }
    if (receipt->books.isEmpty()) {
        if (asked) {
            const QString when = day == m_context.today() ? tr("今天") : DateText::toText(day);
            m_context.prompter().message({tr(kNothingLent).arg(when), hintTitle()});
        }
        return;
    }
    const PaperSettings settings = paperSettings();
    m_context.printer().print(
        ReceiptDocument::loan(*receipt, settings.libraryName, settings.receiptPaper),
        PrinterKind::Receipt);
}

void CirculationDesk::reprintLoanReceipt()
{
    printLoanReceipt(m_lending->readerId(), m_context.today(), true);
}

void CirculationDesk::printFineReceipt(const FineReceipt &receipt)
{
    const PaperSettings settings = paperSettings();
    m_context.printer().print(
        ReceiptDocument::fine(receipt, settings.libraryName, settings.receiptPaper),
        PrinterKind::Receipt);
}

bool CirculationDesk::listLendingLoans()
{
    const bool ran = m_loans->run(m_lending->readerId());
    m_loans->bind(m_lending->grid());
    if (!ran)
        m_context.prompter().message(
            {tr(kLoansUnreadable).arg(m_adodc1->lastError()), hintTitle()});
    return ran;
}

void CirculationDesk::InitDataGrid(bool renewTab)
{
    if (renewTab) {
        const bool ran = m_loans->run(m_renewal->readerId());
        m_loans->bind(m_renewal->grid());
        if (!ran)
            m_context.prompter().message(
                {tr(kLoansUnreadable).arg(m_adodc1->lastError()), hintTitle()});
        return;
    }
    m_counts.reset();
    if (listLendingLoans()) {
        // The rules are read at every refresh: a changed limit applies at once.
        const std::optional<Rules> rules = LibraryRules(m_context.database()).read();
        const qint64 openLoans = m_loans->rowCount();
        m_counts = LoanStore::ReaderCounts{
            openLoans, LoanLimit::remaining(rules.value_or(Rules()), openLoans)};
    }
    m_lending->showCounts(m_counts);
}

}  // namespace lendora
