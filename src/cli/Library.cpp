#include "cli/Library.h"

#include "base/AppDirectory.h"
#include "data/SharedDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

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

QString oneLine(const QString &text)
{
    static const QRegularExpression kBreaks(QStringLiteral("\\s*[\\r\\n]+\\s*"));
    return QString(text).replace(kBreaks, QStringLiteral(" ")).trimmed();
}

bool canPut(const QString &path)
{
    const QFileInfo file(path);
    return !file.isDir() && file.absoluteDir().exists()
           && AppDirectory::canWrite(file.absolutePath());
}

int notFound(const Run &run, const LibraryLocation &located)
{
    switch (located.fault()) {
    case LibraryLocation::Fault::None:
        return Done;
    case LibraryLocation::Fault::BadAddress:
        run.say(located.problem());
        return Usage;
    case LibraryLocation::Fault::Missing:
        run.say(tr(kNoDatabase).arg(QDir::toNativeSeparators(located.filePath())));
        return Unavailable;
    case LibraryLocation::Fault::NotLibrary:
        run.say(located.problem());
        return Refused;
    }
    return Refused;
}

LibraryLocation locate(const Run &run, LibraryLocation::Use use, int *status)
{
    LibraryLocation located = LibraryLocation::find(run.appDir, run.database, use);
    *status = notFound(run, located);
    return located;
}

int readFailed(const Run &run, const DbError &error)
{
    const QString text = oneLine(error.text);
    run.say(error.kind == DbError::Busy ? tr(kBusy).arg(text) : tr(kQueryFailed).arg(text));
    return Unavailable;
}

int openToRead(const Run &run, SharedDatabase &database)
{
    int status = Done;
    LibraryLocation located = locate(run, LibraryLocation::Use::Tool, &status);
    return status == Done ? openToRead(run, std::move(located), database) : status;
}

int openToRead(const Run &run, LibraryLocation located, SharedDatabase &database)
{
    DbError error;
    if (!database.openReadOnly(located.take(), &error)) {
        run.say(error.kind == DbError::Busy
                    ? tr(kBusy).arg(oneLine(error.text))
                    : tr(kCannotOpen).arg(database.location(), oneLine(error.text)));
        return Unavailable;
    }
    const QString bad = database.checkLibrary(&error);
    if (error.isError())
        return readFailed(run, error);
    if (!bad.isEmpty()) {
        run.say(bad);
        return Refused;
    }
    return Done;
}

int openToWrite(const Run &run, SharedDatabase &database, bool deskRuns)
{
    int status = Done;
    LibraryLocation located = locate(
        run, deskRuns ? LibraryLocation::Use::BesideDesk : LibraryLocation::Use::Tool, &status);
    if (status != Done)
        return status;
    QString problem;
    QString notice;
    if (!database.open(located.take(), &problem, &notice)) {
        run.say(problem);
        return Unavailable;
    }
    if (!notice.isEmpty())
        run.say(notice);
    return Done;
}

}  // namespace lendora::cli
