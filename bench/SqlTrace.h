#pragma once

#include <sqlite3.h>

#include <string>
#include <vector>

namespace bench {

struct BoundValue {
    enum Kind { Null, Integer, Real, Text } kind = Null;
    long long integer = 0;
    double real = 0;
    std::string text;
};

// One execution of a statement by the program, as SQLite saw it.
struct TracedStatement {
    sqlite3 *connection = nullptr;
    std::string sql;                 // as prepared, with its parameters
    std::vector<BoundValue> values;  // what was bound, in order
    long rows = 0;                   // rows the program stepped through
    bool finished = false;           // stepped until the statement was done
};

// Records the statements every connection of this process runs (the program's connections
// through Qt's driver share this process's libsqlite3). Only while capturing does a
// connection carry a trace callback, so timed runs are not slowed down.
class SqlTrace {
public:
    static void install();                    // before the first connection is opened
    static void ignore(sqlite3 *connection);  // the floor's own connections
    static void start();
    static std::vector<TracedStatement> stop();

    // The values bound to `sql`, read back from the statement's expanded text.
    static std::vector<BoundValue> valuesOf(const std::string &sql, const std::string &expanded);
};

}  // namespace bench
