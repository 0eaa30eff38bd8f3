#include "Floor.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace bench {

namespace {

double msSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

bool isSetUp(const std::string &sql)
{
    return sql.size() >= 6
           && (sql.compare(0, 6, "PRAGMA") == 0 || sql.compare(0, 6, "pragma") == 0);
}

sqlite3 *open(const std::string &path, const char *pragmas)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    SqlTrace::ignore(db);
    sqlite3_exec(db, pragmas, nullptr, nullptr, nullptr);
    return db;
}

// Steps as the program stepped and reads every column of every row, as its driver does.
bool step(sqlite3_stmt *stmt, const TracedStatement &s, std::string *error)
{
    long long sink = 0;
    const int columns = sqlite3_column_count(stmt);
    for (long row = 0; row < s.rows; ++row) {
        if (sqlite3_step(stmt) != SQLITE_ROW) {
            *error = "fewer rows than the program read: " + s.sql;
            return false;
        }
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_INTEGER:
                sink += sqlite3_column_int64(stmt, c);
                break;
            case SQLITE_FLOAT:
                sink += static_cast<long long>(sqlite3_column_double(stmt, c));
                break;
            case SQLITE_NULL:
                break;
            default:
                sink += sqlite3_column_bytes(stmt, c) + (sqlite3_column_text(stmt, c) ? 1 : 0);
                break;
            }
        }
    }
    // Keeps the reads from being optimised away.
    asm volatile("" : : "r"(sink) : "memory");
    if (s.finished || s.rows == 0) {
        const int rc = sqlite3_step(stmt);
        if (rc != SQLITE_DONE && !(rc == SQLITE_ROW && !s.finished)) {
            *error = std::string(sqlite3_errmsg(sqlite3_db_handle(stmt))) + ": " + s.sql;
            return false;
        }
    }
    return true;
}

}  // namespace

Floor::Floor(const std::string &path)
    : m_shared(open(path, "PRAGMA busy_timeout=5000; PRAGMA journal_mode=WAL;"
                          " PRAGMA synchronous=FULL;")),
      m_grid(open(path, "PRAGMA busy_timeout=5000; PRAGMA query_only=1;"))
{}

Floor::~Floor()
{
    for (auto &entry : m_statements)
        sqlite3_finalize(entry.second);
    sqlite3_close(m_grid);
    sqlite3_close(m_shared);
}

sqlite3_stmt *Floor::statement(sqlite3 *db, const std::string &sql)
{
    sqlite3_stmt *&stmt = m_statements[{db, sql}];
    if (!stmt && sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
        m_error = std::string(sqlite3_errmsg(db)) + ": " + sql;
    return stmt;
}

bool Floor::replay(sqlite3 *db, sqlite3_stmt *stmt, const TracedStatement &s,
                   const std::map<std::string, std::string> &swap)
{
    sqlite3_reset(stmt);
    for (size_t i = 0; i < s.values.size(); ++i) {
        const BoundValue &v = s.values[i];
        const int at = static_cast<int>(i) + 1;
        switch (v.kind) {
        case BoundValue::Null:
            sqlite3_bind_null(stmt, at);
            break;
        case BoundValue::Integer:
            sqlite3_bind_int64(stmt, at, v.integer);
            break;
        case BoundValue::Real:
            sqlite3_bind_double(stmt, at, v.real);
            break;
        case BoundValue::Text: {
            const auto swapped = swap.find(v.text);
            const std::string &text = swapped == swap.end() ? v.text : swapped->second;
            sqlite3_bind_text(stmt, at, text.c_str(), static_cast<int>(text.size()),
                              SQLITE_TRANSIENT);
            break;
        }
        }
    }
    const bool ok = step(stmt, s, &m_error);
    sqlite3_reset(stmt);
    (void)db;
    return ok;
}

double Floor::run(const std::vector<TracedStatement> &statements, sqlite3 *programShared,
                  const std::map<std::string, std::string> &swap)
{
    const auto start = std::chrono::steady_clock::now();
    for (const TracedStatement &s : statements) {
        if (isSetUp(s.sql))
            continue;
        sqlite3 *db = s.connection == programShared ? m_shared : m_grid;
        const auto one = std::chrono::steady_clock::now();
        sqlite3_stmt *stmt = statement(db, s.sql);
        if (!stmt || !replay(db, stmt, s, swap)) {
            if (!sqlite3_get_autocommit(m_shared))
                sqlite3_exec(m_shared, "ROLLBACK", nullptr, nullptr, nullptr);
            return -1;
        }
        if (std::getenv("LENDORA_BENCH_VERBOSE"))
            std::fprintf(stderr, "    %8.3f ms %5ld rows  %.100s\n", msSince(one), s.rows,
                         s.sql.c_str());
    }
    return msSince(start);
}

double Floor::openAndRun(const std::string &path, const std::vector<TracedStatement> &statements,
                         std::string *error)
{
    const auto start = std::chrono::steady_clock::now();
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        *error = sqlite3_errmsg(db);
        sqlite3_close(db);
        return -1;
    }
    SqlTrace::ignore(db);
    bool ok = true;
    for (const TracedStatement &s : statements) {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(db, s.sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
            *error = std::string(sqlite3_errmsg(db)) + ": " + s.sql;
            ok = false;
            break;
        }
        for (size_t i = 0; i < s.values.size(); ++i) {
            if (s.values[i].kind == BoundValue::Text)
                sqlite3_bind_text(stmt, int(i) + 1, s.values[i].text.c_str(), -1, SQLITE_TRANSIENT);
            else if (s.values[i].kind == BoundValue::Integer)
                sqlite3_bind_int64(stmt, int(i) + 1, s.values[i].integer);
        }
        ok = step(stmt, s, error);
        sqlite3_finalize(stmt);
        if (!ok)
            break;
    }
    sqlite3_close(db);
    return ok ? msSince(start) : -1;
}

}  // namespace bench
