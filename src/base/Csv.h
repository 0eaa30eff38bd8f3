#pragma once

#include "base/TextFile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace lendora {

// Lists for spreadsheets: RFC 4180 with CR LF line ends, in UTF-8 with a byte order mark
// (what Chinese spreadsheet users open). A cell a spreadsheet would run as a formula gets one
// leading "'"; reading takes that "'" off again, so a text written and read back is the text
// it was, and leaves every other leading "'" of a file written elsewhere.
class Csv {
public:
    // The cell as written: `text` with one leading "'" when it starts with = + - @ TAB CR or '.
    static QString guard(const QString &text);
    // The text a written cell stands for: one leading "'" taken off where the guard put it,
    // before = + - @ TAB CR or '.
    static QString unguard(const QString &cell);

    // One line as written: every cell guarded and quoted where needed, CR LF at the end. A
    // long list is written line by line with this, never held whole.
    static QString line(const QStringList &cells);
    // What a UTF-8 file starts with.
    static QByteArray byteOrderMark();

    // The whole file: the header line, then one line per row.
    static QByteArray write(const QStringList &header, const QList<QStringList> &rows);

    enum class Problem {
        None,
        Empty,            // no header line at all
        NotText,          // NUL bytes: a binary file
        UnknownEncoding,  // neither UTF-8 nor GB18030 (or not the encoding asked for)
        UnclosedQuote,    // a quote opened at `problemLine` is never closed
        BadWorkbook,      // an .xlsx workbook (see Workbook) that cannot be read
    };
    struct Row {
        int line = 0;  // the file's line the row starts on, 1 for the header; a sheet's row
        QStringList cells;
    };
    struct Table {
        QStringList header;  // trimmed
        QList<Row> rows;     // blank lines at the end left out
        TextFile::Encoding encoding = TextFile::Encoding::Utf8;
        Problem problem = Problem::None;
        int problemLine = 0;
        bool workbook = false;  // read from the first sheet of a workbook, not from CSV
        bool ok() const { return problem == Problem::None; }
    };

    // The encoding of a file: UTF-8 (with or without a byte order mark) when the bytes are
    // UTF-8, else GB18030 when they are that; nullopt for bytes in neither.
    static std::optional<TextFile::Encoding> detect(const QByteArray &bytes);
    // Reads a file in `encoding`, or in the detected one. Every cell is unguarded.
    static Table read(const QByteArray &bytes,
                      std::optional<TextFile::Encoding> encoding = std::nullopt);
};

}  // namespace lendora
