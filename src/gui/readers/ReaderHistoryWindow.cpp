#include "gui/readers/ReaderHistoryWindow.h"

#include "core/readers/ReaderStore.h"
#include "gui/widgets/BoundColumns.h"
#include "gui/widgets/ColumnFit.h"
#include "gui/widgets/GridLook.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/TextRows.h"
#include "gui/widgets/Texts.h"
#include "gui/widgets/WindowContext.h"
#include "reports/LoanHistoryDocument.h"
#include "reports/PrintSink.h"
#include "ui_ReaderHistoryWindow.h"

namespace lendora {

namespace {
const char *const kReader =
    QT_TRANSLATE_NOOP("lendora::ReaderHistoryWindow", "读者编号:%1  读者姓名:%2");
const char *const kQueryFailed =
    QT_TRANSLATE_NOOP("lendora::ReaderHistoryWindow", "查询失败,数据库无法读取!");
}  // namespace

ReaderHistoryWindow::ReaderHistoryWindow(WindowContext &context, const QString &readerId)
    : m_context(context), m_ui(std::make_unique<Ui::ReaderHistoryWindow>()),
      m_rows(new TextRows(loanHistoryColumns(), this)), m_readerId(readerId)
{
    m_context.applyWindowStyle(this);
    m_ui->setupUi(this);
    setupGrid(m_ui->DataGrid1);
    m_ui->DataGrid1->setModel(new BoundColumns(loanHistoryColumns(), m_rows, this));

    connect(m_ui->cmdPrint, &QPushButton::clicked, this, &ReaderHistoryWindow::print);
    connect(m_ui->cmdClose, &QPushButton::clicked, this, &QWidget::close);
    find();
}

ReaderHistoryWindow::~ReaderHistoryWindow() = default;

void ReaderHistoryWindow::find()
{
    // The name as the register holds it now; a reader deleted meanwhile keeps the number.
    Reader reader;
    if (ReaderStore(m_context.database()).find(m_readerId, &reader) == ReaderStore::Outcome::Done)
        m_readerName = reader.name;
    m_ui->lblReader->setText(tr(kReader).arg(m_readerId, m_readerName));

    LoanHistory history(m_context.database());
    std::optional<QList<LoanHistory::Entry>> rows = history.find(m_readerId);
    m_listed = rows ? std::move(*rows) : QList<LoanHistory::Entry>();
    QList<QStringList> cells;
    for (const LoanHistory::Entry &row : std::as_const(m_listed))
        cells << loanHistoryCells(row);
    m_rows->setRows(std::move(cells));
    if (!rows) {
        m_ui->lblTotals->clear();
        m_context.prompter().message({tr(kQueryFailed), hintTitle()});
        return;
    }
    m_ui->lblTotals->setText(LoanHistory::totalsText(LoanHistory::totals(m_listed)));
    fitColumns(m_ui->DataGrid1);
}

void ReaderHistoryWindow::print()
{
    // The sink tells a cancel from a failure to nobody, so neither gets a message here.
    const QString library = m_context.settings().libraryName();
    m_context.printer().print(loanHistoryDocument(library, m_readerId, m_readerName, m_listed));
}

}  // namespace lendora
