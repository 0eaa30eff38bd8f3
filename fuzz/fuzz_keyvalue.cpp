// GetKeyValue / SetKeyValue on arbitrary file bytes: the value set is the value read back,
// every other line stays in order, and the rewrite leaves no work file behind. A file whose
// bytes are neither UTF-8 nor GB18030 is left byte for byte as it was.
#include "base/KeyValueFile.h"

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
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Layout: key \0 value \0 file bytes.
    const QByteArray all(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<QByteArray> parts = all.split('\0');
    if (parts.size() < 3)
        return 0;
    const QString key = QString::fromUtf8(parts[0]);
    const QString value = QString::fromUtf8(parts[1]);
    const QByteArray content = all.mid(parts[0].size() + parts[1].size() + 2);
    if (key.isEmpty() || key.contains(QLatin1Char('\n')) || key.contains(QLatin1Char('\r'))
        || value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r')))
        return 0;

    const QString path = QDir(dir().path()).filePath(QStringLiteral("setting.ini"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        f.write(content);
    }
    const QString needle = key + QLatin1Char('=');
    bool lossy = false;
    const QStringList before =
        lendora::TextFile::splitLines(lendora::TextFile::decode(content, nullptr, &lossy));
    (void)lendora::GetKeyValue(path, key);

    const auto result = lendora::SetKeyValue(path, key, value);
    if (lossy) {
        QFile f(path);
        if (result != lendora::TextFile::WriteResult::Failed || !f.open(QIODevice::ReadOnly)
            || f.readAll() != content)
            std::abort();
        return 0;
    }
    if (result != lendora::TextFile::WriteResult::Written)
        std::abort();
    if (QFile::exists(QDir(dir().path()).filePath(QStringLiteral("temp.ini"))))
        std::abort();
    if (lendora::GetKeyValue(path, key) != value)
        std::abort();

    const auto after = lendora::TextFile::readLines(path);
    if (!after)
        std::abort();
    QStringList kept, keptAfter;
    for (const QString &line : before)
        if (!line.contains(needle))
            kept << line;
    for (const QString &line : *after)
        if (line != needle + value)
            keptAfter << line;
    if (kept != keptAfter)
        std::abort();
    return 0;
}
