#pragma once

#include "base/Csv.h"

#include <QByteArray>
#include <QDate>
#include <QString>

namespace lendora {

// The first sheet of an .xlsx workbook, as a clerk keeps a catalogue in a spreadsheet, read
// into the same table a CSV file gives: its first row with content is the header, each later
// row with content a row numbered as the spreadsheet numbers it. A cell reads as the text the
// spreadsheet shows: shared and inline strings (their _xHHHH_ escapes undone), a number in its
// general form (123, 12.5), a date cell (told by its number format) as yyyy-MM-dd, TRUE or
// FALSE, an error as its code. The archive is opened with libzip and each part streamed
// through QXmlStreamReader.
class Workbook {
public:
    // Whether the bytes are a ZIP archive, the container of a workbook.
    static bool looksLikeOne(const QByteArray &bytes);
    // The first sheet; problem BadWorkbook when the bytes are no workbook that can be read.
    static Csv::Table firstSheet(const QByteArray &bytes);

    // The pieces, for their tests.
    // A date number format: a built-in one, or a format code that shows a day, month or year.
    static bool isDateFormat(int builtInId, const QString &code);
    // The day of a serial number in the 1900 or 1904 date system; invalid when it names none.
    static QDate dateOf(double serial, bool system1904);
    // A number as a spreadsheet's general format shows it.
    static QString numberText(double value);
    // Text with the workbook's _xHHHH_ escapes undone.
    static QString unescape(const QString &text);
};

}  // namespace lendora
