// PrivateProfile on arbitrary file bytes: reading never fails on any content; a write either
// changes exactly the one entry (adding it, or its section, when missing) and reads back as
// written, or leaves the file byte for byte as it was. No work file is left behind.
#include "base/PrivateProfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace {

QTemporaryDir &dir()
{
    static QTemporaryDir d;
    return d;
}

QByteArray contentOf(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        std::abort();
    return f.readAll();
}

// `after` is `before` with one line changed, or with one or two lines inserted.
bool changedOneEntry(const QStringList &before, const QStringList &after, const QString &entry)
{
    const qsizetype extra = after.size() - before.size();
    if (extra < 0 || extra > 2)
        return false;
    qsizetype i = 0;
    while (i < before.size() && before.at(i) == after.at(i))
        ++i;
    if (extra == 0) {
        // One line, the entry, replaced a line holding the key.
        if (i == before.size())
            return after == before;  // the same value again
        return after.at(i).endsWith(entry.mid(entry.indexOf(QLatin1Char('='))))
               && after.mid(i + 1) == before.mid(i + 1);
    }
    return after.mid(i + extra) == before.mid(i);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Layout: section \0 key \0 value \0 file bytes.
    const QByteArray all(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<QByteArray> parts = all.split('\0');
    if (parts.size() < 4)
        return 0;
    const QString section = QString::fromUtf8(parts[0]);
    const QString key = QString::fromUtf8(parts[1]);
    const QString value = QString::fromUtf8(parts[2]);
    const QByteArray content = all.mid(parts[0].size() + parts[1].size() + parts[2].size() + 3);

    const QString path = QDir(dir().path()).filePath(QStringLiteral("QUICKTIP.INI"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        f.write(content);
    }
    using lendora::PrivateProfile;
    using lendora::TextFile;
    TextFile::Encoding encoding = TextFile::Encoding::Utf8;
    bool lossy = false;
    const QStringList before = TextFile::splitLines(TextFile::decode(content, &encoding, &lossy));

    if (const auto read = PrivateProfile::read(path, section, key)) {
        if (PrivateProfile::cutToBytes(*read, encoding, PrivateProfile::kMaxValueBytes) != *read)
            std::abort();
    }

    const bool written = PrivateProfile::write(path, section, key, value);
    if (QFile::exists(path + QStringLiteral(".new")))
        std::abort();
    const QByteArray now = contentOf(path);
    if (!written) {
        if (now != content)
            std::abort();
        return 0;
    }
    if (lossy)
        std::abort();  // bytes in no known encoding were rewritten
    const auto back = PrivateProfile::read(path, section, key);
    const QString expected = PrivateProfile::cutToBytes(value.trimmed(), TextFile::Encoding::Utf8,
                                                        PrivateProfile::kMaxValueBytes);
    if (!back || *back != expected)
        std::abort();
    const QStringList after = TextFile::splitLines(TextFile::decode(now));
    if (!changedOneEntry(before, after, key.trimmed() + QLatin1Char('=') + value))
        std::abort();
    return 0;
}
