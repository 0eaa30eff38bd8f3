#include "base/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace lendora {

QString TextFile::decode(const QByteArray &bytes, Encoding *found, bool *lossy)
{
    if (lossy)
        *lossy = false;
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(view);
    if (!utf8.hasError()) {
        if (found)
            *found = Encoding::Utf8;
        return text;
    }
    QStringDecoder gb("GB18030", QStringConverter::Flag::Stateless);
    if (found)
        *found = Encoding::Gb18030;
    if (!gb.isValid()) {
        if (lossy)
            *lossy = true;
        return text;  // no ICU: keep the UTF-8 reading with replacement characters
    }
    text = gb.decode(bytes);
    if (lossy)
        *lossy = gb.hasError();
    return text;
}

QStringList TextFile::splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            lines << text.mid(start, i - start);
            if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines << text.mid(start);
    return lines;
}

QByteArray TextFile::encodeLines(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    return bytes;
}

std::optional<QStringList> TextFile::readLines(const QString &path, bool *lossy)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return splitLines(decode(file.readAll(), nullptr, lossy));
}

bool TextFile::isReadOnly(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !(QFile::permissions(path) & QFileDevice::WriteOwner);
}

TextFile::WriteResult TextFile::replace(const QString &target, const QString &workPath,
                                        const QByteArray &bytes,
                                        std::optional<QFileDevice::Permissions> permissions)
{
    if (QFileInfo(target).isDir())
        return WriteResult::Failed;
    // A work file left over from a crash is dropped, not reused: whatever it holds (or points
    // to, for a link) never reaches the result.
    QFile::remove(workPath);
    QFile work(workPath);
    if (!work.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return WriteResult::Failed;
    if (permissions)
        work.setPermissions(*permissions);
    const bool written =
        work.write(bytes) == bytes.size() && work.flush() && ::fsync(work.handle()) == 0;
    work.close();
    if (!written) {
        QFile::remove(workPath);
        return WriteResult::Failed;
    }
    return commit(workPath, target);
}

TextFile::WriteResult TextFile::commit(const QString &workPath, const QString &target)
{
    // A rename replaces a read-only file all the same, so the attribute is checked first.
    if (isReadOnly(target)) {
        QFile::remove(workPath);
        return WriteResult::ReadOnly;
    }
    if (std::rename(QFile::encodeName(workPath).constData(), QFile::encodeName(target).constData())
        != 0) {
        QFile::remove(workPath);
        return WriteResult::Failed;
    }
    syncFolderOf(target);
    return WriteResult::Written;
}

void TextFile::syncFolderOf(const QString &path)
{
    const int dir = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                           O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

}  // namespace lendora
