#include "gui/query/StatisticsWindow.h"

#include "base/DateText.h"
#include "core/query/LoanStatistics.h"
#include "gui/widgets/ChartView.h"
#include "gui/widgets/ColumnFit.h"
#include "gui/widgets/DatePickerKeys.h"
#include "gui/widgets/FileChooser.h"
#include "gui/widgets/GridExport.h"
#include "gui/widgets/GridLook.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/Texts.h"
#include "gui/widgets/WindowContext.h"
#include "reports/PrintSink.h"
#include "reports/StatisticsDocument.h"
#include "ui_StatisticsWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QSaveFile>
#include <QScrollBar>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace lendora {

namespace {
const char *const kQueryFailed =
    QT_TRANSLATE_NOOP("lendora::StatisticsWindow", "统计失败,数据库无法读取!");
const char *const kBackToFront =
    QT_TRANSLATE_NOOP("lendora::StatisticsWindow", "起始日期不能晚于结束日期!");
const char *const kRange = QT_TRANSLATE_NOOP("lendora::StatisticsWindow", "统计范围: %1");
const char *const kCounting = QT_TRANSLATE_NOOP("lendora::StatisticsWindow", "正在统计……");
const char *const kImageCaption = QT_TRANSLATE_NOOP("lendora::StatisticsWindow", "保存图片");
const char *const kPngFilter = QT_TRANSLATE_NOOP("lendora::StatisticsWindow", "PNG 图片 (*.png)");
const char *const kImageSaved = QT_TRANSLATE_NOOP("lendora::StatisticsWindow", "图片已保存到 %1。");
const char *const kImageFailed =
    QT_TRANSLATE_NOOP("lendora::StatisticsWindow", "无法写入文件 %1,图片没有保存。");
const int kWidestTable = 480;
// The picture's size: a slide's or half an A4 page's worth at a readable scale.
const QSize kImageSize(1200, 720);

// The names the tabs' controls go by, per view.
QString controlSuffix(StatisticsView::Kind kind)
{
    using Kind = StatisticsView::Kind;
    switch (kind) {
    case Kind::Months:
        return QStringLiteral("Months");
    case Kind::Categories:
        return QStringLiteral("Categories");
    case Kind::TopBooks:
        return QStringLiteral("TopBooks");
    case Kind::TopReaders:
        return QStringLiteral("TopReaders");
    case Kind::NeverLent:
        return QStringLiteral("NeverLent");
    case Kind::Collection:
        return QStringLiteral("Collection");
    case Kind::Fines:
        return QStringLiteral("Fines");
    }
    return {};
}

// Shows the wait cursor while a view is counted.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};
}  // namespace

StatisticsWindow::StatisticsWindow(WindowContext &context)
    : m_context(context), m_ui(std::make_unique<Ui::StatisticsWindow>())
{
    m_context.applyWindowStyle(this);
    m_ui->setupUi(this);
    const auto [from, to] = StatisticsViews::lastYear(m_context.today());
    m_ui->dtpFrom->setDate(from);
    m_ui->dtpTo->setDate(to);
    markDatePicker(m_ui->dtpFrom);
    markDatePicker(m_ui->dtpTo);
    for (StatisticsView::Kind kind : StatisticsViews::kinds())
        addTab(kind);
    // Every tab's title whole, in every language and style: the window is at least as wide as
    // the row of tabs, which never scrolls out of sight nor cuts a title short.
    m_ui->tabViews->setUsesScrollButtons(false);
    m_ui->tabViews->setElideMode(Qt::ElideNone);

    // A date typed part by part counts once, when the clerk leaves the picker or presses
    // Enter; one picked from the calendar counts at once.
    for (QDateEdit *picker : {m_ui->dtpFrom, m_ui->dtpTo}) {
        connect(picker, &QDateEdit::dateChanged, this, [this, picker] {
            if (!picker->hasFocus())
                rangeEdited();
        });
        connect(picker, &QDateEdit::editingFinished, this, &StatisticsWindow::rangeEdited);
    }
    connect(m_ui->cmdFind, &QPushButton::clicked, this, &StatisticsWindow::count);
    connect(m_ui->tabViews, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0 && index < m_tabs.size())
            display(m_tabs[index]);
    });
    connect(m_ui->cmdPrint, &QPushButton::clicked, this, &StatisticsWindow::print);
    connect(m_ui->cmdExport, &QPushButton::clicked, this,
            [this] { exportView(m_ui->tabViews->currentIndex()); });
    connect(m_ui->cmdSaveImage, &QPushButton::clicked, this, &StatisticsWindow::saveImage);
    connect(m_ui->cmdClose, &QPushButton::clicked, this, &QWidget::close);
    count();
}

StatisticsWindow::~StatisticsWindow() = default;

void StatisticsWindow::addTab(StatisticsView::Kind kind)
{
    const QString suffix = controlSuffix(kind);
    auto *page = new QWidget(m_ui->tabViews);
    page->setObjectName(QStringLiteral("tab") + suffix);
    auto *layout = new QVBoxLayout(page);
    auto *splitter = new QSplitter(Qt::Horizontal, page);
    Tab tab;
    tab.kind = kind;
    tab.chart = new ChartView(splitter);
    tab.chart->setObjectName(QStringLiteral("pic") + suffix);
    tab.grid = new QTableView(splitter);
    tab.grid->setObjectName(QStringLiteral("dtgrd") + suffix);
    setupGrid(tab.grid);
    tab.model = new QStandardItemModel(tab.grid);
    tab.model->setHorizontalHeaderLabels(StatisticsViews::headers(kind));
    tab.grid->setModel(tab.model);
    splitter->addWidget(tab.chart);
    splitter->addWidget(tab.grid);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setChildrenCollapsible(false);
    tab.note = new QLabel(page);
    tab.note->setObjectName(QStringLiteral("lblNote") + suffix);
    tab.note->setWordWrap(true);
    tab.note->hide();
    layout->addWidget(splitter, 1);
    layout->addWidget(tab.note);
    m_ui->tabViews->addTab(page, StatisticsViews::title(kind));
    // The grid's own 导出… does what the button does.
    addExportMenu(tab.grid, [this, index = m_tabs.size()] { exportView(int(index)); });
    m_tabs << tab;
}

void StatisticsWindow::rangeEdited()
{
    // Leaving a picker after Enter finishes the same edit again: a range is counted, or
    // refused, once.
    const std::pair range{m_ui->dtpFrom->date(), m_ui->dtpTo->date()};
    if (range != m_edited)
        count();
}

void StatisticsWindow::count()
{
    const QDate from = m_ui->dtpFrom->date();
    const QDate to = m_ui->dtpTo->date();
    m_edited = {from, to};
    if (from > to) {
        m_context.prompter().message({tr(kBackToFront), hintTitle()});
        return;
    }
    m_from = from;
    m_to = to;
    for (Tab &tab : m_tabs)
        tab.view.reset();
    m_ui->lblStatus->setText(tr(kRange).arg(StatisticsViews::rangeText(m_from, m_to)));
    display(current());
}

bool StatisticsWindow::load(Tab &tab)
{
    if (tab.view)
        return true;
    m_ui->lblStatus->setText(tr(kCounting));
    m_ui->lblStatus->repaint();
    LoanStatistics statistics(m_context.database());
    {
        WaitCursor wait;
        tab.view = StatisticsViews::load(statistics, tab.kind, m_from, m_to);
    }
    m_ui->lblStatus->setText(tr(kRange).arg(StatisticsViews::rangeText(m_from, m_to)));
    if (!tab.view) {
        m_context.prompter().message({tr(kQueryFailed), hintTitle()});
        return false;
    }
    return true;
}

void StatisticsWindow::display(Tab &tab)
{
    if (!load(tab)) {
        tab.model->setRowCount(0);
        tab.chart->setChart(Chart());
        tab.note->hide();
        return;
    }
    const StatisticsView &view = *tab.view;
    tab.model->setRowCount(0);
    for (const QStringList &row : view.rows) {
        QList<QStandardItem *> items;
        for (qsizetype column = 0; column < row.size(); ++column) {
            auto *item = new QStandardItem(row.at(column));
            if (view.figures.value(column))
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            items << item;
        }
        tab.model->appendRow(items);
    }
    fitColumns(tab.grid);
    // The table as wide as its columns, up to a limit past which it scrolls; the chart takes
    // the rest.
    int wanted = tab.grid->verticalHeader()->sizeHint().width() + 2 * tab.grid->frameWidth()
                 + tab.grid->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < tab.model->columnCount(); ++column)
        wanted += tab.grid->columnWidth(column);
    tab.grid->setMinimumWidth(std::min(wanted, kWidestTable));
    tab.chart->setChart(statisticsChart(view));
    tab.note->setText(view.note);
    tab.note->setVisible(!view.note.isEmpty());
}

void StatisticsWindow::print()
{
    QList<StatisticsView> views;
    for (Tab &tab : m_tabs) {
        if (!load(tab))
            return;
        views << *tab.view;
    }
    // The sink tells a cancel from a failure to nobody, so neither gets a message here.
    const QString library = m_context.settings().libraryName();
    m_context.printer().print(statisticsDocument(library, m_from, m_to, views));
}

void StatisticsWindow::exportView(int index)
{
    Tab &tab = m_tabs[std::max(0, index)];
    if (!load(tab))
        return;
    std::optional<StatisticsView> whole = tab.view;
    // The window lists the first of the never-lent books; a weeding list wants every one.
    if (tab.kind == StatisticsView::Kind::NeverLent) {
        LoanStatistics statistics(m_context.database());
        WaitCursor wait;
        whole = StatisticsViews::load(statistics, tab.kind, m_from, m_to, -1);
    }
    if (!whole) {
        m_context.prompter().message({tr(kQueryFailed), hintTitle()});
        return;
    }
    exportRows(whole->headers, whole->rows, m_context.files(), m_context.prompter(),
               fileStem(tab) + QStringLiteral(".csv"));
}

void StatisticsWindow::saveImage()
{
    Tab &tab = current();
    if (!load(tab))
        return;
    QString path = m_context.files().saveFileName(
        tr(kImageCaption), fileStem(tab) + QStringLiteral(".png"), tr(kPngFilter));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        path += QStringLiteral(".png");
    // Through a work file: a failed write leaves whatever had the name before.
    QSaveFile file(path);
    const bool saved = file.open(QIODevice::WriteOnly)
                       && tab.chart->image(kImageSize).save(&file, "PNG") && file.commit();
    const QString shown = QDir::toNativeSeparators(path);
    m_context.prompter().message(
        {saved ? tr(kImageSaved).arg(shown) : tr(kImageFailed).arg(shown), hintTitle()});
}

QString StatisticsWindow::fileStem(const Tab &tab) const
{
    return QStringLiteral("%1-%2-%3")
        .arg(StatisticsViews::title(tab.kind), DateText::toText(m_from), DateText::toText(m_to));
}

StatisticsWindow::Tab &StatisticsWindow::current()
{
    return m_tabs[std::max(0, m_ui->tabViews->currentIndex())];
}

}  // namespace lendora
