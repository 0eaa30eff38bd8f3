#pragma once

#include <QString>

namespace lendora {

// Why the engine refused, sorted into the classes the desk treats differently. Each backend
// sorts its own engine's errors.
struct DbError {
    enum Kind {
        None,
        UniqueViolation,  // a row with that key is there already
        Busy,             // another connection holds the lock longer than we wait
        Retry,            // the transaction lost a race and may simply be run again
        ConnectionLost,   // the database went away under the connection
        DiskFull,         // nothing more can be written
        IoError,          // the disk failed to read, write or sync
        Replaced,         // the library's file was deleted or replaced under the desk
        Unchecked,        // the library failed its check after an unclean end
        Other,
    };

    Kind kind = None;
    QString text;  // the engine's own words
    // The commit was reported failed and nobody could tell afterwards whether it is in the
    // library: the clerk must look again rather than be told nothing changed.
    bool unsure = false;

    bool isError() const { return kind != None; }
    // What the clerk is told about a refused change: the cause in plain words, and that
    // nothing was changed, or, when unsure, that the clerk must look again.
    QString forClerk() const;
};

}  // namespace lendora
