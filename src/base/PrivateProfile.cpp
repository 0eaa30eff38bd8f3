#include "base/PrivateProfile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

namespace lendora {

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

struct Profile {
    QStringList lines;
    TextFile::Encoding encoding = TextFile::Encoding::Utf8;
    bool bom = false;
    bool lossy = false;  // bytes in no known encoding: never written back
};

enum class Load { Missing, Unreadable, Loaded };

Load load(const QString &path, Profile &profile)
{
    const QFileInfo info(path);
    if (!info.exists())
        return Load::Missing;
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return Load::Unreadable;
    const QByteArray bytes = file.readAll();
    profile.lines =
        TextFile::splitLines(TextFile::decode(bytes, &profile.encoding, &profile.lossy));
    profile.bom = profile.encoding == TextFile::Encoding::Utf8 && bytes.startsWith(kUtf8Bom);
    return Load::Loaded;
}

bool isComment(const QString &trimmed)
{
    return trimmed.startsWith(QLatin1Char(';'));
}

// The name of a "[section]" line, or nullopt for any other line.
std::optional<QString> sectionName(const QString &line)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    return (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

struct Found {
    qsizetype line;
    QString key;    // as the file spells it
    QString value;  // trimmed
};

// The first line holding the key inside any section of that name.
std::optional<Found> findKey(const QStringList &lines, const QString &section, const QString &key)
{
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (const auto name = sectionName(line)) {
            inSection = sameName(*name, section);
            continue;
        }
        if (!inSection || isComment(line.trimmed()))
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString lineKey = line.left(eq).trimmed();
        if (sameName(lineKey, key))
            return Found{i, lineKey, line.mid(eq + 1).trimmed()};
    }
    return std::nullopt;
}

bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

int encodedSize(char32_t codePoint, TextFile::Encoding encoding, QStringEncoder &gb)
{
    if (codePoint < 0x80)
        return 1;
    if (encoding == TextFile::Encoding::Utf8 || !gb.isValid())
        return codePoint < 0x800 ? 2 : codePoint < 0x10000 ? 3 : 4;
    if (codePoint >= 0x10000)
        return 4;
    const QChar c(static_cast<char16_t>(codePoint));
    return static_cast<int>(QByteArray(gb.encode(QStringView(&c, 1))).size());
}

}  // namespace

QString PrivateProfile::cutToBytes(const QString &text, TextFile::Encoding encoding, int maxBytes)
{
    QStringEncoder gb("GB18030", QStringConverter::Flag::Stateless);
    int used = 0;
    qsizetype end = 0;
    const qsizetype n = text.size();
    while (end < n) {
        char32_t codePoint = text.at(end).unicode();
        qsizetype units = 1;
        if (text.at(end).isHighSurrogate() && end + 1 < n && text.at(end + 1).isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(text.at(end), text.at(end + 1));
            units = 2;
        }
        const int size = encodedSize(codePoint, encoding, gb);
        if (used + size > maxBytes)
            break;
        used += size;
        end += units;
    }
    return text.left(end);
}

std::optional<QString> PrivateProfile::read(const QString &path, const QString &section,
                                            const QString &key)
{
    Profile profile;
    if (load(path, profile) != Load::Loaded)
        return std::nullopt;
    const auto found = findKey(profile.lines, section.trimmed(), key.trimmed());
    if (!found)
        return std::nullopt;
    return cutToBytes(found->value, profile.encoding, kMaxValueBytes);
}

bool PrivateProfile::write(const QString &path, const QString &section, const QString &key,
                           const QString &value)
{
    const QString sectionText = section.trimmed();
    const QString keyText = key.trimmed();
    // Anything that would not read back as written is refused rather than stored wrongly.
    if (hasLineBreak(sectionText) || sectionText.contains(QLatin1Char(']'))
        || sectionText.isEmpty())
        return false;
    if (hasLineBreak(keyText) || keyText.contains(QLatin1Char('=')) || keyText.isEmpty()
        || isComment(keyText) || keyText.startsWith(QLatin1Char('[')))
        return false;
    if (hasLineBreak(value))
        return false;

    Profile profile;
    if (load(path, profile) == Load::Unreadable || profile.lossy)
        return false;
    QStringList &lines = profile.lines;

    if (const auto found = findKey(lines, sectionText, keyText)) {
        lines[found->line] = found->key + QLatin1Char('=') + value;
    } else {
        qsizetype header = -1;
        for (qsizetype i = 0; i < lines.size() && header < 0; ++i) {
            const auto name = sectionName(lines.at(i));
            if (name && sameName(*name, sectionText))
                header = i;
        }
        const QString entry = keyText + QLatin1Char('=') + value;
        if (header < 0) {
            lines << QLatin1Char('[') + sectionText + QLatin1Char(']') << entry;
        } else {
            // After the section's last entry, before the blank lines that set it apart.
            qsizetype at = header + 1;
            for (qsizetype i = header + 1; i < lines.size() && !sectionName(lines.at(i)); ++i) {
                if (!lines.at(i).trimmed().isEmpty())
                    at = i + 1;
            }
            lines.insert(at, entry);
        }
    }

    QByteArray bytes = profile.bom ? kUtf8Bom : QByteArray();
    bytes += TextFile::encodeLines(lines);
    const QString work = QFileInfo(path).absoluteFilePath() + QStringLiteral(".new");
    return TextFile::replace(path, work, bytes) == TextFile::WriteResult::Written;
}

}  // namespace lendora
