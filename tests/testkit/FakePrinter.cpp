#include "FakePrinter.h"

#include "base/DeskSettings.h"
#include "reports/DocumentRenderer.h"

#include <QDir>
#include <QFileInfo>

namespace lendora::testkit {

FakePrinter::FakePrinter(QString appDir) : m_appDir(std::move(appDir)) {}

QString FakePrinter::nextPrinterFile() const
{
    const QDir folder(QDir(m_appDir).filePath(QStringLiteral("printed")));
    // Never over an earlier run's sheets, so a restarted desk's output stays countable.
    for (int n = 1;; ++n) {
        const QString path =
            folder.filePath(QStringLiteral("%1.pdf").arg(n, 3, 10, QLatin1Char('0')));
        if (!QFileInfo::exists(path))
            return path;
    }
}

bool FakePrinter::print(const Document &document, PrinterKind paper, const QString &pdfPath)
{
    if (!succeed)
        return false;
    const QString path = pdfPath.isEmpty() ? nextPrinterFile() : pdfPath;
    // As with the real sink, a chosen pdfPath's folder must already exist.
    if (pdfPath.isEmpty() && !QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    if (!DocumentRenderer::writePdf(document, path))
        return false;
    printed.append(path);
    documents.append(document);
    papers.append(paper);
    printers.append(pdfPath.isEmpty() ? DeskSettings::inFolder(m_appDir).printerFor(paper)
                                      : QString());
    return true;
}

}  // namespace lendora::testkit
