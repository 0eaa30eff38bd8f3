#pragma once

#include "SqlTrace.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace bench {

// The same SQL the program ran, run directly through the SQLite C API on the same file: the
// least any program could spend on it. Two connections stand for the program's two kinds:
// the shared read-write one and a grid's read-only one, with the same pragmas.
class Floor {
public:
    explicit Floor(const std::string &path);
    ~Floor();
    Floor(const Floor &) = delete;
    Floor &operator=(const Floor &) = delete;

    sqlite3 *shared() const { return m_shared; }

    // Replays the statements in order: each prepared once on this side and reused, its values
    // bound (text values found in `swap` replaced), stepped through as many rows as the
    // program stepped, every column read. Statements of `programShared` run on the shared
    // connection, all others on the grid connection; connection set-up (PRAGMA) is left out.
    // Milliseconds, or -1 when a statement failed (lastError() says which).
    double run(const std::vector<TracedStatement> &statements, sqlite3 *programShared,
               const std::map<std::string, std::string> &swap = {});

    // Opens a fresh connection and runs every statement on it, set-up included: the floor of
    // the program's start-up. Milliseconds, or -1.
    static double openAndRun(const std::string &path,
                             const std::vector<TracedStatement> &statements, std::string *error);

    const std::string &lastError() const { return m_error; }

private:
    sqlite3_stmt *statement(sqlite3 *db, const std::string &sql);
    bool replay(sqlite3 *db, sqlite3_stmt *stmt, const TracedStatement &s,
                const std::map<std::string, std::string> &swap);

    sqlite3 *m_shared = nullptr;
    sqlite3 *m_grid = nullptr;
    std::map<std::pair<sqlite3 *, std::string>, sqlite3_stmt *> m_statements;
    std::string m_error;
};

}  // namespace bench
