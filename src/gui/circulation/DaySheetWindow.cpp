#include "gui/circulation/DaySheetWindow.h"

#include "base/DateText.h"
#include "gui/widgets/BoundColumns.h"
#include "gui/widgets/ColumnFit.h"
#include "gui/widgets/DatePickerKeys.h"
#include "gui/widgets/GridExport.h"
#include "gui/widgets/GridLook.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/TextRows.h"
#include "gui/widgets/Texts.h"
#include "gui/widgets/WindowContext.h"
#include "reports/DaySheetDocument.h"
#include "reports/PrintSink.h"
#include "ui_DaySheetWindow.h"

#include <QAction>

namespace lendora {

namespace {
// The file name the export suggests, with the day listed.
const char *const kExportName = QT_TRANSLATE_NOOP("lendora::DaySheetWindow", "今日汇总-%1.csv");
const char *const kQueryFailed =
    QT_TRANSLATE_NOOP("lendora::DaySheetWindow", "查询失败,数据库无法读取!");
}  // namespace

DaySheetWindow::DaySheetWindow(WindowContext &context)
    : m_context(context), m_ui(std::make_unique<Ui::DaySheetWindow>()),
      m_rows(new TextRows(daySheetColumns(), this))
{
    m_context.applyWindowStyle(this);
    m_ui->setupUi(this);
    m_ui->dtpDay->setDate(m_context.today());
    markDatePicker(m_ui->dtpDay);

    setupGrid(m_ui->DataGrid1);
    m_ui->DataGrid1->setModel(new BoundColumns(daySheetColumns(), m_rows, this));
    m_ui->lblRenewalNote->setText(DaySheet::renewalNote());

    // A date typed part by part runs once, when the clerk leaves the picker or presses Enter;
    // one picked from the calendar runs at once.
    connect(m_ui->dtpDay, &QDateEdit::dateChanged, this, [this] {
        if (!m_ui->dtpDay->hasFocus())
            find();
    });
    connect(m_ui->dtpDay, &QDateEdit::editingFinished, this, [this] {
        if (m_ui->dtpDay->date() != m_listedDay)
            find();
    });
    connect(m_ui->cmdPrint, &QPushButton::clicked, this, &DaySheetWindow::print);
    QAction *exportAction = addExportMenu(m_ui->DataGrid1, m_context, [this] {
        return tr(kExportName).arg(DateText::toText(m_listedDay));
    });
    connect(m_ui->cmdExport, &QPushButton::clicked, exportAction, &QAction::trigger);
    connect(m_ui->cmdClose, &QPushButton::clicked, this, &QWidget::close);
    find();
}

DaySheetWindow::~DaySheetWindow() = default;

void DaySheetWindow::find()
{
    m_listedDay = m_ui->dtpDay->date();
    DaySheet sheet(m_context.database());
    std::optional<QList<DaySheet::Entry>> rows = sheet.find(m_listedDay);
    m_listed = rows ? std::move(*rows) : QList<DaySheet::Entry>();
    QList<QStringList> cells;
    for (const DaySheet::Entry &row : std::as_const(m_listed))
        cells << daySheetCells(row);
    m_rows->setRows(std::move(cells));
    if (!rows) {
        m_ui->lblTotals->clear();
        m_context.prompter().message({tr(kQueryFailed), hintTitle()});
        return;
    }
    m_ui->lblTotals->setText(DaySheet::totalsText(DaySheet::totals(m_listed)));
    fitColumns(m_ui->DataGrid1);
}

void DaySheetWindow::print()
{
    // The sheet as listed, not as the database stands now: what the clerk checked is printed.
    // The sink tells a cancel from a failure to nobody, so neither gets a message here.
    const QString library = m_context.settings().libraryName();
    m_context.printer().print(daySheetDocument(library, m_listedDay, m_listed));
}

}  // namespace lendora
