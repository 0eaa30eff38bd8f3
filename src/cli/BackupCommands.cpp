#include "cli/BackupCommands.h"

#include "base/SingleCopyLock.h"
#include "cli/Library.h"
#include "core/exchange/LibraryCheck.h"
#include "data/LibraryRestore.h"
#include "data/SharedDatabase.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace lendora::cli {

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("lendora::cli::BackupCommands", text);
}
const char *const kFileArgument = QT_TRANSLATE_NOOP("lendora::cli::BackupCommands", "文件");
const char *const kBackupSummary =
    QT_TRANSLATE_NOOP("lendora::cli::BackupCommands",
                      "把图书馆完整地复制到文件(先写临时文件再改名);桌面程序运行时也可以备份。");
const char *const kRestoreSummary =
    QT_TRANSLATE_NOOP("lendora::cli::BackupCommands",
                      "用备份文件替换图书馆的全部数据;先检查备份,并把当前数据备份到 backup/。\n"
                      "桌面程序正在使用这个图书馆时拒绝执行。");
const char *const kCheckSummary = QT_TRANSLATE_NOOP(
    "lendora::cli::BackupCommands",
    "检查整个数据库文件,以及“已借出”标记与未还的借阅记录是否一致;发现问题时退出码为 1。");
const char *const kNoFile = QT_TRANSLATE_NOOP("lendora::cli::BackupCommands", "缺少文件名");
const char *const kCannotWrite =
    QT_TRANSLATE_NOOP("lendora::cli::BackupCommands", "无法写入文件 %1,没有写入任何文件。");
const char *const kDeskRunning = QT_TRANSLATE_NOOP(
    "lendora::cli::BackupCommands", "桌面程序正在使用这个图书馆,请先退出程序再恢复。");
const char *const kUnusable =
    QT_TRANSLATE_NOOP("lendora::cli::BackupCommands", "不能用这个文件恢复,没有做任何改动: %1");
const char *const kIsLibrary = QT_TRANSLATE_NOOP("lendora::cli::BackupCommands",
                                                 "这是图书馆的数据库文件本身,请给出一份备份。");
const char *const kRestored =
    QT_TRANSLATE_NOOP("lendora::cli::BackupCommands", "已恢复;恢复前的数据保存在 %1");
const char *const kNotRestored =
    QT_TRANSLATE_NOOP("lendora::cli::BackupCommands", "恢复没有完成,数据保持原样: %1");
const char *const kFine =
    QT_TRANSLATE_NOOP("lendora::cli::BackupCommands", "检查完毕,没有发现问题。");

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// The one file name the command takes, then no option: nullopt after a usage error was said.
std::optional<QString> fileArgument(const QStringList &arguments, const Run &run, int *status)
{
    QString problem;
    if (arguments.isEmpty() || arguments.first().startsWith(QLatin1String("--"))) {
        *status = run.usageError(tr(kNoFile));
        return std::nullopt;
    }
    if (!Options::parse(arguments.mid(1), {}, {}, &problem)) {
        *status = run.usageError(problem);
        return std::nullopt;
    }
    return arguments.first();
}

int backup(const QStringList &arguments, const Run &run)
{
    int status = Done;
    const std::optional<QString> target = fileArgument(arguments, run, &status);
    if (!target)
        return status;
    LibraryLocation located = locate(run, LibraryLocation::Use::Tool, &status);
    if (status != Done)
        return status;
    const Copies::Copier copy = located.take()->copier();
    if (!canPut(*target)) {
        run.say(tr(kCannotWrite).arg(native(*target)));
        return Refused;
    }
    QString error;
    if (!copy(*target, &error)) {
        run.say(oneLine(error));
        return error.contains(QLatin1String("locked")) ? Unavailable : Refused;
    }
    return Done;
}

int restore(const QStringList &arguments, const Run &run)
{
    int status = Done;
    const std::optional<QString> source = fileArgument(arguments, run, &status);
    if (!source)
        return status;
    LibraryLocation located =
        LibraryLocation::find(run.appDir, run.database, LibraryLocation::Use::Tool);
    if (located.isServer()) {
        run.say(located.take()->cannotRestore());
        return Refused;
    }
    if (located.fault() == LibraryLocation::Fault::BadAddress)
        return notFound(run, located);
    // Held to the end: no desk starts on the library while it is replaced.
    SingleCopyLock lock;
    if (lock.take(QDir(run.appDir).filePath(QStringLiteral("lendora.lock")))
        == SingleCopyLock::Result::HeldByOther) {
        run.say(tr(kDeskRunning));
        return Unavailable;
    }
    if (const int found = notFound(run, located); found != Done)
        return found;
    SharedDatabase database(QStringLiteral("lendora-cli"));
    QString problem;
    QString notice;
    if (!database.open(located.take(), &problem, &notice)) {
        run.say(problem);
        return Unavailable;
    }
    if (!notice.isEmpty())
        run.say(notice);
    LibraryRestore restoring(database, run.appDir, run.today, QDateTime::currentDateTime().time());
    switch (restoring.check(*source)) {
    case LibraryRestore::Outcome::IsLibrary:
        run.say(tr(kIsLibrary));
        return Refused;
    case LibraryRestore::Outcome::Unusable:
        run.say(tr(kUnusable).arg(restoring.detail()));
        return Refused;
    default:
        break;
    }
    const bool restored = restoring.run(*source) == LibraryRestore::Outcome::Restored;
    database.close();
    if (!restored) {
        run.say(tr(kNotRestored).arg(restoring.detail()));
        return Refused;
    }
    if (!restoring.detail().isEmpty())
        run.say(restoring.detail());
    run.out->write(
        (tr(kRestored).arg(native(restoring.safetyPath())) + QLatin1Char('\n')).toUtf8());
    return Done;
}

int check(const QStringList &arguments, const Run &run)
{
    QString problem;
    if (!Options::parse(arguments, {}, {}, &problem))
        return run.usageError(problem);
    SharedDatabase database(QStringLiteral("lendora-cli"));
    if (const int opened = openToRead(run, database); opened != Done)
        return opened;
    LibraryCheck checking(database);
    const std::optional<QStringList> problems = checking.problems();
    if (!problems)
        return readFailed(run, checking.lastError());
    for (const QString &line : *problems)
        run.out->write((line + QLatin1Char('\n')).toUtf8());
    if (!problems->isEmpty())
        return Refused;
    run.out->write((tr(kFine) + QLatin1Char('\n')).toUtf8());
    return Done;
}
}  // namespace

Command backupCommand()
{
    return {QStringLiteral("backup"), tr(kFileArgument), tr(kBackupSummary), backup};
}

Command restoreCommand()
{
    return {QStringLiteral("restore"), tr(kFileArgument), tr(kRestoreSummary), restore};
}

Command checkCommand()
{
    return {QStringLiteral("check"), QString(), tr(kCheckSummary), check};
}

}  // namespace lendora::cli
