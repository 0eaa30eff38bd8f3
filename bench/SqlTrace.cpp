#include "SqlTrace.h"

#include <cctype>
#include <cstdlib>
#include <unordered_map>
#include <unordered_set>

namespace bench {

namespace {

bool g_capturing = false;
std::vector<TracedStatement> g_statements;
std::unordered_map<sqlite3_stmt *, size_t> g_running;  // statement -> its entry
std::unordered_set<sqlite3 *> g_connections;           // open, traced when capturing
std::unordered_set<sqlite3 *> g_ignored;

constexpr unsigned kCaptureMask = SQLITE_TRACE_STMT | SQLITE_TRACE_ROW | SQLITE_TRACE_PROFILE;

int onTrace(unsigned type, void *, void *p, void *x);

bool isNameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_'
           || static_cast<unsigned char>(c) >= 0x80;
}

void setMask(sqlite3 *db, bool capturing)
{
    sqlite3_trace_v2(db, SQLITE_TRACE_CLOSE | (capturing ? kCaptureMask : 0u), onTrace, nullptr);
}

int onTrace(unsigned type, void *, void *p, void *x)
{
    if (type == SQLITE_TRACE_CLOSE) {
        auto *db = static_cast<sqlite3 *>(p);
        g_connections.erase(db);
        g_ignored.erase(db);
        return 0;
    }
    auto *stmt = static_cast<sqlite3_stmt *>(p);
    if (!g_capturing || g_ignored.count(sqlite3_db_handle(stmt)))
        return 0;
    switch (type) {
    case SQLITE_TRACE_STMT: {
        const char *text = static_cast<const char *>(x);
        if (text && text[0] == '-' && text[1] == '-')
            return 0;  // a trigger's program: part of the statement that fired it
        TracedStatement s;
        s.connection = sqlite3_db_handle(stmt);
        s.sql = sqlite3_sql(stmt);
        char *expanded = sqlite3_expanded_sql(stmt);
        s.values = SqlTrace::valuesOf(s.sql, expanded ? expanded : "");
        sqlite3_free(expanded);
        g_running[stmt] = g_statements.size();
        g_statements.push_back(std::move(s));
        break;
    }
    case SQLITE_TRACE_ROW:
        if (auto it = g_running.find(stmt); it != g_running.end())
            ++g_statements[it->second].rows;
        break;
    case SQLITE_TRACE_PROFILE:
        // Fires when a step ends the statement and when it is reset: only in the first case
        // is it no longer busy.
        if (auto it = g_running.find(stmt); it != g_running.end()) {
            g_statements[it->second].finished = !sqlite3_stmt_busy(stmt);
            g_running.erase(it);
        }
        break;
    default:
        break;
    }
    return 0;
}

int entryPoint(sqlite3 *db, const char **, const sqlite3_api_routines *)
{
    g_connections.insert(db);
    setMask(db, g_capturing);
    return SQLITE_OK;
}

}  // namespace

void SqlTrace::install()
{
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(entryPoint));
}

void SqlTrace::ignore(sqlite3 *connection)
{
    g_ignored.insert(connection);
}

void SqlTrace::start()
{
    g_statements.clear();
    g_running.clear();
    g_capturing = true;
    for (sqlite3 *db : g_connections)
        setMask(db, true);
}

std::vector<TracedStatement> SqlTrace::stop()
{
    g_capturing = false;
    for (sqlite3 *db : g_connections)
        setMask(db, false);
    g_running.clear();
    return std::move(g_statements);
}

std::vector<BoundValue> SqlTrace::valuesOf(const std::string &sql, const std::string &expanded)
{
    std::vector<BoundValue> values;
    std::unordered_set<std::string> seen;
    size_t i = 0, j = 0;
    while (i < sql.size() && j <= expanded.size()) {
        const char c = sql[i];
        if (c == '\'') {
            // A literal of the statement itself, copied as it stands.
            size_t end = i + 1;
            while (end < sql.size()) {
                if (sql[end] == '\'' && (end + 1 >= sql.size() || sql[end + 1] != '\''))
                    break;
                end += sql[end] == '\'' ? 2 : 1;
            }
            j += end + 1 - i;
            i = end + 1;
            continue;
        }
        // A parameter: ?, ?NNN, :name, @name or $name (Qt's driver names them :0, :1, ...).
        const bool named =
            (c == ':' || c == '@' || c == '$') && i + 1 < sql.size() && isNameChar(sql[i + 1]);
        if (c != '?' && !named) {
            ++i;
            ++j;
            continue;
        }
        const size_t nameStart = i;
        ++i;
        while (i < sql.size() && isNameChar(sql[i]))
            ++i;
        const std::string name = sql.substr(nameStart, i - nameStart);
        BoundValue v;
        if (expanded.compare(j, 4, "NULL") == 0) {
            j += 4;
        } else if (j < expanded.size() && expanded[j] == '\'') {
            v.kind = BoundValue::Text;
            ++j;
            while (j < expanded.size()) {
                if (expanded[j] == '\'') {
                    if (j + 1 < expanded.size() && expanded[j + 1] == '\'') {
                        v.text += '\'';
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                v.text += expanded[j++];
            }
        } else {
            const size_t start = j;
            bool real = false;
            while (j < expanded.size()
                   && (std::isdigit(static_cast<unsigned char>(expanded[j])) || expanded[j] == '-'
                       || expanded[j] == '+' || expanded[j] == '.' || expanded[j] == 'e'
                       || expanded[j] == 'E')) {
                real = real || expanded[j] == '.' || expanded[j] == 'e' || expanded[j] == 'E';
                ++j;
            }
            const std::string number = expanded.substr(start, j - start);
            if (real) {
                v.kind = BoundValue::Real;
                v.real = std::strtod(number.c_str(), nullptr);
            } else {
                v.kind = BoundValue::Integer;
                v.integer = std::strtoll(number.c_str(), nullptr, 10);
            }
        }
        // A name used again binds the same value: it is one parameter.
        if (name == "?" || seen.insert(name).second)
            values.push_back(std::move(v));
    }
    return values;
}

}  // namespace bench
