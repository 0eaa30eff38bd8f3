#include "gui/settings/BasicSettingsWindow.h"

#include "base/NumberText.h"
#include "core/settings/LibraryRules.h"
#include "core/settings/PaperSettings.h"
#include "gui/widgets/ColumnFit.h"
#include "gui/widgets/FixedOuterSize.h"
#include "gui/widgets/InputBox.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/Texts.h"
#include "gui/widgets/WindowContext.h"
#include "reports/PrintSink.h"
#include "ui_BasicSettingsWindow.h"

#include <QGuiApplication>
#include <QScreen>

namespace lendora {

namespace {
const char *const kSaved = QT_TRANSLATE_NOOP("lendora::BasicSettingsWindow", "设置完毕!");
const char *const kBadValue =
    QT_TRANSLATE_NOOP("lendora::BasicSettingsWindow", "输入的数值不正确,设置未保存!");
const char *const kSaveFailed =
    QT_TRANSLATE_NOOP("lendora::BasicSettingsWindow", "数据库拒绝了这次写入,设置未保存!");
const char *const kReadFailed =
    QT_TRANSLATE_NOOP("lendora::BasicSettingsWindow", "无法读取基本设置,数据库操作失败。\n%1");

const char *const kPaperNotSaved = QT_TRANSLATE_NOOP(
    "lendora::BasicSettingsWindow", "设置文件 setting.ini 无法写入,打印设置未保存!");
const char *const kRoll = QT_TRANSLATE_NOOP("lendora::BasicSettingsWindow", "80毫米卷纸");
const char *const kA5 = QT_TRANSLATE_NOOP("lendora::BasicSettingsWindow", "A5");
const char *const kAsk = QT_TRANSLATE_NOOP("lendora::BasicSettingsWindow", "(每次询问)");
const char *const kMissing = QT_TRANSLATE_NOOP("lendora::BasicSettingsWindow", "%1(现在找不到)");

const QSize kOuterSize(twips(5790), twips(4965));

QString shown(const QVariant &value, bool whole)
{
    if (value.isNull())
        return {};
    return whole ? NumberText::fromInt(value.toLongLong())
                 : NumberText::fromDouble(value.toDouble());
}
}  // namespace

BasicSettingsWindow::BasicSettingsWindow(WindowContext &context)
    : m_context(context), m_ui(std::make_unique<Ui::BasicSettingsWindow>())
{
    m_ui->setupUi(this);
    m_context.applyWindowStyle(this);
    FixedOuterSize::holdWindow(this, kOuterSize);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    markInput(m_ui->txtBook);
    markInput(m_ui->txtFakuan);
    LibraryRules rulesRow(m_context.database());
    if (const std::optional<Rules> rules = rulesRow.read()) {
        m_ui->txtBook->setText(shown(rules->storedLimit, true));
        m_ui->txtFakuan->setText(shown(rules->storedFine, false));
    } else {
        m_context.prompter().message({tr(kReadFailed).arg(rulesRow.lastError().text), hintTitle()});
    }

    // The library's name is printed, never stored in the database: the GBK limit of the
    // other boxes does not apply, a line of a receipt does.
    markInput(m_ui->txtLibraryName);
    m_ui->txtLibraryName->setMaxLength(kMaxLibraryName);
    m_ui->cboPaper->addItem(tr(kRoll), int(PaperSettings::ReceiptPaper::Roll80mm));
    m_ui->cboPaper->addItem(tr(kA5), int(PaperSettings::ReceiptPaper::A5));
    m_paper = PaperSettings::load(m_context.settings());
    m_ui->txtLibraryName->setText(m_paper.libraryName);
    m_ui->cboPaper->setCurrentIndex(m_ui->cboPaper->findData(int(m_paper.receiptPaper)));
    m_ui->chkLendReceipt->setChecked(m_paper.receiptAfterLend);
    m_ui->chkReturnReceipt->setChecked(m_paper.receiptAfterReturn);
    m_printers = PrinterSettings::load(m_context.settings());
    showPrinters();

    connect(m_ui->cmdSave, &QPushButton::clicked, this, &BasicSettingsWindow::save);
    connect(m_ui->Command2, &QPushButton::clicked, this, &QWidget::close);
}

BasicSettingsWindow::~BasicSettingsWindow() = default;

QList<QPair<PrinterKind, QComboBox *>> BasicSettingsWindow::printerLists() const
{
    return {{PrinterKind::Receipt, m_ui->cboReceiptPrinter},
            {PrinterKind::Label, m_ui->cboLabelPrinter},
            {PrinterKind::Card, m_ui->cboCardPrinter},
            {PrinterKind::Page, m_ui->cboPagePrinter}};
}

void BasicSettingsWindow::showPrinters()
{
    const QStringList queues = m_context.printer().printerNames();
    for (const auto &[kind, list] : printerLists()) {
        list->addItem(tr(kAsk), QString());
        for (const QString &queue : queues)
            list->addItem(queue, queue);
        // A printer that is gone stays chosen until the clerk chooses another.
        const QString chosen = m_printers.printerFor(kind);
        if (!chosen.isEmpty() && list->findData(chosen) < 0)
            list->addItem(tr(kMissing).arg(chosen), chosen);
        list->setCurrentIndex(list->findData(chosen));
        fitListToEntries(list);
    }
}

void BasicSettingsWindow::save()
{
    switch (
        LibraryRules(m_context.database()).save(m_ui->txtBook->text(), m_ui->txtFakuan->text())) {
    case LibraryRules::SaveResult::Saved:
        m_context.prompter().message({savePaper() ? tr(kSaved) : tr(kPaperNotSaved), hintTitle()});
        break;
    case LibraryRules::SaveResult::BadValue:
        m_context.prompter().message({tr(kBadValue), hintTitle()});
        break;
    case LibraryRules::SaveResult::Failed:
        m_context.prompter().message({tr(kSaveFailed), hintTitle()});
        break;
    }
}

bool BasicSettingsWindow::savePaper()
{
    PaperSettings paper = m_paper;
    // An empty name would head every notice with nothing: it means the default.
    const QString name = m_ui->txtLibraryName->text().trimmed();
    paper.libraryName = name.isEmpty() ? DeskSettings::defaultLibraryName() : name;
    paper.receiptPaper = PaperSettings::ReceiptPaper(m_ui->cboPaper->currentData().toInt());
    paper.receiptAfterLend = m_ui->chkLendReceipt->isChecked();
    paper.receiptAfterReturn = m_ui->chkReturnReceipt->isChecked();
    if (!paper.save(m_context.settings(), m_paper))
        return false;
    m_paper = paper;
    PrinterSettings printers = m_printers;
    for (const auto &[kind, list] : printerLists())
        printers.setPrinterFor(kind, list->currentData().toString());
    if (!printers.save(m_context.settings(), m_printers))
        return false;
    m_printers = printers;
    m_ui->txtLibraryName->setText(paper.libraryName);
    return true;
}

}  // namespace lendora
