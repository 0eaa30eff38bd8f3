#include "base/KeyValueFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace lendora {

QString GetKeyValue(const QString &path, const QString &key)
{
    const auto lines = TextFile::readLines(path);
    if (!lines)
        return {};
    const QString needle = key + QLatin1Char('=');
    for (const QString &line : *lines) {
        const qsizetype at = line.indexOf(needle);
        if (at >= 0)
            return line.mid(at + needle.size());
    }
    return {};
}

TextFile::WriteResult SetKeyValue(const QString &path, const QString &key, const QString &value)
{
    const QString needle = key + QLatin1Char('=');
    const QString entry = needle + value;
    QStringList lines;
    std::optional<QFileDevice::Permissions> permissions;
    bool lossy = false;
    if (const auto existing = TextFile::readLines(path, &lossy)) {
        // Bytes in no encoding we know would come back as replacement characters: the file
        // is left as it was, like a read-only one.
        if (lossy)
            return TextFile::WriteResult::Failed;
        permissions = QFile::permissions(path);  // the new file keeps the old one's
        bool replaced = false;
        for (const QString &line : *existing) {
            if (line.contains(needle)) {
                lines << entry;
                replaced = true;
            } else {
                lines << line;
            }
        }
        if (!replaced)
            lines << entry;
    } else {
        // A file that exists but cannot be read (a folder, no permission) is never replaced.
        if (QFileInfo::exists(path))
            return TextFile::WriteResult::Failed;
        lines << entry;
    }
    const QString work = QFileInfo(path).dir().filePath(QStringLiteral("temp.ini"));
    return TextFile::replace(path, work, TextFile::encodeLines(lines), permissions);
}

}  // namespace lendora
