#include "app/QtPrintSink.h"

#include "gui/widgets/Prompter.h"
#include "gui/widgets/Texts.h"
#include "reports/DocumentRenderer.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace lendora {

namespace {
const char *const kGone = QT_TRANSLATE_NOOP("lendora::QtPrintSink", "找不到打印机 %1。");
const char *const kStopped =
    QT_TRANSLATE_NOOP("lendora::QtPrintSink", "打印机 %1 已停止,不能打印。");
const char *const kPickAnother =
    QT_TRANSLATE_NOOP("lendora::QtPrintSink", "%1\n请在接下来的打印对话框中选择打印机。");
const char *const kFailed = QT_TRANSLATE_NOOP("lendora::QtPrintSink", "没有打印出来:%1");
const char *const kReceiptFailed =
    QT_TRANSLATE_NOOP("lendora::QtPrintSink", "凭条没有打印出来:%1\n请检查打印机后重印。");
const char *const kPrinterError = QT_TRANSLATE_NOOP("lendora::QtPrintSink", "打印机 %1 报告出错。");

// The texts above are in the namespaced context; the class's own tr() is not.
QString said(const char *text)
{
    return QCoreApplication::translate("lendora::QtPrintSink", text);
}
}  // namespace

QtPrintSink::QtPrintSink(Prompter &prompter, std::function<DeskSettings()> settings, Ask ask)
    : m_prompter(prompter), m_settings(std::move(settings)), m_ask(std::move(ask))
{
    if (!m_ask) {
        m_ask = [](QPrinter &printer) {
            QPrintDialog dialog(&printer, QApplication::activeWindow());
            dialog.setWindowTitle(tr("打印"));
            return dialog.exec() == QDialog::Accepted;
        };
    }
}

QString QtPrintSink::unavailable(const QString &queue)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(queue);
    if (info.isNull())
        return said(kGone).arg(queue);
    // CUPS reports a stopped (disabled) queue as in error.
    if (info.state() == QPrinter::Error || info.state() == QPrinter::Aborted)
        return said(kStopped).arg(queue);
    return {};
}

bool QtPrintSink::print(const Document &document, PrinterKind paper, const QString &pdfPath)
{
    if (!pdfPath.isEmpty())
        return DocumentRenderer::writePdf(document, pdfPath);
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(document.title);
    printer.setPageLayout(document.pageLayout());
    const QString queue = m_settings().printerFor(paper);
    bool chosen = false;
    if (!queue.isEmpty()) {
        const QString problem = unavailable(queue);
        if (problem.isEmpty()) {
            printer.setPrinterName(queue);
            chosen = true;
        } else if (!m_told.contains(queue)) {
            m_told.insert(queue);
            m_prompter.message({said(kPickAnother).arg(problem), hintTitle()});
        }
    }
    if (!chosen && !m_ask(printer))
        return false;
    // The page layout again: the dialog may have set the printer's own.
    printer.setPageLayout(document.pageLayout());
    if (!printTo(printer, document, paper))
        return false;
    if (chosen)
        m_told.remove(queue);  // it prints again: a later failure is told once more
    return true;
}

bool QtPrintSink::printTo(QPrinter &printer, const Document &document, PrinterKind paper)
{
    QString error;
    const QString file = printer.outputFileName();
    bool printed = false;
    // The dialog's "print to file" goes through a work file and a rename, never straight to
    // its name: a failure leaves no half file.
    if (printer.outputFormat() == QPrinter::PdfFormat && !file.isEmpty())
        printed = DocumentRenderer::writePdf(document, file, &error);
    else
        printed = DocumentRenderer::render(document, &printer, &error);
    if (printed && file.isEmpty() && printer.printerState() == QPrinter::Error) {
        printed = false;
        error = said(kPrinterError).arg(printer.printerName());
    }
    if (!printed) {
        m_prompter.message(
            {said(paper == PrinterKind::Receipt ? kReceiptFailed : kFailed).arg(error), hintTitle(),
             Buttons::Ok, Icon::Error});
        return false;
    }
    return true;
}

QStringList QtPrintSink::printerNames() const
{
    return QPrinterInfo::availablePrinterNames();
}

}  // namespace lendora
