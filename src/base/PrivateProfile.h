#pragma once

#include "base/TextFile.h"

#include <QString>
#include <optional>

namespace lendora {

// Private-profile (INI) files such as the tips file: "[section]" headers, "key=value" lines,
// ";" comment lines. Section and key names match without regard to case, values are trimmed,
// and the first occurrence wins. Reading accepts UTF-8 or GB18030 like every text file beside
// the program; a write rewrites only the one line it changes (or adds one), keeping every
// other line, comment and blank line in its place, and goes through a work file and a rename.
class PrivateProfile {
public:
    // At most this many bytes of a value are used, counted in the file's own encoding.
    static constexpr int kMaxValueBytes = 999;

    // The value, trimmed and cut to kMaxValueBytes at a character boundary; nullopt when the
    // file, the section or the key is missing. A key present with nothing after "=" gives "".
    static std::optional<QString> read(const QString &path, const QString &section,
                                       const QString &key);

    // Sets key=value in the section, adding the key (at the end of the section) or the
    // section (at the end of the file) when missing, creating the file when there is none.
    // False when nothing was written: a read-only or unreadable file, one whose bytes are
    // neither UTF-8 nor GB18030 (rewriting would lose them), a folder that cannot be written,
    // or a name or value that could not be read back (a line break, a "=" in the key, a "]"
    // in the section).
    static bool write(const QString &path, const QString &section, const QString &key,
                      const QString &value);

    // The longest leading part of `text` whose encoding takes at most `maxBytes` bytes, never
    // splitting a character.
    static QString cutToBytes(const QString &text, TextFile::Encoding encoding, int maxBytes);
};

}  // namespace lendora
