#include "app/AppDirectory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <unistd.h>

namespace lendora {

namespace {
bool writable(const QString &dir)
{
    // Asked of the system, not tried: a second copy must write nothing anywhere.
    return ::access(QFile::encodeName(dir).constData(), W_OK | X_OK) == 0;
}
}  // namespace

const QStringList &AppDirectory::shippedFiles()
{
    static const QStringList files = {
        QStringLiteral("readme.txt"),
        QStringLiteral("QUICKTIP.INI"),
        QStringLiteral("style/type-style.skn"),
        QStringLiteral("style/light-hearted.skn"),
    };
    return files;
}

QString AppDirectory::resolve(const QString &executableDir, const QString &userDataDir)
{
    if (writable(executableDir))
        return executableDir;
    QDir().mkpath(userDataDir);
    seed(executableDir, userDataDir);
    return userDataDir;
}

void AppDirectory::seed(const QString &from, const QString &to)
{
    for (const QString &relative : shippedFiles()) {
        const QString source = QDir(from).filePath(relative);
        const QString target = QDir(to).filePath(relative);
        if (QFileInfo::exists(target) || !QFileInfo::exists(source))
            continue;
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (QFile::copy(source, target))
            QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    }
}

}  // namespace lendora
