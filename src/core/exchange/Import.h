#pragma once

#include "base/Csv.h"
#include "data/DbError.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>

namespace lendora {

class SharedDatabase;

// Books or readers from a CSV file or an .xlsx workbook into the library, all or nothing. The
// file's columns are found by their headings (the table's column names); the caller may map
// them otherwise.
class Import {
public:
    enum class Kind { Books, Readers };

    // A line that cannot be imported, and why.
    struct Reject {
        int line = 0;    // the file's line
        QString column;  // the table's column, empty for the line as a whole
        QString reason;
        QString text() const;  // "第 12 行 书籍编号: ..."
    };

    struct Options {
        Kind kind = Kind::Books;
        // For each of fields(kind), the index of the file's column that fills it; -1 for none.
        QList<int> mapping;
        bool skipExisting = false;  // rows whose number the library holds are left out
    };

    struct Outcome {
        bool written = false;
        int added = 0;
        int skipped = 0;        // numbers the library held already, with skipExisting
        QString problem;        // the whole file refused (no key column, unclosed quote, ...)
        QList<Reject> rejects;  // each line refused; none written when there is one
        DbError error;          // the engine's refusal
        bool refused() const { return !problem.isEmpty() || !rejects.isEmpty() || error.isError(); }
        // What the clerk is told: the count, or why nothing was written.
        QString message(Kind kind, int rejectsShown = 10) const;
    };

    // The table's columns an import fills, in the table's order; the key first.
    static QStringList fields(Kind kind);
    // Each field mapped to the file's column of the same heading, or -1.
    static QList<int> defaultMapping(Kind kind, const QStringList &header);
    // A file's rows: the first sheet of a workbook (an .xlsx file, whatever its name), else
    // CSV in `encoding` or the one detected.
    static Csv::Table readFile(const QByteArray &bytes,
                               std::optional<TextFile::Encoding> encoding = std::nullopt);
    // The whole file's problem as the clerk reads it; empty when the file was read.
    static QString problemOf(const Csv::Table &table);
    // A date as the file may write it (yyyy-MM-dd, yyyy/M/d, yyyy.M.d, yyyy年M月d日).
    static QDate parseDate(const QString &text);

    explicit Import(SharedDatabase &database) : m_database(database) {}

    // Checks every line against the file and the library without writing anything.
    Outcome check(const Csv::Table &table, const Options &options);
    // Checks, then writes every row in one transaction; nothing at all when a line is refused.
    Outcome run(const Csv::Table &table, const Options &options);

private:
    Outcome prepare(const Csv::Table &table, const Options &options, QList<QVariantList> *rows);

    SharedDatabase &m_database;
};

}  // namespace lendora
