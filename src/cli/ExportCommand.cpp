#include "cli/ExportCommand.h"

#include "cli/Library.h"

#include "base/SheetFile.h"
#include "core/exchange/TableExport.h"
#include "data/SharedDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace lendora::cli {

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("lendora::ExportCommand", text);
}
const char *const kSynopsis = QT_TRANSLATE_NOOP(
    "lendora::ExportCommand", "books|readers|categories|loans 文件 [--encoding utf-8|gb18030]");
const char *const kSummary =
    QT_TRANSLATE_NOOP("lendora::ExportCommand",
                      "把整张表写成 CSV 文件(\"-\" 为标准输出),默认 UTF-8,\n"
                      "--encoding gb18030 写成 GB18030; 文件名以 .xlsx 结尾时写 Excel 工作簿。");
const char *const kNoTable =
    QT_TRANSLATE_NOOP("lendora::ExportCommand", "缺少表名(books、readers、categories 或 loans)");
const char *const kBadTable = QT_TRANSLATE_NOOP("lendora::ExportCommand", "没有这张表: %1");
const char *const kNoFile = QT_TRANSLATE_NOOP("lendora::ExportCommand", "缺少文件名");
const char *const kExtra = QT_TRANSLATE_NOOP("lendora::ExportCommand", "多余的参数: %1");
const char *const kBadEncoding =
    QT_TRANSLATE_NOOP("lendora::ExportCommand", "编码无效: %1(应为 utf-8 或 gb18030)");
const char *const kEncodingOfXlsx =
    QT_TRANSLATE_NOOP("lendora::ExportCommand", "--encoding 只用于 CSV 文件");
const char *const kCannotWrite =
    QT_TRANSLATE_NOOP("lendora::ExportCommand", "无法写入文件 %1,没有导出。");
const char *const kWriteFailed =
    QT_TRANSLATE_NOOP("lendora::ExportCommand", "无法写入文件 %1,没有导出: %2");

const QString kEncoding = QStringLiteral("--encoding");
const QString kHelp = QStringLiteral("--help");
const QString kStdout = QStringLiteral("-");

// The words of the line that are not options (nor an option's separate value).
QStringList positionals(const QStringList &arguments, QStringList *options)
{
    QStringList words;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (!argument.startsWith(QLatin1String("--"))) {
            words << argument;
            continue;
        }
        *options << argument;
        if (argument == kEncoding && i + 1 < arguments.size())
            *options << arguments.at(++i);
    }
    return words;
}

int exportTable(const QStringList &arguments, const Run &run)
{
    QStringList rest;
    const QStringList words = positionals(arguments, &rest);
    QString problem;
    const std::optional<Options> options = Options::parse(rest, {kEncoding}, {kHelp}, &problem);
    if (!options)
        return run.usageError(problem);
    if (options->flags.contains(kHelp)) {
        run.out->write(run.usage.toUtf8());
        return Done;
    }
    if (words.isEmpty())
        return run.usageError(tr(kNoTable));
    const std::optional<TableExport::Table> table = TableExport::named(words.at(0));
    if (!table)
        return run.usageError(tr(kBadTable).arg(words.at(0)));
    if (words.size() < 2 || words.at(1).isEmpty())
        return run.usageError(tr(kNoFile));
    if (words.size() > 2)
        return run.usageError(tr(kExtra).arg(words.mid(2).join(QLatin1Char(' '))));
    const QString path = words.at(1);

    SheetFile::Format format = SheetFile::Format::CsvUtf8;
    const bool xlsx =
        path != kStdout
        && QFileInfo(path).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0;
    if (options->values.contains(kEncoding)) {
        const QString encoding = options->values.value(kEncoding).toLower();
        if (xlsx)
            return run.usageError(tr(kEncodingOfXlsx));
        if (encoding == QLatin1String("gb18030"))
            format = SheetFile::Format::CsvGb18030;
        else if (encoding != QLatin1String("utf-8") && encoding != QLatin1String("utf8"))
            return run.usageError(tr(kBadEncoding).arg(options->values.value(kEncoding)));
    }
    if (xlsx)
        format = SheetFile::Format::Xlsx;
    const QString shown = QDir::toNativeSeparators(path);
    if (path != kStdout && !canPut(path)) {
        run.say(tr(kCannotWrite).arg(shown));
        return Refused;
    }

    SharedDatabase database(QStringLiteral("lendora-cli"));
    if (const int opened = openToRead(run, database); opened != Done)
        return opened;
    const std::unique_ptr<SheetFile> sheet =
        path == kStdout ? SheetFile::toDevice(*run.out, format) : SheetFile::toFile(path, format);
    TableExport exporter(database);
    const std::optional<qint64> rows = exporter.write(*table, *sheet);
    if (!rows && exporter.lastError().isError()) {
        return readFailed(run, exporter.lastError());
    }
    if (!rows || !sheet->finish()) {
        run.say(tr(kWriteFailed).arg(shown, sheet->error()));
        return Refused;
    }
    return Done;
}
}  // namespace

Command exportCommand()
{
    return {QStringLiteral("export"), tr(kSynopsis), tr(kSummary), exportTable};
}

}  // namespace lendora::cli
