#include "gui/labels/ReaderCardsWindow.h"

#include "base/DateText.h"
#include "base/NumberList.h"
#include "core/readers/CardReaders.h"
#include "gui/labels/SheetTexts.h"
#include "gui/widgets/FileChooser.h"
#include "gui/widgets/InputBox.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/Texts.h"
#include "gui/widgets/WindowContext.h"
#include "reports/Barcode.h"
#include "reports/LabelSheet.h"
#include "ui_ReaderCardsWindow.h"

#include <QDir>

namespace lendora {

namespace {
const char *const kEnterRange =
    QT_TRANSLATE_NOOP("lendora::ReaderCardsWindow", "请输入起止读者编号!");
const char *const kNoneInRange =
    QT_TRANSLATE_NOOP("lendora::ReaderCardsWindow", "读者编号从 %1 到 %2 之间没有读者。");
const char *const kEnterNumber = QT_TRANSLATE_NOOP("lendora::ReaderCardsWindow", "请输入读者编号!");
const char *const kEnterList =
    QT_TRANSLATE_NOOP("lendora::ReaderCardsWindow", "请选择编号清单文件!");
const char *const kNotInLibrary = QT_TRANSLATE_NOOP(
    "lendora::ReaderCardsWindow", "这些读者编号没有读者:%1\n没有打印任何读者证。");
const char *const kUnreadable =
    QT_TRANSLATE_NOOP("lendora::ReaderCardsWindow", "数据库无法读取,没有打印任何读者证。\n%1");
const char *const kListCaption = QT_TRANSLATE_NOOP("lendora::ReaderCardsWindow", "编号清单文件");
const char *const kListFilter =
    QT_TRANSLATE_NOOP("lendora::ReaderCardsWindow", "文本文件 (*.txt *.csv);;所有文件 (*)");
const char *const kTitle = QT_TRANSLATE_NOOP("lendora::ReaderCardsWindow", "生成读者证");
const char *const kPdfName = QT_TRANSLATE_NOOP("lendora::ReaderCardsWindow", "读者证-%1.pdf");

const QString kSheet = QStringLiteral("a4-2x5");
const QSize kStartSize(980, 560);
}  // namespace

ReaderCardsWindow::ReaderCardsWindow(WindowContext &context)
    : SheetWindow(context), m_ui(std::make_unique<Ui::ReaderCardsWindow>())
{
    m_ui->setupUi(this);
    m_context.applyWindowStyle(this);
    resize(kStartSize);
    for (QLineEdit *box : {m_ui->txtFrom, m_ui->txtTo, m_ui->txtReaderNo, m_ui->txtListFile})
        markInput(box);
    for (const LabelStock &stock : LabelStock::cardStocks())
        m_ui->cboStock->addItem(stockName(stock.id), stock.id);
    m_ui->cboStock->setCurrentIndex(m_ui->cboStock->findData(kSheet));

    wireSheets({m_ui->cmdPreview, m_ui->cmdPrint, m_ui->cmdPdf, m_ui->cmdPrevPage,
                m_ui->cmdNextPage, m_ui->lblNote, m_ui->imgPreview, m_ui->lblPage});
    connect(m_ui->cboStock, &QComboBox::currentIndexChanged, this,
            &ReaderCardsWindow::forgetPreview);
    for (QRadioButton *option : {m_ui->optRange, m_ui->optReader, m_ui->optList})
        connect(option, &QRadioButton::toggled, this, &ReaderCardsWindow::forgetPreview);
    for (QLineEdit *box : {m_ui->txtFrom, m_ui->txtTo, m_ui->txtReaderNo, m_ui->txtListFile})
        connect(box, &QLineEdit::textChanged, this, &ReaderCardsWindow::forgetPreview);
    connect(m_ui->cmdBrowse, &QPushButton::clicked, this, &ReaderCardsWindow::browse);
    connect(m_ui->cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

ReaderCardsWindow::~ReaderCardsWindow() = default;

void ReaderCardsWindow::chooseReader(const QString &number)
{
    m_ui->txtReaderNo->setText(number);
    m_ui->optReader->setChecked(true);
}

void ReaderCardsWindow::browse()
{
    const QString path = m_context.files().openFileName(tr(kListCaption), tr(kListFilter));
    if (path.isEmpty())
        return;
    m_ui->txtListFile->setText(QDir::toNativeSeparators(path));
    m_ui->optList->setChecked(true);
}

std::optional<QList<CardReader>> ReaderCardsWindow::readers()
{
    const auto tell = [this](const QString &text) {
        m_context.prompter().message({text, hintTitle()});
        return std::nullopt;
    };
    CardReaders store(m_context.database());
    std::optional<QList<CardReader>> found;
    QStringList missing;
    if (m_ui->optRange->isChecked()) {
        const QString from = m_ui->txtFrom->text();
        const QString to = m_ui->txtTo->text();
        if (from.isEmpty() || to.isEmpty())
            return tell(tr(kEnterRange));
        found = store.range(from, to);
        if (found && found->isEmpty())
            return tell(tr(kNoneInRange).arg(from, to));
    } else if (m_ui->optReader->isChecked()) {
        const QString number = m_ui->txtReaderNo->text();
        if (number.isEmpty())
            return tell(tr(kEnterNumber));
        found = store.listed({number}, &missing);
    } else {
        const QString path = QDir::fromNativeSeparators(m_ui->txtListFile->text().trimmed());
        if (path.isEmpty())
            return tell(tr(kEnterList));
        QString problem;
        const std::optional<QStringList> numbers = readNumberList(path, &problem);
        if (!numbers)
            return tell(problem);
        found = store.listed(*numbers, &missing);
    }
    if (!found)
        return tell(tr(kUnreadable).arg(store.lastError().text));
    if (!missing.isEmpty())
        return tell(tr(kNotInLibrary).arg(numbersSaid(missing)));
    return found;
}

std::optional<SheetOrder> ReaderCardsWindow::order()
{
    const std::optional<LabelStock> stock =
        LabelStock::find(LabelStock::cardStocks(), m_ui->cboStock->currentData().toString());
    if (!stock)
        return std::nullopt;
    const std::optional<QList<CardReader>> chosen = readers();
    if (!chosen)
        return std::nullopt;
    const QList<CardReader> list = *chosen;
    const QString library = m_context.settings().libraryName();
    SheetOrder sheets;
    sheets.title = tr(kTitle);
    sheets.stock = *stock;
    sheets.count = int(list.size());
    sheets.qrCodes = int(std::count_if(list.cbegin(), list.cend(), [](const CardReader &reader) {
        return Barcode::kindFor(reader.number) == Barcode::Kind::QrCode;
    }));
    sheets.make = [list, library, stock = *stock](JobControl &job, QString *error) {
        return LabelSheet::readerCards(list, library, stock, &job, error);
    };
    return sheets;
}

QString ReaderCardsWindow::pdfName() const
{
    return tr(kPdfName).arg(DateText::toText(m_context.today()));
}

PrinterKind ReaderCardsWindow::paperOf(const LabelStock &stock) const
{
    return stock.roll ? PrinterKind::Card : PrinterKind::Page;
}

}  // namespace lendora
