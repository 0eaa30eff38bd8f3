#include "app/QtPrintSink.h"

#include "gui/widgets/Prompter.h"
#include "gui/widgets/Texts.h"
#include "reports/DocumentRenderer.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>

namespace lendora {

bool QtPrintSink::print(const Document &document, const QString &pdfPath)
{
    if (!pdfPath.isEmpty())
        return DocumentRenderer::writePdf(document, pdfPath);
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(document.title);
    printer.setPageLayout(document.pageLayout());
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    dialog.setWindowTitle(tr("打印"));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return printTo(printer, document);
}

bool QtPrintSink::printTo(QPrinter &printer, const Document &document)
{
    const QString file = printer.outputFileName();
    if (printer.outputFormat() != QPrinter::PdfFormat || file.isEmpty())
        return DocumentRenderer::render(document, &printer);
    QString error;
    if (DocumentRenderer::writePdf(document, file, &error))
        return true;
    m_prompter.message({error, hintTitle(), Buttons::Ok, Icon::Error});
    return false;
}

}  // namespace lendora
