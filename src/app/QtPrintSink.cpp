#include "app/QtPrintSink.h"

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
    return DocumentRenderer::render(document, &printer);
}

}  // namespace lendora
