#include "base/Csv.h"

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

}  // namespace

QString Csv::guard(const QString &text)
{
    static const QString risky = QStringLiteral("=+-@\t\r'");
    if (!text.isEmpty() && risky.contains(text.at(0)))
        return QLatin1Char('\'') + text;
    return text;
}

QString Csv::unguard(const QString &cell)
{
    return cell.startsWith(QLatin1Char('\'')) ? cell.mid(1) : cell;
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

std::optional<QList<QStringList>> Csv::read(const QByteArray &bytes)
{
    const QString text = QString::fromUtf8(
        bytes.startsWith(kByteOrderMark) ? bytes.mid(kByteOrderMark.size()) : bytes);
    QList<QStringList> lines;
    QStringList cells;
    QString cell;
    bool inQuotes = false;
    bool lineStarted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (inQuotes) {
            if (c != QLatin1Char('"')) {
                cell += c;
            } else if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
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
        } else if (c == QLatin1Char(',')) {
            cells << cell;
            cell.clear();
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size()
                && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            cells << cell;
            lines << cells;
            cells.clear();
            cell.clear();
            lineStarted = false;
        } else {
            cell += c;
        }
    }
    if (inQuotes)
        return std::nullopt;
    if (lineStarted) {
        cells << cell;
        lines << cells;
    }
    return lines;
}

}  // namespace lendora
