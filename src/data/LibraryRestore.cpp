#include "data/LibraryRestore.h"

#include "data/Backups.h"
#include "data/SharedDatabase.h"
#include "data/sqlite/SqliteBackup.h"

#include <QDir>

namespace lendora {

LibraryRestore::LibraryRestore(SharedDatabase &database, const QString &appDir, const QDate &day,
                               const QTime &time)
    : m_database(database)
{
    const Backups backups(appDir);
    m_folder = backups.folder();
    m_safety = backups.pathFor(day, time, QStringLiteral("restore"));
}

QString LibraryRestore::checkCopy(const QString &path)
{
    // Every copy is a file of the desk's own kind, whichever engine holds the library.
    return SqliteBackup::check(path);
}

QString LibraryRestore::cannotRestore() const
{
    const Copies *copies = m_database.copies();
    return copies ? copies->cannotRestore() : QString();
}

LibraryRestore::Outcome LibraryRestore::check(const QString &source)
{
    m_detail.clear();
    if (const Copies *copies = m_database.copies(); copies && copies->isLibrary(source))
        return Outcome::IsLibrary;
    m_detail = checkCopy(source);
    return m_detail.isEmpty() ? Outcome::Ready : Outcome::Unusable;
}

LibraryRestore::Outcome LibraryRestore::run(const QString &source)
{
    m_detail.clear();
    Copies *copies = m_database.copies();
    if (!copies) {
        m_detail = QStringLiteral("the database is not open");
        return Outcome::NotRestored;
    }
    // What the library holds now stays within reach, whatever the copy turns out to be.
    if (!QDir().mkpath(m_folder) || !copies->copier()(m_safety, &m_detail))
        return Outcome::NoSafetyCopy;
    QString notice;
    DbError failed;
    if (!m_database.restoreFrom(source, &notice, &failed)) {
        m_detail = failed.text;
        return Outcome::NotRestored;
    }
    m_detail = notice;
    return Outcome::Restored;
}

}  // namespace lendora
