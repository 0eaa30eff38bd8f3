#include "cli/ImportCommand.h"

#include "cli/Library.h"

#include "base/Csv.h"
#include "base/SingleCopyLock.h"
#include "core/exchange/Import.h"
#include "data/SharedDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace lendora::cli {

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("lendora::ImportCommand", text);
}
const char *const kSynopsis =
    QT_TRANSLATE_NOOP("lendora::ImportCommand", "books|readers 文件 [--dry-run] [--skip-existing]");
const char *const kSummary = QT_TRANSLATE_NOOP(
    "lendora::ImportCommand",
    "从 CSV 文件或 .xlsx 工作簿(读第一个工作表)导入图书或读者(标题行为列名,如 书籍编号、\n"
    "书籍名称……),全部导入或一行也不导入;\n"
    "--dry-run 只检查不写入, --skip-existing 跳过数据库中已有的编号。");
const char *const kWhat =
    QT_TRANSLATE_NOOP("lendora::ImportCommand", "请指明导入 books(图书)还是 readers(读者)");
const char *const kNoFile = QT_TRANSLATE_NOOP("lendora::ImportCommand", "缺少要导入的文件名");
const char *const kCannotRead =
    QT_TRANSLATE_NOOP("lendora::ImportCommand", "无法读取文件 %1,没有导入任何数据。");
const char *const kChecked =
    QT_TRANSLATE_NOOP("lendora::ImportCommand", "检查完毕,可以导入 %1 行(没有写入)。");

const QString kDryRun = QStringLiteral("--dry-run");
const QString kSkipExisting = QStringLiteral("--skip-existing");
const QString kHelp = QStringLiteral("--help");

int import(const QStringList &arguments, const Run &run)
{
    if (arguments.contains(kHelp)) {
        run.out->write(run.usage.toUtf8());
        return Done;
    }
    if (arguments.isEmpty()
        || (arguments.first() != QLatin1String("books")
            && arguments.first() != QLatin1String("readers")))
        return run.usageError(tr(kWhat));
    if (arguments.size() < 2 || arguments.at(1).startsWith(QLatin1String("--")))
        return run.usageError(tr(kNoFile));
    QString problem;
    const std::optional<Options> options =
        Options::parse(arguments.mid(2), {}, {kDryRun, kSkipExisting}, &problem);
    if (!options)
        return run.usageError(problem);
    const Import::Kind kind =
        arguments.first() == QLatin1String("books") ? Import::Kind::Books : Import::Kind::Readers;
    const bool dryRun = options->flags.contains(kDryRun);

    const QString path = arguments.at(1);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        run.say(tr(kCannotRead).arg(QDir::toNativeSeparators(path)));
        return Refused;
    }
    const Csv::Table table = Import::readFile(file.readAll());
    file.close();

    // A desk on the library holds the single-copy lock. Beside it the import writes through
    // a connection that leaves the desk's marker and checkpoints alone; without a desk it
    // takes the lock itself, so no desk starts halfway, and opens the library as a desk does.
    SingleCopyLock lock;
    SharedDatabase database(QStringLiteral("lendora-cli"));
    if (dryRun) {
        if (const int opened = openToRead(run, database); opened != Done)
            return opened;
    } else {
        const bool deskRuns = lock.take(QDir(run.appDir).filePath(QStringLiteral("lendora.lock")))
                              != SingleCopyLock::Result::Taken;
        if (const int opened = openToWrite(run, database, deskRuns); opened != Done)
            return opened;
    }

    Import::Options chosen;
    chosen.kind = kind;
    chosen.mapping = Import::defaultMapping(kind, table.header);
    chosen.skipExisting = options->flags.contains(kSkipExisting);
    Import importer(database);
    const Import::Outcome outcome =
        dryRun ? importer.check(table, chosen) : importer.run(table, chosen);
    if (!outcome.refused()) {
        const QString done = dryRun ? tr(kChecked).arg(outcome.added) : outcome.message(kind);
        run.out->write((done + QLatin1Char('\n')).toUtf8());
        return Done;
    }
    // Every refused line, not just the first few the desk shows.
    for (const QString &line :
         outcome.message(kind, int(outcome.rejects.size())).split(QLatin1Char('\n')))
        run.say(line);
    const bool busy = outcome.error.kind == DbError::Busy
                      || outcome.error.kind == DbError::ConnectionLost
                      || outcome.error.kind == DbError::Replaced;
    return busy ? Unavailable : Refused;
}
}  // namespace

Command importCommand()
{
    return {QStringLiteral("import"), tr(kSynopsis), tr(kSummary), import};
}

}  // namespace lendora::cli
