#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>
#include <QStringList>
#include <optional>

namespace lendora {

// The small text files beside the program. Written in UTF-8 with CR LF line ends; reading
// accepts LF (and a lone CR) too, and a file that is not valid UTF-8 is read as GB18030, the
// encoding of files carried over from older installations.
class TextFile {
public:
    enum class Encoding { Utf8, Gb18030 };

    // `lossy` is set when the bytes are neither UTF-8 nor GB18030: the text then holds
    // replacement characters, and writing it back would destroy what the file held.
    static QString decode(const QByteArray &bytes, Encoding *found = nullptr,
                          bool *lossy = nullptr);
    static QStringList splitLines(const QString &text);
    static QByteArray encodeLines(const QStringList &lines);

    // The lines of a file; nullopt when it is missing or cannot be read (a folder, say).
    static std::optional<QStringList> readLines(const QString &path, bool *lossy = nullptr);

    // The read-only attribute, as the file's permission bits say (whoever runs the program).
    static bool isReadOnly(const QString &path);

    // Makes a rename or a new file in the folder of `path` durable.
    static void syncFolderOf(const QString &path);

    enum class WriteResult { Written, ReadOnly, Failed };
    // Replaces `target` with `bytes`: written and synced to `workPath` first (started empty),
    // then renamed over the target, so the target is always either the old or the new file.
    // A read-only target is left as it was and the work file removed.
    static WriteResult replace(const QString &target, const QString &workPath,
                               const QByteArray &bytes,
                               std::optional<QFileDevice::Permissions> permissions = {});
    // The last step of a replace, for a work file written and synced some other way: renamed
    // over the target unless the target is read-only. The work file is gone afterwards.
    static WriteResult commit(const QString &workPath, const QString &target);
};

}  // namespace lendora
