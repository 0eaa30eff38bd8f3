#pragma once

#include "base/TextFile.h"

#include <QString>

namespace lendora {

// key=value text files (the settings file, the account file).

// The rest of the first line holding key + "=" anywhere in it (blanks included); empty when
// the file or the key is missing. The match is a case-sensitive substring, so a line
// "xLoadStyle=5" answers the key "LoadStyle".
QString GetKeyValue(const QString &path, const QString &key);

// Replaces every line holding key + "=" by key=value, or appends that line when none does;
// other lines stay in order. The new file is built in the work file "temp.ini" beside it and
// renamed over it; a read-only file, and one whose bytes are neither UTF-8 nor GB18030, are
// left as they were.
TextFile::WriteResult SetKeyValue(const QString &path, const QString &key, const QString &value);

}  // namespace lendora
