#include "base/Csv.h"

#include <QStringDecoder>

namespace lendora {

namespace {

const QByteArray kByteOrderMark("\xEF\xBB\xBF");

QString quoted(const QString &cell)
{
    const bool plain = !cell.contains(QLatin1Char('"')) && !cell.contains(QLatin1Char(','))
                       && !cell.contains(QLatin1Char('\r')) && !cell.contains(QLatin1Char('\n'));
    if (plain)
        return cell;
    QString out = cell;
    out.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

// The text of `bytes` in `encoding` (a UTF-8 byte order mark skipped); nullopt when the bytes
// are not that encoding.
std::optional<QString> decodeAs(const QByteArray &bytes, TextFile::Encoding encoding)
{
    QByteArrayView view(bytes);
    if (encoding == TextFile::Encoding::Utf8) {
        if (view.startsWith(kByteOrderMark))
            view = view.sliced(kByteOrderMark.size());
        // The mark is taken off above, once: a second one is text.
        QStringDecoder utf8(QStringConverter::Utf8,
                            QStringConverter::Flag::Stateless
                                | QStringConverter::Flag::ConvertInitialBom);
        QString text = utf8.decode(view);
        return utf8.hasError() ? std::nullopt : std::optional<QString>(text);
    }
    QStringDecoder gb("GB18030", QStringConverter::Flag::Stateless
                                     | QStringConverter::Flag::ConvertInitialBom);
    if (!gb.isValid())
        return std::nullopt;
    QString text = gb.decode(view);
    return gb.hasError() ? std::nullopt : std::optional<QString>(text);
}

}  // namespace

namespace {
// What a spreadsheet would run as a formula, and the guard itself.
bool risky(QStringView text)
{
    static const QString first = QStringLiteral("=+-@\t\r'");
    return !text.isEmpty() && first.contains(text.front());
}
}  // namespace

QString Csv::guard(const QString &text)
{
    return risky(text) ? QLatin1Char('\'') + text : text;
}

QString Csv::unguard(const QString &cell)
{
    // Only the guard's own apostrophe: another program's "'单引号" is its text.
    if (cell.startsWith(QLatin1Char('\'')) && risky(QStringView(cell).mid(1)))
        return cell.mid(1);
    return cell;
}

QString Csv::line(const QStringList &cells)
{
    QString text;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            text += QLatin1Char(',');
        text += quoted(guard(cells.at(i)));
    }
    return text + QLatin1String("\r\n");
}

QByteArray Csv::byteOrderMark()
{
    return kByteOrderMark;
}

QByteArray Csv::write(const QStringList &header, const QList<QStringList> &rows)
{
    QString text = line(header);
    for (const QStringList &row : rows)
        text += line(row);
    return kByteOrderMark + text.toUtf8();
}

std::optional<TextFile::Encoding> Csv::detect(const QByteArray &bytes)
{
    if (bytes.startsWith(kByteOrderMark))
        return TextFile::Encoding::Utf8;
    for (const TextFile::Encoding encoding :
         {TextFile::Encoding::Utf8, TextFile::Encoding::Gb18030}) {
        if (decodeAs(bytes, encoding))
            return encoding;
    }
    return std::nullopt;
}

Csv::Table Csv::read(const QByteArray &bytes, std::optional<TextFile::Encoding> encoding)
{
    Table table;
    if (!encoding)
        encoding = detect(bytes);
    const std::optional<QString> decoded = encoding ? decodeAs(bytes, *encoding) : std::nullopt;
    if (!decoded) {
        table.problem = Problem::UnknownEncoding;
        return table;
    }
    table.encoding = *encoding;
    const QString &text = *decoded;
    if (text.contains(QChar(0))) {
        table.problem = Problem::NotText;
        return table;
    }

    QList<Row> lines;
    Row row{1, {}};
    QString cell;
    int line = 1;
    int quoteLine = 0;
    bool inQuotes = false;
    bool lineStarted = false;
    const qsizetype n = text.size();
    const auto endCell = [&] {
        row.cells << unguard(cell);
        cell.clear();
    };
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (inQuotes) {
            if (c != QLatin1Char('"')) {
                // A line break inside quotes is part of the cell, CR LF kept as it stands.
                if (c == QLatin1Char('\n')
                    || (c == QLatin1Char('\r')
                        && (i + 1 >= n || text.at(i + 1) != QLatin1Char('\n'))))
                    ++line;
                cell += c;
            } else if (i + 1 < n && text.at(i + 1) == QLatin1Char('"')) {
                cell += c;
                ++i;
            } else {
                inQuotes = false;
            }
            continue;
        }
        lineStarted = true;
        if (c == QLatin1Char('"')) {
            inQuotes = true;
            quoteLine = line;
        } else if (c == QLatin1Char(',')) {
            endCell();
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            endCell();
            lines << row;
            row = Row{++line, {}};
            lineStarted = false;
        } else {
            cell += c;
        }
    }
    if (inQuotes) {
        table.problem = Problem::UnclosedQuote;
        table.problemLine = quoteLine;
        return table;
    }
    if (lineStarted) {
        endCell();
        lines << row;
    }
    // Spreadsheets leave blank lines at the end; they are no rows.
    const auto blank = [](const Row &r) {
        return r.cells.size() <= 1 && (r.cells.isEmpty() || r.cells.first().isEmpty());
    };
    while (!lines.isEmpty() && blank(lines.last()))
        lines.removeLast();
    if (lines.isEmpty()) {
        table.problem = Problem::Empty;
        return table;
    }
    for (const QString &heading : lines.first().cells)
        table.header << heading.trimmed();
    table.rows = lines.mid(1);
    // A line of blanks alone is no header either.
    if (table.rows.isEmpty() && table.header == QStringList{QString()})
        table.problem = Problem::Empty;
    return table;
}

}  // namespace lendora
