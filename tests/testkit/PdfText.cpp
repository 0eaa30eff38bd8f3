#include "PdfText.h"

#include <QProcess>
#include <QRegularExpression>

namespace lendora::testkit {

QStringList pdfPages(const QString &path)
{
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                             QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit
        || tool.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(tool.readAllStandardOutput()).split(QLatin1Char('\f'));
    // pdftotext ends the last page with a form feed too.
    if (!pages.isEmpty() && pages.constLast().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

QString pdfText(const QString &path)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return pdfPages(path).join(QLatin1Char(' ')).replace(blanks, QStringLiteral(" ")).trimmed();
}

}  // namespace lendora::testkit
