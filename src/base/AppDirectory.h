#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace lendora {

// The application directory. An installed program (<prefix>/bin/lendora beside
// <prefix>/share/lendora/) keeps its files in the per-user data directory, seeded from
// share/lendora/; any other copy (a build, an unpacked folder) keeps them in its own folder,
// whether or not that folder can be written.
class AppDirectory {
public:
    static const QStringList &shippedFiles();  // relative paths
    // <prefix>/share/lendora when `executableDir` is <prefix>/bin of an installed program;
    // empty otherwise.
    static QString installedShareDir(const QString &executableDir);
    // Where the .qm files are: share/lendora/translations of an installed program,
    // translations/ beside any other.
    static QString translationsDir(const QString &executableDir);
    // The application directory resolve() gives, without seeding anything.
    static QString settingsDir(const QString &executableDir, const QString &userDataDir);
    static QString resolve(const QString &executableDir, const QString &userDataDir);
    // Copies the shipped files that `to` does not hold yet.
    static void seed(const QString &from, const QString &to);

    // What keeps the library file at `databasePath` from being written: the file itself or
    // its folder (the engine makes its log files beside it), as `canWrite` answers; empty when
    // both can be written or there is no file yet. A file without its owner's write bit is
    // left to the backend, which calls it read-only.
    static QString unwritablePart(const QString &databasePath,
                                  const std::function<bool(const QString &)> &canWrite);
    // Whether this process may write `path` (and, for a folder, create files in it).
    static bool canWrite(const QString &path);
};

}  // namespace lendora
