#include "cli/StatsCommand.h"

#include "cli/Library.h"

#include "base/AppDirectory.h"
#include "base/DateText.h"
#include "base/SheetFile.h"
#include "base/TextFile.h"
#include "core/query/LoanStatistics.h"
#include "core/query/StatisticsViews.h"
#include "data/SharedDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace lendora::cli {

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("lendora::StatsCommand", text);
}
const char *const kSynopsis = QT_TRANSLATE_NOOP(
    "lendora::StatsCommand", "[--from yyyy-MM-dd] [--to yyyy-MM-dd] [--csv 目录 [--encoding "
                             "utf-8|gb18030]]");
const char *const kSummary = QT_TRANSLATE_NOOP(
    "lendora::StatsCommand", "借阅统计: 默认为截至今天的最近 12 个月; 只给 --from 时统计到今天,\n"
                             "只给 --to 时为截至该日的 12 个月。不给 --csv 时摘要写到标准输出;\n"
                             "--csv 把每个统计表写成目录中的一个 CSV 文件(目录不存在时创建),\n"
                             "默认 UTF-8,--encoding gb18030 写成 GB18030。");
const char *const kBadDate =
    QT_TRANSLATE_NOOP("lendora::StatsCommand", "日期无效: %1(应为 yyyy-MM-dd)");
const char *const kBackwards =
    QT_TRANSLATE_NOOP("lendora::StatsCommand", "起始日期 %1 晚于结束日期 %2");
const char *const kNoFolder = QT_TRANSLATE_NOOP("lendora::StatsCommand", "选项 --csv 缺少目录名");
const char *const kBadEncoding =
    QT_TRANSLATE_NOOP("lendora::StatsCommand", "编码无效: %1(应为 utf-8 或 gb18030)");
const char *const kEncodingAlone =
    QT_TRANSLATE_NOOP("lendora::StatsCommand", "--encoding 只用于 --csv");
const char *const kCannotWrite =
    QT_TRANSLATE_NOOP("lendora::StatsCommand", "无法写入文件 %1,没有写入任何文件。");
const char *const kCannotUse =
    QT_TRANSLATE_NOOP("lendora::StatsCommand", "无法在目录 %1 中写入文件,没有写入任何文件。");
const char *const kCannotMake =
    QT_TRANSLATE_NOOP("lendora::StatsCommand", "无法创建目录 %1,没有写入任何文件。");
const char *const kWriteFailed =
    QT_TRANSLATE_NOOP("lendora::StatsCommand", "无法写入文件 %1,没有写入任何文件: %2");
const char *const kRenameFailed = QT_TRANSLATE_NOOP(
    "lendora::StatsCommand", "无法写入文件 %1,在它之前的文件已经写好,其余的没有写入。");
const char *const kRange = QT_TRANSLATE_NOOP("lendora::StatsCommand", "统计范围: %1");

const QString kFrom = QStringLiteral("--from");
const QString kTo = QStringLiteral("--to");
const QString kCsv = QStringLiteral("--csv");
const QString kEncoding = QStringLiteral("--encoding");
const QString kHelp = QStringLiteral("--help");

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// The nearest folder of `path` (itself included) that already exists; what a missing folder
// would be made in.
QString existingFolderOf(const QString &path)
{
    QFileInfo info(QFileInfo(path).absoluteFilePath());
    while (!info.exists() && !info.isRoot())
        info = QFileInfo(info.absolutePath());
    return info.absoluteFilePath();
}

// Why the CSV files cannot go into `folder`, or empty when they can: asked before the library
// is read, so a wrong folder costs nothing.
QString unwritable(const QString &folder, const QStringList &targets)
{
    const QString existing = existingFolderOf(folder);
    if (!QFileInfo(existing).isDir() || !AppDirectory::canWrite(existing))
        return tr(kCannotUse).arg(shown(existing));
    for (const QString &target : targets) {
        const QFileInfo file(target);
        if (file.isDir() || (file.exists() && TextFile::isReadOnly(target)))
            return tr(kCannotWrite).arg(shown(target));
    }
    return {};
}

// Where each view's file goes, in the order of the views.
QStringList targetsIn(const QString &folder)
{
    QStringList targets;
    for (const StatisticsView::Kind kind : StatisticsViews::kinds())
        targets << QDir(folder).filePath(StatisticsViews::fileName(kind) + QStringLiteral(".csv"));
    return targets;
}

QString workPathOf(const QString &target)
{
    return target + QStringLiteral(".part");
}

// Every view to a work file first; only when all are written do they take their names, so a
// failure leaves the folder as it was.
int writeAll(const Run &run, const QList<StatisticsView> &views, const QString &folder,
             SheetFile::Format format)
{
    const QStringList targets = targetsIn(folder);
    const QString firstMissing = [&folder] {
        QString missing;
        for (QFileInfo info(QFileInfo(folder).absoluteFilePath()); !info.exists();
             info = QFileInfo(info.absolutePath()))
            missing = info.absoluteFilePath();
        return missing;
    }();
    if (!QDir().mkpath(folder)) {
        run.say(tr(kCannotMake).arg(shown(folder)));
        return Refused;
    }
    QStringList written;
    const auto dropAll = [&] {
        for (const QString &target : std::as_const(written))
            QFile::remove(workPathOf(target));
        // Folders made for nothing go again; rmdir leaves any that something else filled.
        if (!firstMissing.isEmpty()) {
            for (QString dir = QFileInfo(folder).absoluteFilePath();
                 dir.startsWith(firstMissing) && QDir().rmdir(dir);
                 dir = QFileInfo(dir).absolutePath()) {
            }
        }
    };
    for (qsizetype i = 0; i < views.size(); ++i) {
        const StatisticsView &view = views.at(i);
        const std::unique_ptr<SheetFile> sheet =
            SheetFile::toFile(workPathOf(targets.at(i)), format);
        sheet->addRow(StatisticsViews::columnNames(view.kind));
        for (const QStringList &row : view.rows)
            sheet->addRow(row);
        if (!sheet->finish()) {
            dropAll();
            run.say(tr(kWriteFailed).arg(shown(targets.at(i)), sheet->error()));
            return Refused;
        }
        written << targets.at(i);
    }
    for (qsizetype i = 0; i < targets.size(); ++i) {
        if (TextFile::commit(workPathOf(targets.at(i)), targets.at(i))
            != TextFile::WriteResult::Written) {
            for (const QString &target : targets.mid(i + 1))
                QFile::remove(workPathOf(target));
            run.say(tr(kRenameFailed).arg(shown(targets.at(i))));
            return Refused;
        }
    }
    return Done;
}

QString summaryOf(const QList<StatisticsView> &views, const QDate &from, const QDate &to)
{
    QString text = tr(kRange).arg(StatisticsViews::rangeText(from, to)) + QStringLiteral("\n\n");
    for (const StatisticsView &view : views) {
        text += view.title + QLatin1Char('\n');
        text += view.headers.join(QLatin1Char('\t')) + QLatin1Char('\n');
        for (const QStringList &row : view.rows)
            text += row.join(QLatin1Char('\t')) + QLatin1Char('\n');
        if (!view.note.isEmpty())
            text += view.note + QLatin1Char('\n');
        text += QLatin1Char('\n');
    }
    return text;
}

std::optional<QDate> dateOption(const Options &options, const QString &name, QString *bad)
{
    if (!options.values.contains(name))
        return std::nullopt;
    const QString text = options.values.value(name);
    const QDate date = QDate::fromString(text, QString::fromLatin1(DateText::kFormat));
    if (!date.isValid())
        *bad = text;
    return date;
}

int stats(const QStringList &arguments, const Run &run)
{
    QString problem;
    const std::optional<Options> options =
        Options::parse(arguments, {kFrom, kTo, kCsv, kEncoding}, {kHelp}, &problem);
    if (!options)
        return run.usageError(problem);
    if (options->flags.contains(kHelp)) {
        run.out->write(run.usage.toUtf8());
        return Done;
    }
    QString bad;
    const std::optional<QDate> fromOption = dateOption(*options, kFrom, &bad);
    const std::optional<QDate> toOption = dateOption(*options, kTo, &bad);
    if (!bad.isEmpty())
        return run.usageError(tr(kBadDate).arg(bad));
    // --to alone moves the whole default year back; --from alone runs up to today.
    const QDate to = toOption.value_or(run.today);
    const QDate from = fromOption.value_or(StatisticsViews::lastYear(to).first);
    if (from > to)
        return run.usageError(tr(kBackwards).arg(DateText::toText(from), DateText::toText(to)));

    const bool toFiles = options->values.contains(kCsv);
    const QString folder = options->values.value(kCsv);
    if (toFiles && folder.isEmpty())
        return run.usageError(tr(kNoFolder));
    SheetFile::Format format = SheetFile::Format::CsvUtf8;
    if (options->values.contains(kEncoding)) {
        const QString encoding = options->values.value(kEncoding).toLower();
        if (!toFiles)
            return run.usageError(tr(kEncodingAlone));
        if (encoding == QLatin1String("gb18030"))
            format = SheetFile::Format::CsvGb18030;
        else if (encoding != QLatin1String("utf-8") && encoding != QLatin1String("utf8"))
            return run.usageError(tr(kBadEncoding).arg(options->values.value(kEncoding)));
    }
    if (toFiles) {
        if (const QString why = unwritable(folder, targetsIn(folder)); !why.isEmpty()) {
            run.say(why);
            return Refused;
        }
    }

    SharedDatabase database(QStringLiteral("lendora-cli"));
    if (const int opened = openToRead(run, database); opened != Done)
        return opened;
    LoanStatistics statistics(database);
    // A file lists every never-lent book; the summary only the first few, its note the count.
    const int neverLentRows = toFiles ? -1 : LoanStatistics::kTop;
    QList<StatisticsView> views;
    for (const StatisticsView::Kind kind : StatisticsViews::kinds()) {
        std::optional<StatisticsView> view =
            StatisticsViews::load(statistics, kind, from, to, neverLentRows);
        if (!view)
            return readFailed(run, statistics.lastError());
        views << std::move(*view);
    }
    if (toFiles)
        return writeAll(run, views, folder, format);
    run.out->write(summaryOf(views, from, to).toUtf8());
    return Done;
}
}  // namespace

Command statsCommand()
{
    return {QStringLiteral("stats"), tr(kSynopsis), tr(kSummary), stats};
}

}  // namespace lendora::cli
