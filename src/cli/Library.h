#pragma once

#include "cli/Cli.h"

#include <memory>

namespace lendora {
class Backend;
class SharedDatabase;
struct DbError;
}  // namespace lendora

namespace lendora::cli {

// Opens the library of `run.appDir` to read it, beside a desk that may be running on it: never
// creates one, refuses a file that is not a library, and leaves the desk's start-up marker
// alone. Done, or the exit status with the reason already said on stderr.
int openToRead(const Run &run, SharedDatabase &database);

// The library's file in `run.appDir`, when there is one and it is this program's: Done with
// `path` set, or the exit status with the reason already said.
int findLibrary(const Run &run, QString *path);

// The server's library the command line names, or nullptr with `status` set and the reason
// said.
std::unique_ptr<Backend> serverOf(const Run &run, int *status);

// Says why reading the library failed (busy, or the engine's reason): Unavailable.
int readFailed(const Run &run, const DbError &error);

// Whether a file can be put at `path`: its folder exists and takes new files, and the path
// is not a folder. Asked before anything is read or written.
bool canPut(const QString &path);
// Opens the library of `run.appDir` to write: never creates one and refuses a file that is not
// a library. Beside a running desk (`deskRuns`) the connection writes without the desk's
// marker and never checkpoints; otherwise the library is opened as the desk opens it.
int openToWrite(const Run &run, SharedDatabase &database, bool deskRuns);

}  // namespace lendora::cli
