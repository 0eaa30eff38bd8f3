#include "gui/circulation/OverdueWindow.h"

#include "base/DateText.h"
#include "base/NumberText.h"
#include "core/circulation/OverdueList.h"
#include "gui/widgets/BoundColumns.h"
#include "gui/widgets/ColumnFit.h"
#include "gui/widgets/DatePickerKeys.h"
#include "gui/widgets/GridExport.h"
#include "gui/widgets/GridLook.h"
#include "gui/widgets/InputBox.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/Texts.h"
#include "gui/widgets/WindowContext.h"
#include "reports/OverdueNotices.h"
#include "reports/PrintSink.h"
#include "ui_OverdueWindow.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QHeaderView>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSet>
#include <QTimer>

namespace lendora {

namespace {
const char *const kTotals =
    QT_TRANSLATE_NOOP("lendora::OverdueWindow", "读者 %1 人,图书 %2 册,罚款合计 %3 元");
// The file name the export suggests, with the date the list is as of.
const char *const kExportName = QT_TRANSLATE_NOOP("lendora::OverdueWindow", "逾期清单-%1.csv");
const char *const kQueryFailed =
    QT_TRANSLATE_NOOP("lendora::OverdueWindow", "查询失败,数据库无法读取!");
// After the totals when the list holds loans whose reader, book or category is gone.
const char *const kGoneTotal =
    QT_TRANSLATE_NOOP("lendora::OverdueWindow", ",其中 %1 册的读者、图书或类别已删除");
const char *const kNothingToPrint =
    QT_TRANSLATE_NOOP("lendora::OverdueWindow", "没有逾期未还图书的读者,不需要打印催还单。");
const char *const kNotPrinted =
    QT_TRANSLATE_NOOP("lendora::OverdueWindow", "催还单没有打印(已取消或打印失败)。");
const char *const kCounting = QT_TRANSLATE_NOOP("lendora::OverdueWindow", "正在统计……");
const int kRowsMeasured = 30;
// More than a screenful: what the window shows before the rest of a long list is read.
const int kFirstRows = 200;

// The listing's columns, 说明 last.
const QStringList kColumns = OverdueList::columns();
}  // namespace

// The rows of the last query, headed by their column keys for BoundColumns to label.
class OverdueRows : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(QList<OverdueList::Entry> rows)
    {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }
    const QList<OverdueList::Entry> &rows() const { return m_rows; }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(kColumns.size());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return kColumns.value(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_rows.size())
            return {};
        return OverdueList::cells(m_rows.at(index.row())).value(index.column());
    }

private:
    QList<OverdueList::Entry> m_rows;
};

OverdueWindow::OverdueWindow(WindowContext &context)
    : m_context(context), m_ui(std::make_unique<Ui::OverdueWindow>()), m_rows(new OverdueRows(this))
{
    m_context.applyWindowStyle(this);
    m_ui->setupUi(this);
    m_ui->dtpAsOf->setDate(m_context.today());
    markDatePicker(m_ui->dtpAsOf);

    m_ui->cboDept->addItem(QString());
    m_ui->cboDept->addItems(OverdueList(m_context.database()).departments());
    markInput(m_ui->cboDept->lineEdit());
    fitListToEntries(m_ui->cboDept);
    markInput(m_ui->txtMinDays);
    m_ui->txtMinDays->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,5}")), m_ui->txtMinDays));
    m_ui->txtMinDays->setText(QStringLiteral("1"));

    setupGrid(m_ui->DataGrid1);
    m_ui->DataGrid1->horizontalHeader()->setResizeContentsPrecision(kRowsMeasured);
    // Several readers can be picked for notices at once.
    m_ui->DataGrid1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_ui->DataGrid1->setModel(new BoundColumns(kColumns, m_rows, this));

    connect(m_ui->cmdFind, &QPushButton::clicked, this, &OverdueWindow::find);
    connect(m_ui->cboDept->lineEdit(), &QLineEdit::returnPressed, this, &OverdueWindow::find);
    connect(m_ui->txtMinDays, &QLineEdit::returnPressed, this, &OverdueWindow::find);
    // A date typed part by part runs once, when the clerk leaves the picker or presses Enter;
    // one picked from the calendar runs at once.
    connect(m_ui->dtpAsOf, &QDateEdit::dateChanged, this, [this] {
        if (!m_ui->dtpAsOf->hasFocus())
            find();
    });
    connect(m_ui->dtpAsOf, &QDateEdit::editingFinished, this, [this] {
        if (m_ui->dtpAsOf->date() != m_listedAsOf)
            find();
    });
    m_exportAction = addExportMenu(m_ui->DataGrid1, m_context, [this] {
        return tr(kExportName).arg(DateText::toText(m_listedAsOf));
    });
    connect(m_ui->cmdExport, &QPushButton::clicked, m_exportAction, &QAction::trigger);
    connect(m_ui->cmdPrint, &QPushButton::clicked, this, &OverdueWindow::printNotices);
    connect(m_ui->cmdClose, &QPushButton::clicked, this, &QWidget::close);
    // The list is what the window is for: it shows today's at once.
    find();
}

OverdueWindow::~OverdueWindow() = default;

void OverdueWindow::find()
{
    OverdueList::Criteria criteria;
    criteria.asOf = m_ui->dtpAsOf->date();
    m_listedAsOf = criteria.asOf;
    criteria.department = m_ui->cboDept->currentText();
    // An empty box means the default.
    const QString minDays = m_ui->txtMinDays->text();
    criteria.minDays = minDays.isEmpty() ? 1 : minDays.toInt();

    // The first rows at once; on a large library the rest follow as soon as they are shown.
    OverdueList list(m_context.database());
    bool complete = true;
    const int listing = ++m_listing;
    if (!showRows(list.findFirst(criteria, kFirstRows, &complete), complete) || complete)
        return;
    QTimer::singleShot(0, this, [this, criteria, listing] {
        // A newer listing replaced this one before it was finished.
        if (listing != m_listing)
            return;
        showRows(OverdueList(m_context.database()).find(criteria), true);
    });
}

bool OverdueWindow::showRows(std::optional<QList<OverdueList::Entry>> rows, bool complete)
{
    if (!rows) {
        m_rows->setRows({});
        m_ui->lblTotals->clear();
        m_context.prompter().message({tr(kQueryFailed), hintTitle()});
        return false;
    }
    // Notices and the file are made of the whole list only.
    m_ui->cmdPrint->setEnabled(complete);
    m_ui->cmdExport->setEnabled(complete);
    m_exportAction->setEnabled(complete);
    if (complete) {
        const OverdueList::Totals totals = OverdueList::totals(*rows);
        QString text = tr(kTotals).arg(NumberText::fromInt(totals.readers),
                                       NumberText::fromInt(totals.books), totals.fines.toText());
        if (totals.gone > 0)
            text += tr(kGoneTotal).arg(NumberText::fromInt(totals.gone));
        m_ui->lblTotals->setText(text);
    } else {
        m_ui->lblTotals->setText(tr(kCounting));
    }
    // The first rows stay where the clerk sees them when the rest arrive.
    const int scrolled = m_ui->DataGrid1->verticalScrollBar()->value();
    m_rows->setRows(std::move(*rows));
    m_ui->DataGrid1->verticalScrollBar()->setValue(scrolled);
    fitColumns(m_ui->DataGrid1);
    return true;
}

void OverdueWindow::printNotices()
{
    // The readers of the picked rows, each with every book of theirs the grid lists; with
    // nothing picked, every reader listed.
    const QList<OverdueList::Entry> &listed = m_rows->rows();
    QList<OverdueList::Entry> entries;
    const QModelIndexList picked = m_ui->DataGrid1->selectionModel()
                                       ? m_ui->DataGrid1->selectionModel()->selectedRows()
                                       : QModelIndexList();
    if (picked.isEmpty()) {
        entries = listed;
    } else {
        QSet<QString> readers;
        for (const QModelIndex &index : picked) {
            if (index.row() < listed.size())
                readers.insert(listed.at(index.row()).readerId);
        }
        for (const OverdueList::Entry &entry : listed) {
            if (readers.contains(entry.readerId))
                entries << entry;
        }
    }
    if (OverdueNotices::readers(entries).isEmpty()) {
        m_context.prompter().message({tr(kNothingToPrint), hintTitle()});
        return;
    }
    const QString library = m_context.settings().libraryName();
    if (!m_context.printer().print(OverdueNotices::build(entries, library, m_listedAsOf)))
        m_context.prompter().message({tr(kNotPrinted), hintTitle()});
}

}  // namespace lendora
