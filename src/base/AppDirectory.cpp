#include "base/AppDirectory.h"

#include "base/TipsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <unistd.h>

namespace lendora {

const QStringList &AppDirectory::shippedFiles()
{
    static const QStringList files = {
        QStringLiteral("readme.txt"),
        QStringLiteral("readme_en.txt"),
        TipsFile::fileName(),
        QStringLiteral("style/type-style.skn"),
        QStringLiteral("style/light-hearted.skn"),
    };
    return files;
}

QString AppDirectory::installedShareDir(const QString &executableDir)
{
    const QDir bin(executableDir);
    if (bin.dirName() != QLatin1String("bin"))
        return {};
    const QString share = QDir::cleanPath(bin.absoluteFilePath(QStringLiteral("../share/lendora")));
    return QFileInfo(share).isDir() ? share : QString();
}

QString AppDirectory::translationsDir(const QString &executableDir)
{
    const QString share = installedShareDir(executableDir);
    return QDir(share.isEmpty() ? executableDir : share).filePath(QStringLiteral("translations"));
}

QString AppDirectory::settingsDir(const QString &executableDir, const QString &userDataDir)
{
    return installedShareDir(executableDir).isEmpty() ? executableDir : userDataDir;
}

QString AppDirectory::resolve(const QString &executableDir, const QString &userDataDir)
{
    // Where the program is installed decides, never whether its folder can be written: a
    // copy that silently moved elsewhere would start on an empty library.
    const QString share = installedShareDir(executableDir);
    if (share.isEmpty())
        return executableDir;
    QDir().mkpath(userDataDir);
    seed(share, userDataDir);
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

QString AppDirectory::unwritablePart(const QString &databasePath,
                                     const std::function<bool(const QString &)> &canWrite)
{
    const QFileInfo file(databasePath);
    if (!file.isFile())
        return {};
    const QString folder = file.absolutePath();
    if (!canWrite(folder))
        return folder;
    if ((file.permissions() & QFileDevice::WriteOwner) && !canWrite(file.absoluteFilePath()))
        return file.absoluteFilePath();
    return {};
}

bool AppDirectory::canWrite(const QString &path)
{
    // Asked of the system, not tried: a second copy must write nothing anywhere. A folder
    // needs X too, to make files in it.
    const int mode = QFileInfo(path).isDir() ? W_OK | X_OK : W_OK;
    return ::access(QFile::encodeName(path).constData(), mode) == 0;
}

}  // namespace lendora
