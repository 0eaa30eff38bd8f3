#include "cli/OverdueCommand.h"

#include "cli/Library.h"

#include "base/Csv.h"
#include "base/DateText.h"
#include "base/DeskSettings.h"
#include "base/TextFile.h"
#include "core/circulation/OverdueList.h"
#include "data/SharedDatabase.h"
#include "reports/DocumentRenderer.h"
#include "reports/OverdueNotices.h"

#include <QCoreApplication>
#include <QDir>

namespace lendora::cli {

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("lendora::OverdueCommand", text);
}
const char *const kSynopsis =
    QT_TRANSLATE_NOOP("lendora::OverdueCommand", "[--as-of yyyy-MM-dd] [--csv 文件] [--pdf 文件]");
const char *const kSummary =
    QT_TRANSLATE_NOOP("lendora::OverdueCommand",
                      "截至某日(默认今天)逾期未还的图书: --csv 写逾期清单(\"-\" 为标准输出),\n"
                      "--pdf 写每位逾期读者一页的催还单; 两者都不给时清单写到标准输出。");
const char *const kBadDate =
    QT_TRANSLATE_NOOP("lendora::OverdueCommand", "日期无效: %1(应为 yyyy-MM-dd)");
const char *const kNoFileName = QT_TRANSLATE_NOOP("lendora::OverdueCommand", "选项 %1 缺少文件名");
const char *const kCannotWrite =
    QT_TRANSLATE_NOOP("lendora::OverdueCommand", "无法写入文件 %1,没有写入任何文件。");
const char *const kCsvFailed = QT_TRANSLATE_NOOP("lendora::OverdueCommand", "无法写入文件 %1。");
const char *const kPdfFailed =
    QT_TRANSLATE_NOOP("lendora::OverdueCommand", "无法写入 PDF 文件 %1: %2");

const QString kAsOf = QStringLiteral("--as-of");
const QString kCsv = QStringLiteral("--csv");
const QString kPdf = QStringLiteral("--pdf");
const QString kHelp = QStringLiteral("--help");
const QString kStdout = QStringLiteral("-");

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QByteArray csvOf(const QList<OverdueList::Entry> &entries)
{
    QList<QStringList> rows;
    for (const OverdueList::Entry &entry : entries)
        rows << OverdueList::cells(entry);
    return Csv::write(OverdueList::columns(), rows);
}

int overdue(const QStringList &arguments, const Run &run)
{
    QString problem;
    const std::optional<Options> options =
        Options::parse(arguments, {kAsOf, kCsv, kPdf}, {kHelp}, &problem);
    if (!options)
        return run.usageError(problem);
    if (options->flags.contains(kHelp)) {
        run.out->write(run.usage.toUtf8());
        return Done;
    }
    QDate asOf = run.today;
    if (options->values.contains(kAsOf)) {
        const QString text = options->values.value(kAsOf);
        asOf = QDate::fromString(text, QString::fromLatin1(DateText::kFormat));
        if (!asOf.isValid())
            return run.usageError(tr(kBadDate).arg(text));
    }
    for (const QString &option : {kCsv, kPdf}) {
        if (options->values.contains(option) && options->values.value(option).isEmpty())
            return run.usageError(tr(kNoFileName).arg(option));
    }
    const QString pdfPath = options->values.value(kPdf);
    // Without either file, the list goes to stdout.
    const QString csvPath = options->values.value(kCsv, pdfPath.isEmpty() ? kStdout : QString());
    for (const QString &path : {csvPath, pdfPath}) {
        if (!path.isEmpty() && path != kStdout && !canPut(path)) {
            run.say(tr(kCannotWrite).arg(shown(path)));
            return Refused;
        }
    }

    SharedDatabase database(QStringLiteral("lendora-cli"));
    if (const int opened = openToRead(run, database); opened != Done)
        return opened;
    OverdueList list(database);
    const std::optional<QList<OverdueList::Entry>> entries = list.find({asOf, QString(), 1});
    if (!entries) {
        return readFailed(run, list.lastError());
    }

    if (!pdfPath.isEmpty()) {
        const QString library = DeskSettings::inFolder(run.appDir).libraryName();
        QString why;
        if (!DocumentRenderer::writePdf(OverdueNotices::build(*entries, library, asOf), pdfPath,
                                        &why)) {
            run.say(tr(kPdfFailed).arg(shown(pdfPath), why));
            return Refused;
        }
    }
    if (csvPath == kStdout) {
        run.out->write(csvOf(*entries));
    } else if (!csvPath.isEmpty()) {
        // Through a work file and a rename: a failed write leaves no half file under the name.
        if (TextFile::replace(csvPath, csvPath + QStringLiteral(".part"), csvOf(*entries))
            != TextFile::WriteResult::Written) {
            run.say(tr(kCsvFailed).arg(shown(csvPath)));
            return Refused;
        }
    }
    return Done;
}
}  // namespace

Command overdueCommand()
{
    return {QStringLiteral("overdue"), tr(kSynopsis), tr(kSummary), overdue};
}

}  // namespace lendora::cli
