#include "gui/query/BookQueryWindow.h"

#include "base/DateText.h"
#include "core/catalogue/CategoryStore.h"
#include "core/query/BookCriteria.h"
#include "data/GridModel.h"
#include "data/GridSource.h"
#include "data/SharedDatabase.h"
#include "gui/catalogue/PickLists.h"
#include "gui/widgets/BoundColumns.h"
#include "gui/widgets/ColumnFit.h"
#include "gui/widgets/DatePickerKeys.h"
#include "gui/widgets/FixedOuterSize.h"
#include "gui/widgets/GridExport.h"
#include "gui/widgets/GridLook.h"
#include "gui/widgets/InputBox.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/QueryLayout.h"
#include "gui/widgets/Texts.h"
#include "gui/widgets/WindowContext.h"
#include "gui/widgets/YesNoColumn.h"
#include "ui_BookQueryWindow.h"

#include <QAction>
#include <QHeaderView>

namespace lendora {

namespace {
const char *const kResults = QT_TRANSLATE_NOOP("lendora::BookQueryWindow", "查询结果如下!!");
const char *const kQueryFailed =
    QT_TRANSLATE_NOOP("lendora::BookQueryWindow", "查询失败,数据库无法读取!");
const int kRowsMeasured = 30;
// The file name the export suggests, with the day it is made.
const char *const kExportName = QT_TRANSLATE_NOOP("lendora::BookQueryWindow", "图书查询-%1.csv");

// The grid's column keys.
const QStringList kColumns = {
    QStringLiteral("书籍编号"), QStringLiteral("书籍名称"), QStringLiteral("类别代码"),
    QStringLiteral("出版社"),   QStringLiteral("作者姓名"), QStringLiteral("书籍价格"),
    QStringLiteral("书籍页码"), QStringLiteral("登记日期"), QStringLiteral("是否借出"),
};
}  // namespace

BookQueryWindow::BookQueryWindow(WindowContext &context)
    : m_context(context), m_ui(std::make_unique<Ui::BookQueryWindow>()),
      m_source(new GridSource(m_context.database(), QStringLiteral("FrmBookQuery"), this))
{
    m_context.applyWindowStyle(this);
    m_ui->setupUi(this);
    m_ui->dtpRigDate->setDate(m_context.today());
    markDatePicker(m_ui->dtpRigDate);

    for (QLineEdit *box : {m_ui->txtBookID, m_ui->txtBookName, m_ui->txtBookConcern})
        markInput(box);
    markInput(m_ui->cboType->lineEdit());
    CategoryPickList::fill(m_ui->cboType, CategoryStore(m_context.database()).all());
    PublisherPickList::attach(m_ui->txtBookConcern, m_ui->Combo1);

    setupGrid(m_ui->DataGrid1);
    // Columns fit the first screenful of rows: measuring all 256 rows of the first fetch
    // took ten times longer than the search itself.
    m_ui->DataGrid1->horizontalHeader()->setResizeContentsPrecision(kRowsMeasured);
    m_ui->DataGrid1->setModel(
        new YesNoColumn(static_cast<int>(kColumns.indexOf(QStringLiteral("是否借出"))),
                        new BoundColumns(kColumns, m_source->model(), this), this));
    fitHeadings(m_ui->DataGrid1);
    QueryLayout::hold(this, m_ui->criteriaArea, m_ui->lblResult, m_ui->DataGrid1, twips(360),
                      twips(3435));

    connect(m_ui->chkRigDate, &QCheckBox::toggled, m_ui->dtpRigDate, &QWidget::setEnabled);
    connect(m_ui->cmdFind, &QPushButton::clicked, this, &BookQueryWindow::find);
    // Enter in a criteria box searches, as 开始查找 does.
    for (QLineEdit *box :
         {m_ui->txtBookID, m_ui->txtBookName, m_ui->cboType->lineEdit(), m_ui->txtBookConcern})
        connect(box, &QLineEdit::returnPressed, this, &BookQueryWindow::find);
    connect(m_ui->cmdClear, &QPushButton::clicked, this, &BookQueryWindow::clear);
    connect(m_ui->cmdClose, &QPushButton::clicked, this, &QWidget::close);
    const auto exportName = [this] {
        return tr(kExportName).arg(DateText::toText(m_context.today()));
    };
    QAction *exportAction = addExportMenu(m_ui->DataGrid1, m_context, exportName);
    connect(m_ui->cmdExport, &QPushButton::clicked, exportAction, &QAction::trigger);
}

BookQueryWindow::~BookQueryWindow() = default;

void BookQueryWindow::find()
{
    BookCriteria criteria;
    criteria.bookId = m_ui->txtBookID->text();
    criteria.title = m_ui->txtBookName->text();
    criteria.category = m_ui->cboType->currentText();
    criteria.publisher = m_ui->txtBookConcern->text();
    if (m_ui->chkRigDate->isChecked())
        criteria.entered = m_ui->dtpRigDate->date();
    criteria.partial = m_ui->chkMoHu->isChecked();
    const BoundQuery query = criteria.query(*m_context.database().dialect());

    // The grid changes only once the clerk has closed the message.
    m_context.prompter().message({tr(kResults), hintTitle()});
    if (!m_source->run(query.sql, query.values))
        m_context.prompter().message({tr(kQueryFailed), hintTitle()});
    fitColumns(m_ui->DataGrid1);
}

void BookQueryWindow::clear()
{
    // The tick boxes, the date and the grid stay as they are.
    m_ui->txtBookID->clear();
    m_ui->txtBookName->clear();
    m_ui->cboType->setCurrentIndex(-1);
    m_ui->cboType->setEditText(QString());
    m_ui->txtBookConcern->clear();
}

}  // namespace lendora
