#include "data/LibraryLocation.h"

#include "base/DeskSettings.h"
#include "data/postgres/PostgresBackend.h"
#include "data/postgres/ServerAddress.h"
#include "data/sqlite/DatabaseFile.h"
#include "data/sqlite/SqliteBackend.h"

#include <QDir>
#include <QFileInfo>

namespace lendora {

LibraryLocation::~LibraryLocation() = default;

LibraryLocation LibraryLocation::failed(Fault fault, QString problem, QString path)
{
    LibraryLocation location;
    location.m_fault = fault;
    location.m_problem = std::move(problem);
    location.m_path = std::move(path);
    return location;
}

QString LibraryLocation::fileIn(const QString &appDir)
{
    return DatabaseFile::pathIn(appDir);
}

LibraryLocation LibraryLocation::find(const QString &appDir, const QString &database, Use use)
{
    const QString server =
        !database.isEmpty() ? database : DeskSettings::inFolder(appDir).database();
    return server.isEmpty() ? inFolder(appDir, use) : onServer(server);
}

LibraryLocation LibraryLocation::inFolder(const QString &appDir, Use use)
{
    return ofFile(fileIn(appDir), use);
}

LibraryLocation LibraryLocation::ofFile(const QString &path, Use use)
{
    if (use != Use::Desk) {
        // A tool never makes a library: the desk does, at its first start.
        if (!QFileInfo(path).isFile())
            return failed(Fault::Missing, {}, path);
        if (QString bad = DatabaseFile::checkFile(path); !bad.isEmpty())
            return failed(Fault::NotLibrary, std::move(bad), path);
    }
    auto backend = std::make_unique<SqliteBackend>(
        path, use == Use::BesideDesk ? SqliteBackend::Mode::BesideDesk : SqliteBackend::Mode::Desk);
    backend->setCheckInBackground(use == Use::Desk);
    LibraryLocation location;
    location.m_path = path;
    location.m_backend = std::move(backend);
    return location;
}

LibraryLocation LibraryLocation::onServer(const QString &url)
{
    QString problem;
    const std::optional<ServerAddress> address = ServerAddress::parse(url, &problem);
    if (!address)
        return failed(Fault::BadAddress, problem);
    LibraryLocation location;
    location.m_server = true;
    location.m_backend = std::make_unique<PostgresBackend>(*address);
    return location;
}

}  // namespace lendora
