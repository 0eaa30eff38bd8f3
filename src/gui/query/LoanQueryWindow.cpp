#include "gui/query/LoanQueryWindow.h"

#include "base/DateText.h"
#include "core/query/LoanCriteria.h"
#include "data/GridModel.h"
#include "data/GridSource.h"
#include "data/SharedDatabase.h"
#include "gui/widgets/BoundColumns.h"
#include "gui/widgets/ColumnFit.h"
#include "gui/widgets/FixedOuterSize.h"
#include "gui/widgets/GridExport.h"
#include "gui/widgets/GridLook.h"
#include "gui/widgets/InputBox.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/QueryLayout.h"
#include "gui/widgets/Texts.h"
#include "gui/widgets/WindowContext.h"
#include "ui_LoanQueryWindow.h"

#include <QAction>
#include <QHeaderView>

namespace lendora {

namespace {
const char *const kResults = QT_TRANSLATE_NOOP("lendora::LoanQueryWindow", "查询结果如下!!");
const char *const kQueryFailed =
    QT_TRANSLATE_NOOP("lendora::LoanQueryWindow", "查询失败,数据库无法读取!");
const int kRowsMeasured = 30;
// The file name the export suggests, with the day it is made.
const char *const kExportName = QT_TRANSLATE_NOOP("lendora::LoanQueryWindow", "借阅查询-%1.csv");

// The grid's column keys; the query also returns 超出天数 and 罚款金额, which it does not show.
const QStringList kColumns = {
    QStringLiteral("读者编号"), QStringLiteral("读者姓名"), QStringLiteral("书籍编号"),
    QStringLiteral("书籍名称"), QStringLiteral("书籍类别"), QStringLiteral("书籍页码"),
    QStringLiteral("出版社"),   QStringLiteral("借书日期"), QStringLiteral("还书日期"),
};
}  // namespace

LoanQueryWindow::LoanQueryWindow(WindowContext &context)
    : m_context(context), m_ui(std::make_unique<Ui::LoanQueryWindow>()),
      m_source(new GridSource(m_context.database(), QStringLiteral("FrmLendQuery"), this))
{
    m_context.applyWindowStyle(this);
    m_ui->setupUi(this);

    for (QLineEdit *box :
         {m_ui->txtReaderID, m_ui->txtBookID, m_ui->txtReaderName, m_ui->txtBookName})
        markInput(box);
    setupGrid(m_ui->dtgrdLendBook);
    // Columns fit the first screenful of rows: measuring all 256 rows of the first fetch
    // took ten times longer than the search itself.
    m_ui->dtgrdLendBook->horizontalHeader()->setResizeContentsPrecision(kRowsMeasured);
    m_ui->dtgrdLendBook->setModel(new BoundColumns(kColumns, m_source->model(), this));
    fitHeadings(m_ui->dtgrdLendBook);
    QueryLayout::hold(this, m_ui->criteriaArea, m_ui->lblResult, m_ui->dtgrdLendBook, twips(360),
                      twips(3645));

    connect(m_ui->cmdFind, &QPushButton::clicked, this, &LoanQueryWindow::find);
    // Enter in a criteria box searches, as 开始查找 does.
    for (QLineEdit *box :
         {m_ui->txtReaderID, m_ui->txtBookID, m_ui->txtReaderName, m_ui->txtBookName})
        connect(box, &QLineEdit::returnPressed, this, &LoanQueryWindow::find);
    connect(m_ui->cmdClear, &QPushButton::clicked, this, &LoanQueryWindow::clear);
    connect(m_ui->cmdClose, &QPushButton::clicked, this, &QWidget::close);
    const auto exportName = [this] {
        return tr(kExportName).arg(DateText::toText(m_context.today()));
    };
    QAction *exportAction = addExportMenu(m_ui->dtgrdLendBook, m_context, exportName);
    connect(m_ui->cmdExport, &QPushButton::clicked, exportAction, &QAction::trigger);
}

LoanQueryWindow::~LoanQueryWindow() = default;

void LoanQueryWindow::find()
{
    LoanCriteria criteria;
    criteria.bookId = m_ui->txtBookID->text();
    criteria.title = m_ui->txtBookName->text();
    criteria.readerId = m_ui->txtReaderID->text();
    criteria.readerName = m_ui->txtReaderName->text();
    criteria.partial = m_ui->chkMoHu->isChecked();
    const BoundQuery query =
        criteria.query(*m_context.database().dialect(), m_context.database().db());

    // The grid changes only once the clerk has closed the message.
    m_context.prompter().message({tr(kResults), hintTitle()});
    if (!m_source->run(query.sql, query.values, query.countSql, query.countValues))
        m_context.prompter().message({tr(kQueryFailed), hintTitle()});
    fitColumns(m_ui->dtgrdLendBook);
}

void LoanQueryWindow::clear()
{
    // The tick box and the grid stay as they are.
    m_ui->txtBookID->clear();
    m_ui->txtBookName->clear();
    m_ui->txtReaderID->clear();
    m_ui->txtReaderName->clear();
}

}  // namespace lendora
