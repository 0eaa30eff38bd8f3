#include "cli/Library.h"

#include "base/AppDirectory.h"
#include "data/SharedDatabase.h"
#include "data/postgres/PostgresBackend.h"
#include "data/postgres/ServerAddress.h"
#include "data/sqlite/DatabaseFile.h"
#include "data/sqlite/SqliteBackend.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace lendora::cli {

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("lendora::cli::Library", text);
}
const char *const kNoDatabase =
    QT_TRANSLATE_NOOP("lendora::cli::Library", "找不到数据库文件 %1,没有读取任何数据。");
const char *const kBusy = QT_TRANSLATE_NOOP("lendora::cli::Library", "数据库正忙,请稍后再试: %1");
const char *const kQueryFailed =
    QT_TRANSLATE_NOOP("lendora::cli::Library", "查询失败,数据库无法读取: %1");
const char *const kCannotOpen = QT_TRANSLATE_NOOP("lendora::cli::Library", "无法打开数据库 %1: %2");
}  // namespace

bool canPut(const QString &path)
{
    const QFileInfo file(path);
    return !file.isDir() && file.absoluteDir().exists()
           && AppDirectory::canWrite(file.absolutePath());
}

int findLibrary(const Run &run, QString *path)
{
    // Never a new library: the desk creates it, with its first start.
    *path = DatabaseFile::pathIn(run.appDir);
    if (!QFileInfo(*path).isFile()) {
        run.say(tr(kNoDatabase).arg(QDir::toNativeSeparators(*path)));
        return Unavailable;
    }
    if (const QString bad = DatabaseFile::checkFile(*path); !bad.isEmpty()) {
        run.say(bad);
        return Refused;
    }
    return Done;
}

int readFailed(const Run &run, const DbError &error)
{
    run.say(error.kind == DbError::Busy ? tr(kBusy).arg(error.text)
                                        : tr(kQueryFailed).arg(error.text));
    return Unavailable;
}

std::unique_ptr<Backend> serverOf(const Run &run, int *status)
{
    QString problem;
    const std::optional<ServerAddress> address = ServerAddress::parse(run.database, &problem);
    if (!address) {
        run.say(problem);
        *status = Usage;
        return nullptr;
    }
    *status = Done;
    return std::make_unique<PostgresBackend>(*address);
}

int openToRead(const Run &run, SharedDatabase &database)
{
    if (!run.database.isEmpty()) {
        int status = Done;
        std::unique_ptr<Backend> server = serverOf(run, &status);
        DbError error;
        if (server && !database.openReadOnly(std::move(server), &error)) {
            run.say(tr(kCannotOpen).arg(run.database, error.text));
            return Unavailable;
        }
        return status;
    }
    QString path;
    if (const int found = findLibrary(run, &path); found != Done)
        return found;
    DbError error;
    if (!database.openReadOnly(std::make_unique<SqliteBackend>(path), &error)) {
        run.say(error.kind == DbError::Busy
                    ? tr(kBusy).arg(error.text)
                    : tr(kCannotOpen).arg(QDir::toNativeSeparators(path), error.text));
        return Unavailable;
    }
    QSqlDatabase connection = database.db();
    if (const QString bad = DatabaseFile::checkContent(connection, path, false); !bad.isEmpty()) {
        run.say(bad);
        return Refused;
    }
    return Done;
}

int openToWrite(const Run &run, SharedDatabase &database, bool deskRuns)
{
    if (!run.database.isEmpty()) {
        int status = Done;
        std::unique_ptr<Backend> server = serverOf(run, &status);
        QString problem;
        if (server && !database.open(std::move(server), &problem)) {
            run.say(problem);
            return Unavailable;
        }
        return status;
    }
    QString path;
    if (const int found = findLibrary(run, &path); found != Done)
        return found;
    const auto mode = deskRuns ? SqliteBackend::Mode::BesideDesk : SqliteBackend::Mode::Desk;
    QString problem;
    QString notice;
    if (!database.open(std::make_unique<SqliteBackend>(path, mode), &problem, &notice)) {
        run.say(problem);
        return Unavailable;
    }
    if (!notice.isEmpty())
        run.say(notice);
    return Done;
}

}  // namespace lendora::cli
