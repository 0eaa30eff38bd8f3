#include "gui/catalogue/CategoryWindow.h"

#include "core/catalogue/CategoryStore.h"
#include "data/GridSource.h"
#include "data/SharedDatabase.h"
#include "gui/widgets/ColumnFit.h"
#include "gui/widgets/FixedOuterSize.h"
#include "gui/widgets/GridLook.h"
#include "gui/widgets/InputBox.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/Texts.h"
#include "gui/widgets/WindowContext.h"
#include "ui_CategoryWindow.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSqlTableModel>

namespace lendora {

namespace {
const char *const kSaved = QT_TRANSLATE_NOOP("lendora::CategoryWindow", "保存完毕!");
const char *const kDeleted = QT_TRANSLATE_NOOP("lendora::CategoryWindow", "删除完毕!");
const char *const kAskDelete =
    QT_TRANSLATE_NOOP("lendora::CategoryWindow", "是否真的要删除类别代码为%1的类别信息?");
const char *const kNoCode = QT_TRANSLATE_NOOP("lendora::CategoryWindow", "请输入类别代码!");
const char *const kDuplicate =
    QT_TRANSLATE_NOOP("lendora::CategoryWindow", "类别代码已存在,不能重复添加!");
const char *const kBadDays = QT_TRANSLATE_NOOP("lendora::CategoryWindow", "借出天数必须是整数!");
const char *const kMissing =
    QT_TRANSLATE_NOOP("lendora::CategoryWindow", "该类别已不存在,无法保存!");
const char *const kSaveFailed =
    QT_TRANSLATE_NOOP("lendora::CategoryWindow", "数据库拒绝了这次写入,类别未保存!");
const char *const kDeleteFailed =
    QT_TRANSLATE_NOOP("lendora::CategoryWindow", "数据库拒绝了这次删除,类别未删除!");
const char *const kLongCode = QT_TRANSLATE_NOOP(
    "lendora::CategoryWindow",
    "类别代码“%1”不是一个字符!\n图书窗口只取类别的第一个字符作为代码,请改用一个字符的代码。");

const QSize kOuterSize(twips(7710), twips(4530));
const int kColumnWidths[] = {60, 100, 60};
}  // namespace

CategoryWindow::CategoryWindow(WindowContext &context)
    : m_context(context), m_ui(std::make_unique<Ui::CategoryWindow>())
{
    m_ui->setupUi(this);
    FixedOuterSize::holdWindow(this, kOuterSize);

    markInput(m_ui->txtTypeID);
    markInput(m_ui->txtTypeName);
    markInput(m_ui->txtDay);
    setupGrid(m_ui->DataGrid1);

    // The grid reads through its own connection. Add appends an empty row to the model's
    // cache only: the model is never submitted (and the connection is read-only), Save
    // stores through the category store, and Save and Cancel drop the cached row.
    m_source = new GridSource(m_context.database(), QStringLiteral("FrmSetBook"), this);
    m_model = new QSqlTableModel(this, m_source->connection());
    m_model->setEditStrategy(QSqlTableModel::OnManualSubmit);
    m_model->setTable(m_context.database().dialect()->tableName(QStringLiteral("bookType")));
    m_ui->DataGrid1->setModel(m_model);
    connect(m_ui->DataGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { showRow(current.row()); });

    connect(m_ui->cmdAdd, &QPushButton::clicked, this, &CategoryWindow::add);
    connect(m_ui->cmdModify, &QPushButton::clicked, this, &CategoryWindow::modify);
    connect(m_ui->cmdDel, &QPushButton::clicked, this, &CategoryWindow::remove);
    connect(m_ui->cmdSave, &QPushButton::clicked, this, &CategoryWindow::save);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &CategoryWindow::cancel);
    connect(m_ui->cmdClose, &QPushButton::clicked, this, &QWidget::close);

    load();
}

CategoryWindow::~CategoryWindow()
{
    // The model's query lives on the grid's connection, which goes with the grid source.
    m_ui->DataGrid1->setModel(nullptr);
    delete m_model;
}

void CategoryWindow::load()
{
    setMode(NoEdit);
    m_context.applyWindowStyle(this);
    requery(QString());
}

void CategoryWindow::requery(const QString &code)
{
    m_model->revertAll();
    m_model->select();
    headColumns(m_model);
    while (m_model->canFetchMore())
        m_model->fetchMore();
    for (int column = 0; column < 3 && column < m_model->columnCount(); ++column)
        m_ui->DataGrid1->setColumnWidth(
            column, headingRoom(m_ui->DataGrid1, column, kColumnWidths[column]));
    int row = 0;
    for (int r = 0; r < m_model->rowCount(); ++r) {
        if (!code.isNull() && codeAt(r) == code) {
            row = r;
            break;
        }
    }
    if (m_model->rowCount() == 0) {
        showRow(-1);
        return;
    }
    m_ui->DataGrid1->setCurrentIndex(m_model->index(row, 0));
    m_ui->DataGrid1->scrollTo(m_model->index(row, 0));
    showRow(row);
}

void CategoryWindow::showRow(int row)
{
    const auto cell = [&](int column) {
        if (row < 0 || row >= m_model->rowCount())
            return QString();
        const QVariant value = m_model->data(m_model->index(row, column));
        return value.isNull() ? QString() : value.toString();
    };
    m_ui->txtTypeID->setText(cell(0));
    m_ui->txtTypeName->setText(cell(1));
    m_ui->txtDay->setText(cell(2));
}

int CategoryWindow::currentRow() const
{
    const QModelIndex current = m_ui->DataGrid1->currentIndex();
    return current.isValid() ? current.row() : -1;
}

QString CategoryWindow::codeAt(int row) const
{
    return m_model->data(m_model->index(row, 0)).toString();
}

void CategoryWindow::setMode(EditMode mode)
{
    m_mode = mode;
    const bool idle = mode == NoEdit;
    m_ui->cmdAdd->setEnabled(idle);
    m_ui->cmdModify->setEnabled(idle);
    m_ui->cmdDel->setEnabled(idle);
    m_ui->cmdClose->setEnabled(idle);
    m_ui->cmdSave->setEnabled(!idle);
    m_ui->cmdCancel->setEnabled(!idle);
    m_ui->txtTypeID->setEnabled(mode != Modifying);
}

void CategoryWindow::add()
{
    const int row = currentRow();
    m_codeBeforeEdit = row >= 0 ? codeAt(row) : QString();
    const int appended = m_model->rowCount();
    if (!m_model->insertRow(appended))
        return;
    m_ui->DataGrid1->setCurrentIndex(m_model->index(appended, 0));
    m_ui->DataGrid1->scrollTo(m_model->index(appended, 0));
    showRow(appended);
    setMode(Adding);
    m_ui->txtTypeID->setFocus();
}

void CategoryWindow::modify()
{
    // An empty table has nothing to modify, but the edit opens all the same; its save then
    // finds no category and says so.
    const int row = currentRow();
    m_codeBeforeEdit = row < 0 ? QString() : codeAt(row);
    setMode(Modifying);
    m_ui->txtTypeName->setFocus();
}

void CategoryWindow::save()
{
    const QString code = m_ui->txtTypeID->text();
    CategoryStore store(m_context.database());
    const CategoryStore::Result result =
        m_mode == Adding ? store.add(code, m_ui->txtTypeName->text(), m_ui->txtDay->text())
                         : store.modify(code, m_ui->txtTypeName->text(), m_ui->txtDay->text());
    switch (result) {
    case CategoryStore::Result::Done:
        break;
    case CategoryStore::Result::NoCode:
        m_context.prompter().message({tr(kNoCode), hintTitle()});
        m_ui->txtTypeID->setFocus();
        return;
    case CategoryStore::Result::LongCode:
        // The box keeps what was typed: the clerk sees what to shorten.
        m_context.prompter().message({tr(kLongCode).arg(code), hintTitle()});
        m_ui->txtTypeID->setFocus();
        return;
    case CategoryStore::Result::BadLoanDays:
        m_context.prompter().message({tr(kBadDays), hintTitle()});
        return;
    case CategoryStore::Result::Duplicate:
        m_context.prompter().message({tr(kDuplicate), hintTitle()});
        return;
    case CategoryStore::Result::Missing:
        m_context.prompter().message({tr(kMissing), hintTitle()});
        return;
    case CategoryStore::Result::Failed:
        m_context.prompter().message({withCause(tr(kSaveFailed), store.lastError()), hintTitle()});
        return;
    }
    requery(code);
    m_context.prompter().message({tr(kSaved), hintTitle()});
    setMode(NoEdit);
}

void CategoryWindow::cancel()
{
    requery(m_codeBeforeEdit);
    setMode(NoEdit);
}

void CategoryWindow::remove()
{
    const int row = currentRow();
    if (row < 0)
        return;  // an empty table: nothing to delete
    const QString code = codeAt(row);
    if (m_context.prompter().confirm({tr(kAskDelete).arg(code), hintTitle(), Buttons::OkCancel})) {
        CategoryStore store(m_context.database());
        if (store.remove(code)) {
            requery(QString());
            m_context.prompter().message({tr(kDeleted), hintTitle()});
        } else {
            m_context.prompter().message(
                {withCause(tr(kDeleteFailed), store.lastError()), hintTitle()});
        }
    }
    load();
}

}  // namespace lendora
