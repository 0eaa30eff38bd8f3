#include "gui/labels/BookLabelsWindow.h"

#include "base/DateText.h"
#include "base/NumberList.h"
#include "core/catalogue/LabelBooks.h"
#include "gui/labels/SheetTexts.h"
#include "gui/widgets/DatePickerKeys.h"
#include "gui/widgets/FileChooser.h"
#include "gui/widgets/InputBox.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/Texts.h"
#include "gui/widgets/WindowContext.h"
#include "reports/Barcode.h"
#include "reports/LabelSheet.h"
#include "ui_BookLabelsWindow.h"

#include <QDir>

namespace lendora {

namespace {
const char *const kEnterRange =
    QT_TRANSLATE_NOOP("lendora::BookLabelsWindow", "请输入起止书籍编号!");
const char *const kNoneInRange =
    QT_TRANSLATE_NOOP("lendora::BookLabelsWindow", "书籍编号从 %1 到 %2 之间没有图书。");
const char *const kBadDays =
    QT_TRANSLATE_NOOP("lendora::BookLabelsWindow", "起始日期不能晚于结束日期!");
const char *const kNoneAdded =
    QT_TRANSLATE_NOOP("lendora::BookLabelsWindow", "%1 到 %2 之间没有登记的图书。");
const char *const kNonePicked = QT_TRANSLATE_NOOP(
    "lendora::BookLabelsWindow", "请先在书库管理窗口中选中图书,再点击其中的“打印条码…”。");
const char *const kEnterList =
    QT_TRANSLATE_NOOP("lendora::BookLabelsWindow", "请选择编号清单文件!");
const char *const kNotInLibrary =
    QT_TRANSLATE_NOOP("lendora::BookLabelsWindow", "这些书籍编号不在书库中:%1\n没有打印任何标签。");
const char *const kUnreadable =
    QT_TRANSLATE_NOOP("lendora::BookLabelsWindow", "数据库无法读取,没有打印任何标签。\n%1");
const char *const kPicked = QT_TRANSLATE_NOOP("lendora::BookLabelsWindow", "%1 本");
const char *const kListCaption = QT_TRANSLATE_NOOP("lendora::BookLabelsWindow", "编号清单文件");
const char *const kListFilter =
    QT_TRANSLATE_NOOP("lendora::BookLabelsWindow", "文本文件 (*.txt *.csv);;所有文件 (*)");
const char *const kTitle = QT_TRANSLATE_NOOP("lendora::BookLabelsWindow", "生成图书条码");
const char *const kPdfName = QT_TRANSLATE_NOOP("lendora::BookLabelsWindow", "图书条码-%1.pdf");

const QString kCustom = QStringLiteral("custom");
const QSize kStartSize(980, 600);
}  // namespace

BookLabelsWindow::BookLabelsWindow(WindowContext &context)
    : SheetWindow(context), m_ui(std::make_unique<Ui::BookLabelsWindow>())
{
    m_ui->setupUi(this);
    m_context.applyWindowStyle(this);
    resize(kStartSize);
    for (QLineEdit *box : {m_ui->txtFrom, m_ui->txtTo, m_ui->txtListFile})
        markInput(box);
    for (QDateEdit *day : {m_ui->dtpFrom, m_ui->dtpTo}) {
        markDatePicker(day);
        day->setDate(m_context.today());
    }
    for (const LabelStock &stock : LabelStock::labelStocks())
        m_ui->cboStock->addItem(stockName(stock.id), stock.id);
    m_ui->cboStock->addItem(stockName(kCustom), kCustom);
    setUpMeasures({m_ui->spnPageWidth, m_ui->spnPageHeight, m_ui->spnLabelWidth,
                   m_ui->spnLabelHeight, m_ui->spnLeft, m_ui->spnTop, m_ui->spnGapX, m_ui->spnGapY},
                  {m_ui->spnRows, m_ui->spnColumns});
    m_ui->optPicked->setEnabled(false);

    wireSheets({m_ui->cmdPreview, m_ui->cmdPrint, m_ui->cmdPdf, m_ui->cmdPrevPage,
                m_ui->cmdNextPage, m_ui->lblNote, m_ui->imgPreview, m_ui->lblPage});
    const LabelStock last =
        LabelStock::fromText(PrinterSettings::load(m_context.settings()).labelStock)
            .value_or(LabelStock::labelStocks().constFirst());
    showStock(last);

    connect(m_ui->cboStock, &QComboBox::currentIndexChanged, this, &BookLabelsWindow::stockChosen);
    for (QDoubleSpinBox *measure : findChildren<QDoubleSpinBox *>())
        connect(measure, &QDoubleSpinBox::valueChanged, this, &BookLabelsWindow::measuresChanged);
    for (QSpinBox *count : {m_ui->spnRows, m_ui->spnColumns})
        connect(count, &QSpinBox::valueChanged, this, &BookLabelsWindow::measuresChanged);
    connect(m_ui->spnSkip, &QSpinBox::valueChanged, this, &BookLabelsWindow::forgetPreview);
    for (QRadioButton *option : {m_ui->optRange, m_ui->optAdded, m_ui->optPicked, m_ui->optList})
        connect(option, &QRadioButton::toggled, this, &BookLabelsWindow::forgetPreview);
    for (QLineEdit *box : {m_ui->txtFrom, m_ui->txtTo, m_ui->txtListFile})
        connect(box, &QLineEdit::textChanged, this, &BookLabelsWindow::forgetPreview);
    for (QDateEdit *day : {m_ui->dtpFrom, m_ui->dtpTo})
        connect(day, &QDateEdit::dateChanged, this, &BookLabelsWindow::forgetPreview);
    connect(m_ui->cmdBrowse, &QPushButton::clicked, this, &BookLabelsWindow::browse);
    connect(m_ui->cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

BookLabelsWindow::~BookLabelsWindow() = default;

void BookLabelsWindow::pickBooks(const QStringList &ids)
{
    m_picked = ids;
    m_ui->lblPicked->setText(tr(kPicked).arg(ids.size()));
    m_ui->optPicked->setEnabled(!ids.isEmpty());
    if (!ids.isEmpty())
        m_ui->optPicked->setChecked(true);
    forgetPreview();
}

void BookLabelsWindow::showStock(const LabelStock &stock)
{
    const int index = m_ui->cboStock->findData(stock.id);
    m_ui->cboStock->setCurrentIndex(std::max(index, 0));
    showMeasures(stock);
    stockChosen();
}

void BookLabelsWindow::showMeasures(const LabelStock &stock)
{
    const QSignalBlocker blockRows(m_ui->spnRows);
    const QSignalBlocker blockColumns(m_ui->spnColumns);
    const struct {
        QDoubleSpinBox *box;
        qreal value;
    } measures[] = {
        {m_ui->spnPageWidth, stock.page.width()},   {m_ui->spnPageHeight, stock.page.height()},
        {m_ui->spnLabelWidth, stock.label.width()}, {m_ui->spnLabelHeight, stock.label.height()},
        {m_ui->spnLeft, stock.origin.x()},          {m_ui->spnTop, stock.origin.y()},
        {m_ui->spnGapX, stock.gap.width()},         {m_ui->spnGapY, stock.gap.height()},
    };
    for (const auto &measure : measures) {
        const QSignalBlocker block(measure.box);
        measure.box->setValue(measure.value);
    }
    m_ui->spnRows->setValue(stock.rows);
    m_ui->spnColumns->setValue(stock.columns);
}

void BookLabelsWindow::stockChosen()
{
    const bool custom = m_ui->cboStock->currentData().toString() == kCustom;
    // A stock of its own shows its measures, greyed; the custom sheet starts from them.
    if (!custom) {
        if (const std::optional<LabelStock> stock = chosenStock())
            showMeasures(*stock);
    }
    m_ui->fraCustom->setEnabled(custom);
    measuresChanged();
}

void BookLabelsWindow::measuresChanged()
{
    const std::optional<LabelStock> stock = chosenStock();
    // A roll has no used labels to skip; a sheet at most all but its last.
    const bool sheet = stock && !stock->roll;
    m_ui->spnSkip->setMaximum(sheet ? std::max(stock->perPage() - 1, 0) : 0);
    m_ui->spnSkip->setEnabled(sheet);
    forgetPreview();
}

std::optional<LabelStock> BookLabelsWindow::chosenStock() const
{
    const QString id = m_ui->cboStock->currentData().toString();
    if (id != kCustom)
        return LabelStock::find(LabelStock::labelStocks(), id);
    return LabelStock::custom({m_ui->spnPageWidth->value(), m_ui->spnPageHeight->value()},
                              m_ui->spnRows->value(), m_ui->spnColumns->value(),
                              {m_ui->spnLabelWidth->value(), m_ui->spnLabelHeight->value()},
                              {m_ui->spnLeft->value(), m_ui->spnTop->value()},
                              {m_ui->spnGapX->value(), m_ui->spnGapY->value()});
}

void BookLabelsWindow::browse()
{
    const QString path = m_context.files().openFileName(tr(kListCaption), tr(kListFilter));
    if (path.isEmpty())
        return;
    m_ui->txtListFile->setText(QDir::toNativeSeparators(path));
    m_ui->optList->setChecked(true);
}

std::optional<QList<LabelBook>> BookLabelsWindow::books()
{
    const auto tell = [this](const QString &text) {
        m_context.prompter().message({text, hintTitle()});
        return std::nullopt;
    };
    LabelBooks store(m_context.database());
    std::optional<QList<LabelBook>> found;
    QStringList missing;
    if (m_ui->optRange->isChecked()) {
        const QString from = m_ui->txtFrom->text();
        const QString to = m_ui->txtTo->text();
        if (from.isEmpty() || to.isEmpty())
            return tell(tr(kEnterRange));
        found = store.range(from, to);
        if (found && found->isEmpty())
            return tell(tr(kNoneInRange).arg(from, to));
    } else if (m_ui->optAdded->isChecked()) {
        const QDate first = m_ui->dtpFrom->date();
        const QDate last = m_ui->dtpTo->date();
        if (first > last)
            return tell(tr(kBadDays));
        found = store.added(first, last);
        if (found && found->isEmpty())
            return tell(tr(kNoneAdded).arg(DateText::toText(first), DateText::toText(last)));
    } else if (m_ui->optPicked->isChecked()) {
        if (m_picked.isEmpty())
            return tell(tr(kNonePicked));
        found = store.listed(m_picked, &missing);
    } else {
        const QString path = QDir::fromNativeSeparators(m_ui->txtListFile->text().trimmed());
        if (path.isEmpty())
            return tell(tr(kEnterList));
        QString problem;
        const std::optional<QStringList> ids = readNumberList(path, &problem);
        if (!ids)
            return tell(problem);
        found = store.listed(*ids, &missing);
    }
    if (!found)
        return tell(tr(kUnreadable).arg(store.lastError().text));
    if (!missing.isEmpty())
        return tell(tr(kNotInLibrary).arg(numbersSaid(missing)));
    return found;
}

std::optional<SheetOrder> BookLabelsWindow::order()
{
    const std::optional<LabelStock> stock = chosenStock();
    if (!stock)
        return std::nullopt;
    if (const QString problem = stock->problem(); !problem.isEmpty()) {
        m_context.prompter().message({problem, hintTitle()});
        return std::nullopt;
    }
    const std::optional<QList<LabelBook>> chosen = books();
    if (!chosen)
        return std::nullopt;
    const QList<LabelBook> list = *chosen;
    const QString library = m_context.settings().libraryName();
    const int skip = stock->roll ? 0 : m_ui->spnSkip->value();
    SheetOrder sheets;
    sheets.title = tr(kTitle);
    sheets.stock = *stock;
    sheets.count = int(list.size());
    sheets.qrCodes = int(std::count_if(list.cbegin(), list.cend(), [](const LabelBook &book) {
        return Barcode::kindFor(book.id) == Barcode::Kind::QrCode;
    }));
    sheets.make = [list, library, stock = *stock, skip](JobControl &job, QString *error) {
        return LabelSheet::bookLabels(list, library, stock, skip, &job, error);
    };
    return sheets;
}

QString BookLabelsWindow::pdfName() const
{
    return tr(kPdfName).arg(DateText::toText(m_context.today()));
}

void BookLabelsWindow::stockUsed(const LabelStock &stock)
{
    const PrinterSettings before = PrinterSettings::load(m_context.settings());
    PrinterSettings after = before;
    after.labelStock = stock.toText();
    // Remembering is a convenience: a settings file that refuses costs the clerk nothing.
    after.save(m_context.settings(), before);
}

PrinterKind BookLabelsWindow::paperOf(const LabelStock &stock) const
{
    return stock.roll ? PrinterKind::Label : PrinterKind::Page;
}

}  // namespace lendora
