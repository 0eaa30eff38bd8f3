#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace lendora {

// Lists for spreadsheets: RFC 4180 with CR LF line ends, in UTF-8 with a byte order mark
// (what Chinese spreadsheet users open). A cell a spreadsheet would run as a formula gets one
// leading "'"; reading takes one leading "'" off again, so a text written and read back is
// the text it was.
class Csv {
public:
    // The cell as written: `text` with one leading "'" when it starts with = + - @ TAB CR or '.
    static QString guard(const QString &text);
    // The text a written cell stands for: one leading "'" taken off.
    static QString unguard(const QString &cell);

    // One line as written: every cell guarded and quoted where needed, CR LF at the end. A
    // long list is written line by line with this, never held whole.
    static QString line(const QStringList &cells);
    // What a UTF-8 file starts with.
    static QByteArray byteOrderMark();

    // The whole file: the header line, then one line per row.
    static QByteArray write(const QStringList &header, const QList<QStringList> &rows);
    // The lines of a file as written above (a byte order mark is skipped); nullopt when a
    // quote is never closed.
    static std::optional<QList<QStringList>> read(const QByteArray &bytes);
};

}  // namespace lendora
