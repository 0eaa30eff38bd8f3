#include "cli/MigrateCommand.h"

#include "cli/Library.h"
#include "data/LibraryCopy.h"
#include "data/LibraryRestore.h"
#include "data/Schema.h"
#include "data/SharedDatabase.h"

#include <QCoreApplication>

namespace lendora::cli {

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("lendora::cli::MigrateCommand", text);
}
const char *const kSummary = QT_TRANSLATE_NOOP(
    "lendora::cli::MigrateCommand",
    "把图书馆的数据库文件整个移到 PostgreSQL 服务器上一个新建的空数据库(一个事务),\n"
    "然后逐表核对行数与每一行的校验和;地址写成 postgresql://用户名@服务器:端口/数据库名。\n"
    "--from 移入一份备份文件,而不是程序目录中的数据库文件(在服务器上恢复备份)。");
const char *const kNoTarget = QT_TRANSLATE_NOOP("lendora::cli::MigrateCommand", "缺少 --to 地址");
const char *const kUnstorable = QT_TRANSLATE_NOOP(
    "lendora::cli::MigrateCommand",
    "%1 的文字中含有服务器不能保存的空字符(NUL),没有移入任何数据。请先改正这一行。");
const char *const kNotMoved =
    QT_TRANSLATE_NOOP("lendora::cli::MigrateCommand", "没有移入任何数据: %1");
const char *const kDiffers =
    QT_TRANSLATE_NOOP("lendora::cli::MigrateCommand",
                      "核对不符: %1 在文件中有 %2 行,在服务器上有 %3 行,或者行的内容不同。");
const char *const kMoved = QT_TRANSLATE_NOOP("lendora::cli::MigrateCommand",
                                             "已移到 %1: %2 行,每张表的行数与校验和都与文件一致。");

int migrate(const QStringList &arguments, const Run &run)
{
    QString problem;
    const std::optional<Options> options =
        Options::parse(arguments, {QStringLiteral("--to"), QStringLiteral("--from")}, {}, &problem);
    if (!options)
        return run.usageError(problem);
    const QString url = options->values.value(QStringLiteral("--to"));
    if (url.isEmpty())
        return run.usageError(tr(kNoTarget));
    LibraryLocation server = LibraryLocation::onServer(url);
    if (!server.found()) {
        run.say(server.problem());
        return Usage;
    }
    // The folder's file, whatever its settings name, or a backup given.
    SharedDatabase file(QStringLiteral("lendora-cli-migrate"));
    const QString source = options->values.value(QStringLiteral("--from"));
    if (source.isEmpty()) {
        LibraryLocation located = LibraryLocation::inFolder(run.appDir, LibraryLocation::Use::Tool);
        if (const int status = notFound(run, located); status != Done)
            return status;
        if (const int opened = openToRead(run, std::move(located), file); opened != Done)
            return opened;
    } else {
        if (const QString bad = LibraryRestore::checkCopy(source); !bad.isEmpty()) {
            run.say(tr(kNotMoved).arg(bad));
            return Refused;
        }
        DbError error;
        if (!file.openReadOnly(LibraryLocation::ofFile(source, LibraryLocation::Use::Tool).take(),
                               &error))
            return readFailed(run, error);
    }
    QSqlDatabase from = file.db();
    const QString bad = LibraryCopy::unstorable(from, *file.dialect(), &problem);
    if (!bad.isEmpty() || !problem.isEmpty()) {
        run.say(bad.isEmpty() ? tr(kNotMoved).arg(problem) : tr(kUnstorable).arg(bad));
        return bad.isEmpty() ? Unavailable : Refused;
    }
    if (!server.take()->moveIn(from, *file.dialect(), &problem)) {
        run.say(tr(kNotMoved).arg(oneLine(problem)));
        return Refused;
    }

    // What arrived, read back through a connection of its own.
    SharedDatabase moved(QStringLiteral("lendora-cli-migrated"));
    DbError error;
    if (!moved.openReadOnly(LibraryLocation::onServer(url).take(), &error))
        return readFailed(run, error);
    QSqlDatabase to = moved.db();
    qint64 rows = 0;
    for (const Schema::Table &table : Schema::tables()) {
        LibraryCopy::Digest there;
        LibraryCopy::Digest here;
        if (!LibraryCopy::digest(from, *file.dialect(), table.name, &here, &problem)
            || !LibraryCopy::digest(to, *moved.dialect(), table.name, &there, &problem))
            return readFailed(run, {DbError::Other, problem});
        if (!(here == there)) {
            run.say(tr(kDiffers).arg(table.name).arg(here.rows).arg(there.rows));
            return Refused;
        }
        rows += here.rows;
    }
    run.out->write(tr(kMoved).arg(moved.location(), QString::number(rows)).toUtf8() + '\n');
    return Done;
}

}  // namespace

Command migrateCommand()
{
    return {QStringLiteral("migrate"), QStringLiteral("--to URL [--from 备份文件]"), tr(kSummary),
            migrate};
}

}  // namespace lendora::cli
