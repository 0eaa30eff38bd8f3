#include "LabelScan.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

namespace lendora::testkit {

namespace {
constexpr int kDpi = 300;
constexpr qreal kMmPerInch = 25.4;
constexpr int kAtOnce = 4;  // zbarimg runs side by side

bool fail(QString *problem, const QString &why)
{
    if (problem)
        *problem = why;
    return false;
}

// The pages as 300 dpi grey images, in order.
bool renderPages(const QString &pdfPath, const QString &folder, QStringList *pages,
                 QString *problem)
{
    QProcess tool;
    tool.start(QStringLiteral("pdftoppm"),
               {QStringLiteral("-r"), QString::number(kDpi), QStringLiteral("-gray"),
                QStringLiteral("-png"), pdfPath, QDir(folder).filePath(QStringLiteral("page"))});
    if (!tool.waitForFinished(300000) || tool.exitStatus() != QProcess::NormalExit
        || tool.exitCode() != 0)
        return fail(problem, QStringLiteral("pdftoppm failed on %1: %2")
                                 .arg(pdfPath, QString::fromUtf8(tool.readAllStandardError())));
    // pdftoppm pads the page numbers to one width, so the names sort as the pages do.
    const QStringList names =
        QDir(folder).entryList({QStringLiteral("page-*.png")}, QDir::Files, QDir::Name);
    for (const QString &name : names)
        *pages << QDir(folder).filePath(name);
    return !pages->isEmpty() || fail(problem, QStringLiteral("no pages in %1").arg(pdfPath));
}

QString decodedOf(QProcess &tool)
{
    QStringList texts;
    const QString out = QString::fromUtf8(tool.readAllStandardOutput());
    for (const QString &line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        texts << (colon < 0 ? line : line.mid(colon + 1));
    }
    return texts.join(QStringLiteral(" | "));
}
}  // namespace

QStringList scanLabels(const QString &pdfPath, const LabelStock &stock, QString *problem)
{
    QTemporaryDir folder;
    QStringList pages;
    if (!folder.isValid() || !renderPages(pdfPath, folder.path(), &pages, problem))
        return {};
    const qreal dotsPerMm = kDpi / kMmPerInch;
    QStringList crops;
    for (const QString &page : pages) {
        const QImage image(page);
        if (image.isNull()) {
            fail(problem, QStringLiteral("cannot read %1").arg(page));
            return {};
        }
        for (int i = 0; i < stock.perPage(); ++i) {
            const QRectF cell = stock.cell(i);
            const QRect pixels(int(cell.x() * dotsPerMm), int(cell.y() * dotsPerMm),
                               int(cell.width() * dotsPerMm), int(cell.height() * dotsPerMm));
            const QString crop =
                QDir(folder.path()).filePath(QStringLiteral("cell-%1.png").arg(crops.size()));
            if (!image.copy(pixels).save(crop)) {
                fail(problem, QStringLiteral("cannot write %1").arg(crop));
                return {};
            }
            crops << crop;
        }
    }
    QStringList decoded(crops.size());
    for (qsizetype first = 0; first < crops.size(); first += kAtOnce) {
        QList<QProcess *> running;
        for (qsizetype i = first; i < std::min(first + kAtOnce, crops.size()); ++i) {
            auto *tool = new QProcess;
            tool->start(QStringLiteral("zbarimg"),
                        {QStringLiteral("--nodbus"), QStringLiteral("-q"), crops.at(i)});
            running << tool;
        }
        for (qsizetype i = 0; i < running.size(); ++i) {
            QProcess *tool = running.at(i);
            // Status 4: nothing found, which the empty text says.
            if (!tool->waitForFinished(120000) || tool->exitStatus() != QProcess::NormalExit
                || (tool->exitCode() != 0 && tool->exitCode() != 4)) {
                fail(problem, QStringLiteral("zbarimg failed on %1: %2")
                                  .arg(crops.at(first + i), tool->errorString()));
                qDeleteAll(running);
                return {};
            }
            decoded[first + i] = decodedOf(*tool);
        }
        qDeleteAll(running);
    }
    while (!decoded.isEmpty() && decoded.constLast().isEmpty())
        decoded.removeLast();
    return decoded;
}

}  // namespace lendora::testkit
