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
        Other,
    };

    Kind kind = None;
    QString text;  // the engine's own words

    bool isError() const { return kind != None; }
};

}  // namespace lendora
