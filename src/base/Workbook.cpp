#include "base/Workbook.h"

#include <QDir>
#include <QHash>
#include <QIODevice>
#include <QList>
#include <QXmlStreamReader>
#include <cmath>
#include <memory>
#include <optional>
#include <zip.h>

namespace lendora {

namespace {

// The largest sheet a spreadsheet program makes.
constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;

// One part of the archive, read as it is inflated.
class ZipPart : public QIODevice {
public:
    explicit ZipPart(zip_file_t *file) : m_file(file) { open(QIODevice::ReadOnly); }
    ~ZipPart() override { zip_fclose(m_file); }
    bool isSequential() const override { return true; }
    // A part that could not be inflated whole (a damaged archive).
    bool failed() const { return m_failed; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const zip_int64_t got = zip_fread(m_file, data, zip_uint64_t(maxSize));
        if (got < 0)
            m_failed = true;
        return got < 0 ? -1 : got;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    zip_file_t *m_file;
    bool m_failed = false;
};

struct ZipCloser {
    void operator()(zip_t *archive) const { zip_discard(archive); }
};

class Archive {
public:
    explicit Archive(const QByteArray &bytes)
    {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t *source =
            zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &error);
        if (source) {
            m_zip.reset(zip_open_from_source(source, ZIP_RDONLY, &error));
            if (!m_zip)
                zip_source_free(source);
        }
        zip_error_fini(&error);
    }
    bool isOpen() const { return m_zip != nullptr; }
    // The part by its name in the archive; nullptr when there is none.
    std::unique_ptr<ZipPart> open(const QString &name) const
    {
        const zip_int64_t at = index(name);
        zip_file_t *file = at < 0 ? nullptr : zip_fopen_index(m_zip.get(), zip_uint64_t(at), 0);
        return file ? std::make_unique<ZipPart>(file) : nullptr;
    }

private:
    zip_int64_t index(const QString &name) const
    {
        if (!m_zip)
            return -1;
        const QByteArray utf8 = name.toUtf8();
        // Names as the relationships spell them; some programs differ in case.
        const zip_int64_t exact = zip_name_locate(m_zip.get(), utf8.constData(), ZIP_FL_ENC_GUESS);
        return exact >= 0 ? exact
                          : zip_name_locate(m_zip.get(), utf8.constData(),
                                            ZIP_FL_ENC_GUESS | ZIP_FL_NOCASE);
    }
    std::unique_ptr<zip_t, ZipCloser> m_zip;
};

// An attribute by its local name, whatever its prefix.
QString attribute(const QXmlStreamReader &xml, QLatin1StringView name)
{
    for (const QXmlStreamAttribute &a : xml.attributes()) {
        if (a.name() == name)
            return a.value().toString();
    }
    return {};
}

bool isTrue(const QString &value)
{
    return value == QLatin1String("1") || value == QLatin1String("true");
}

// A part's relationships: the target of each id, and of each type (its last path segment),
// resolved against the folder of the part they belong to.
struct Relations {
    QHash<QString, QString> byId;
    QHash<QString, QString> byType;
};

QString relationsOf(const QString &part)
{
    const int slash = int(part.lastIndexOf(QLatin1Char('/')));
    return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1)
           + QStringLiteral(".rels");
}

std::optional<Relations> readRelations(const Archive &archive, const QString &part)
{
    Relations relations;
    const std::unique_ptr<ZipPart> file = archive.open(relationsOf(part));
    if (!file)
        return relations;  // none: the usual names are tried
    const QString folder = part.left(part.lastIndexOf(QLatin1Char('/')) + 1);
    QXmlStreamReader xml(file.get());
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement
            && xml.name() == QLatin1String("Relationship")) {
            QString target = attribute(xml, QLatin1StringView("Target"));
            target = target.startsWith(QLatin1Char('/')) ? target.mid(1)
                                                         : QDir::cleanPath(folder + target);
            relations.byId.insert(attribute(xml, QLatin1StringView("Id")), target);
            const QString type = attribute(xml, QLatin1StringView("Type"));
            relations.byType.insert(type.mid(type.lastIndexOf(QLatin1Char('/')) + 1), target);
        }
    }
    if (xml.hasError() || file->failed())
        return std::nullopt;
    return relations;
}

// The text of an <si> or <is>: its runs in order, the phonetic guide left out.
QString richText(QXmlStreamReader &xml)
{
    QString text;
    int depth = 1;
    int phonetic = 0;
    while (depth > 0 && !xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            ++depth;
            if (xml.name() == QLatin1String("rPh"))
                phonetic = depth;
            else if (xml.name() == QLatin1String("t") && phonetic == 0) {
                text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
                --depth;
            }
            break;
        case QXmlStreamReader::EndElement:
            if (depth == phonetic)
                phonetic = 0;
            --depth;
            break;
        default:
            break;
        }
    }
    return Workbook::unescape(text);
}

std::optional<QStringList> readSharedStrings(const Archive &archive, const QString &part)
{
    QStringList strings;
    const std::unique_ptr<ZipPart> file = archive.open(part);
    if (!file)
        return strings;
    QXmlStreamReader xml(file.get());
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("si"))
            strings << richText(xml);
    }
    if (xml.hasError() || file->failed())
        return std::nullopt;
    return strings;
}

// For each cell style (the cell's s attribute), whether it shows a date.
std::optional<QList<bool>> readDateStyles(const Archive &archive, const QString &part)
{
    QList<bool> dates;
    const std::unique_ptr<ZipPart> file = archive.open(part);
    if (!file)
        return dates;
    QHash<int, QString> codes;  // the workbook's own formats
    QList<int> styleFormats;
    bool inCellStyles = false;
    QXmlStreamReader xml(file.get());
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("cellXfs"))
            inCellStyles = false;
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("numFmt")) {
            codes.insert(attribute(xml, QLatin1StringView("numFmtId")).toInt(),
                         attribute(xml, QLatin1StringView("formatCode")));
        } else if (xml.name() == QLatin1String("cellXfs")) {
            inCellStyles = true;
        } else if (xml.name() == QLatin1String("xf") && inCellStyles) {
            styleFormats << attribute(xml, QLatin1StringView("numFmtId")).toInt();
        }
    }
    if (xml.hasError() || file->failed())
        return std::nullopt;
    for (const int id : std::as_const(styleFormats))
        dates << Workbook::isDateFormat(codes.contains(id) ? -1 : id, codes.value(id));
    return dates;
}

// The column of a cell reference ("B3" gives 1); -1 when it names none.
int columnOf(const QString &reference)
{
    int column = 0;
    int letters = 0;
    for (const QChar c : reference) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) {
            column = column * 26 + (c.unicode() - 'A' + 1);
            if (++letters > 3)
                return -1;
        } else {
            break;
        }
    }
    return letters == 0 || column > kMaxColumns ? -1 : column - 1;
}

struct SheetParts {
    QString sheet;
    QString sharedStrings;
    QString styles;
    bool system1904 = false;
};

std::optional<SheetParts> findParts(const Archive &archive)
{
    const std::optional<Relations> package = readRelations(archive, QString());
    if (!package)
        return std::nullopt;
    const QString book =
        package->byType.value(QStringLiteral("officeDocument"), QStringLiteral("xl/workbook.xml"));
    const std::unique_ptr<ZipPart> file = archive.open(book);
    if (!file)
        return std::nullopt;
    SheetParts parts;
    QString firstSheetId;
    QXmlStreamReader xml(file.get());
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("workbookPr"))
            parts.system1904 = isTrue(attribute(xml, QLatin1StringView("date1904")));
        else if (xml.name() == QLatin1String("sheet") && firstSheetId.isNull())
            firstSheetId = attribute(xml, QLatin1StringView("id"));
    }
    if (xml.hasError() || file->failed())
        return std::nullopt;
    const std::optional<Relations> relations = readRelations(archive, book);
    if (!relations)
        return std::nullopt;
    const QString folder = book.left(book.lastIndexOf(QLatin1Char('/')) + 1);
    parts.sheet =
        relations->byId.value(firstSheetId, folder + QStringLiteral("worksheets/sheet1.xml"));
    parts.sharedStrings = relations->byType.value(QStringLiteral("sharedStrings"),
                                                  folder + QStringLiteral("sharedStrings.xml"));
    parts.styles =
        relations->byType.value(QStringLiteral("styles"), folder + QStringLiteral("styles.xml"));
    return parts;
}

// Reads the sheet's rows into `table`; false when the sheet is damaged.
class SheetReader {
public:
    SheetReader(const QStringList &strings, const QList<bool> &dateStyles, bool system1904)
        : m_strings(strings), m_dateStyles(dateStyles), m_system1904(system1904)
    {}

    bool read(QIODevice *file, Csv::Table *table)
    {
        QXmlStreamReader xml(file);
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement
                && xml.name() == QLatin1String("row")) {
                if (!readRow(xml, table))
                    return false;
            }
        }
        return !xml.hasError();
    }

private:
    bool readRow(QXmlStreamReader &xml, Csv::Table *table)
    {
        const QString number = attribute(xml, QLatin1StringView("r"));
        const int line = number.isEmpty() ? m_lastLine + 1 : number.toInt();
        if (line <= m_lastLine || line > kMaxRows)
            return false;
        m_lastLine = line;
        // Past the header's columns one cell is kept: enough to say the row has more.
        const int width = m_headerDone ? int(table->header.size()) + 1 : kMaxColumns;
        QStringList cells;
        int column = -1;
        while (xml.readNextStartElement()) {
            if (xml.name() != QLatin1String("c")) {
                xml.skipCurrentElement();
                continue;
            }
            const QString reference = attribute(xml, QLatin1StringView("r"));
            const int at = reference.isEmpty() ? column + 1 : columnOf(reference);
            if (at <= column)
                return false;
            column = at;
            const std::optional<QString> text = cellText(xml);
            if (!text)
                return false;
            if (text->isEmpty())
                continue;
            const int kept = std::min(column, width - 1);
            while (cells.size() <= kept)
                cells << QString();
            cells[kept] = *text;
        }
        if (xml.hasError() || cells.isEmpty())
            return !xml.hasError();  // a row with nothing in it is no row
        if (!m_headerDone) {
            for (const QString &heading : std::as_const(cells))
                table->header << heading.trimmed();
            m_headerDone = true;
            return true;
        }
        table->rows << Csv::Row{line, cells};
        return true;
    }

    std::optional<QString> cellText(QXmlStreamReader &xml)
    {
        const QString type = attribute(xml, QLatin1StringView("t"));
        const int style = attribute(xml, QLatin1StringView("s")).toInt();
        QString value;
        std::optional<QString> inlineText;
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("v"))
                value = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            else if (xml.name() == QLatin1String("is"))
                inlineText = richText(xml);
            else
                xml.skipCurrentElement();
        }
        if (type == QLatin1String("inlineStr"))
            return inlineText.value_or(QString());
        if (type == QLatin1String("s")) {
            bool ok = false;
            const int index = value.toInt(&ok);
            if (!ok || index < 0 || index >= m_strings.size())
                return std::nullopt;
            return m_strings.at(index);
        }
        if (type == QLatin1String("str"))
            return Workbook::unescape(value);
        if (type == QLatin1String("b"))
            return value.isEmpty() ? QString()
                                   : QString::fromLatin1(isTrue(value) ? "TRUE" : "FALSE");
        if (type == QLatin1String("d")) {
            const QDate day = QDate::fromString(value.left(10), Qt::ISODate);
            return day.isValid() ? day.toString(Qt::ISODate) : value;
        }
        if (type == QLatin1String("e") || value.isEmpty())
            return value;
        bool ok = false;
        const double number = value.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(number))
            return value;
        if (m_dateStyles.value(style)) {
            const QDate day = Workbook::dateOf(number, m_system1904);
            if (day.isValid())
                return day.toString(Qt::ISODate);
        }
        return Workbook::numberText(number);
    }

    const QStringList &m_strings;
    const QList<bool> &m_dateStyles;
    bool m_system1904;
    bool m_headerDone = false;
    int m_lastLine = 0;
};

Csv::Table damaged()
{
    Csv::Table table;
    table.workbook = true;
    table.problem = Csv::Problem::BadWorkbook;
    return table;
}

}  // namespace

bool Workbook::looksLikeOne(const QByteArray &bytes)
{
    return bytes.startsWith(QByteArrayLiteral("PK\x03\x04"));
}

bool Workbook::isDateFormat(int builtInId, const QString &code)
{
    // The built-in formats that show a day: 14-17 and 22, and the Chinese ones; 18-21, 32-35,
    // 45-47, 55 and 56 show a time only.
    static const QList<int> builtInDates = {14, 15, 16, 17, 22, 27, 28, 29, 30,
                                            31, 36, 50, 51, 52, 53, 54, 57, 58};
    if (builtInId >= 0)
        return builtInDates.contains(builtInId);
    // What the format would print as it stands is left out: quoted text, escaped characters,
    // [colours and locales], the padding of _x and *x, and AM/PM.
    QString tokens;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (c == QLatin1Char('"')) {
            const qsizetype end = code.indexOf(QLatin1Char('"'), i + 1);
            i = end < 0 ? code.size() : end;
        } else if (c == QLatin1Char('[')) {
            const qsizetype end = code.indexOf(QLatin1Char(']'), i + 1);
            i = end < 0 ? code.size() : end;
        } else if (c == QLatin1Char('\\') || c == QLatin1Char('_') || c == QLatin1Char('*')) {
            ++i;
        } else if (code.mid(i, 5).compare(QLatin1String("AM/PM"), Qt::CaseInsensitive) == 0) {
            i += 4;
        } else if (code.mid(i, 3).compare(QLatin1String("A/P"), Qt::CaseInsensitive) == 0) {
            i += 2;
        } else {
            tokens += c.toLower();
        }
    }
    // Only the first section, the one positive numbers use, decides.
    tokens = tokens.section(QLatin1Char(';'), 0, 0);
    const bool day = tokens.contains(QLatin1Char('y')) || tokens.contains(QLatin1Char('d'));
    const bool time = tokens.contains(QLatin1Char('h')) || tokens.contains(QLatin1Char('s'));
    return day || (tokens.contains(QLatin1Char('m')) && !time);
}

QDate Workbook::dateOf(double serial, bool system1904)
{
    if (!std::isfinite(serial) || serial < 0 || serial >= 2958466)  // up to 9999-12-31
        return {};
    const qint64 days = qint64(std::floor(serial));
    if (system1904)
        return QDate(1904, 1, 1).addDays(days);
    // The 1900 system counts a 29 February 1900 that never was: serial 60 is no day, and
    // the days before it are one later than a plain count from 1899-12-30 gives.
    if (days == 60)
        return {};
    if (days == 0)
        return {};
    return days < 60 ? QDate(1899, 12, 31).addDays(days) : QDate(1899, 12, 30).addDays(days);
}

QString Workbook::numberText(double value)
{
    if (value == 0)
        return QStringLiteral("0");
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    // Fifteen significant digits, what a spreadsheet keeps: 0.1+0.2 shows as 0.3.
    return QString::number(value, 'g', 15).toUpper();
}

QString Workbook::unescape(const QString &text)
{
    const qsizetype first = text.indexOf(QLatin1String("_x"));
    if (first < 0)
        return text;
    QString out = text.left(first);
    for (qsizetype i = first; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('_') && i + 6 < text.size()
            && text.at(i + 1) == QLatin1Char('x') && text.at(i + 6) == QLatin1Char('_')) {
            bool ok = false;
            const ushort code = text.mid(i + 2, 4).toUShort(&ok, 16);
            if (ok) {
                out += QChar(code);
                i += 6;
                continue;
            }
        }
        out += text.at(i);
    }
    return out;
}

Csv::Table Workbook::firstSheet(const QByteArray &bytes)
{
    const Archive archive(bytes);
    if (!archive.isOpen())
        return damaged();
    const std::optional<SheetParts> parts = findParts(archive);
    if (!parts)
        return damaged();
    const std::optional<QStringList> strings = readSharedStrings(archive, parts->sharedStrings);
    const std::optional<QList<bool>> dateStyles = readDateStyles(archive, parts->styles);
    const std::unique_ptr<ZipPart> sheet = archive.open(parts->sheet);
    if (!strings || !dateStyles || !sheet)
        return damaged();
    Csv::Table table;
    table.workbook = true;
    SheetReader reader(*strings, *dateStyles, parts->system1904);
    if (!reader.read(sheet.get(), &table) || sheet->failed())
        return damaged();
    if (table.header.isEmpty())
        table.problem = Csv::Problem::Empty;
    return table;
}

}  // namespace lendora
