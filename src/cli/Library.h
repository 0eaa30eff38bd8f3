#pragma once

#include "cli/Cli.h"
#include "data/LibraryLocation.h"

namespace lendora {
class SharedDatabase;
struct DbError;
}  // namespace lendora

namespace lendora::cli {

// The library the command names (--database, else the folder's setting.ini, else the folder's
// file), as `use` needs it: never a new one. `status` is Done, or the exit status with the
// reason already said on stderr.
LibraryLocation locate(const Run &run, LibraryLocation::Use use, int *status);
// Says why `located` was not found: Done when it was, else the exit status.
int notFound(const Run &run, const LibraryLocation &located);

// Opens the library of `run` to read it, beside a desk that may be running on it: never
// creates one, refuses a file that is not a library, and leaves the desk's start-up marker
// alone. Done, or the exit status with the reason already said on stderr.
int openToRead(const Run &run, SharedDatabase &database);
// The same for a library already located.
int openToRead(const Run &run, LibraryLocation located, SharedDatabase &database);

// Says why reading the library failed (busy, or the engine's reason): Unavailable.
int readFailed(const Run &run, const DbError &error);

// Whether a file can be put at `path`: its folder exists and takes new files, and the path
// is not a folder. Asked before anything is read or written.
bool canPut(const QString &path);
// Opens the library of `run` to write: never creates one and refuses a file that is not a
// library. Beside a running desk (`deskRuns`) the connection writes without the desk's
// marker and never checkpoints; otherwise the library is opened as the desk opens it.
int openToWrite(const Run &run, SharedDatabase &database, bool deskRuns);

// An engine's words on one line: a server's often run over several, and the command says
// one line per problem.
QString oneLine(const QString &text);

}  // namespace lendora::cli
