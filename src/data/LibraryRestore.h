#pragma once

#include <QDate>
#include <QString>
#include <QTime>

namespace lendora {

class SharedDatabase;

// Takes the library open on a SharedDatabase back to a copy, in the steps the desk's backup
// window and lendora-cli share: the library itself is refused, the copy checked whole, what
// the library holds now copied aside to backup/, and only then the copy's rows written. The
// callers ask and tell; the texts are theirs.
class LibraryRestore {
public:
    enum class Outcome {
        Ready,         // check(): the copy may be taken back
        Restored,      // run(): the library holds the copy's rows; detail() as open()'s notice
        IsLibrary,     // the file named is the library itself
        Unusable,      // the file is not a copy this program can take back: detail() says why
        NoSafetyCopy,  // what the library holds could not be copied aside: nothing was changed
        NotRestored,   // the engine refused: the library is as it was, detail() says why
    };

    // The copy aside goes to backup/ of `appDir`, named for that moment.
    LibraryRestore(SharedDatabase &database, const QString &appDir, const QDate &day,
                   const QTime &time);

    // Why this library cannot take a copy back here (a server's); empty when it can.
    QString cannotRestore() const;
    // Whether `source` may be taken back: Ready, IsLibrary or Unusable.
    Outcome check(const QString &source);
    // Where what the library holds is copied aside: backup/Lendora-restore-<moment>.mdb.
    QString safetyPath() const { return m_safety; }
    // Copies the library aside, then writes the rows of `source` (which check() passed):
    // Restored, NoSafetyCopy or NotRestored.
    Outcome run(const QString &source);
    QString detail() const { return m_detail; }

    // Empty when `path` is a copy this program can take back, checked whole as the start
    // checks a library after an unclean end; else the clerk's message. Only reads the file.
    static QString checkCopy(const QString &path);

private:
    SharedDatabase &m_database;
    QString m_folder;
    QString m_safety;
    QString m_detail;
};

}  // namespace lendora
