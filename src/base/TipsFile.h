#pragma once

#include <QString>
#include <optional>

namespace lendora {

// QUICKTIP.INI, the daily tips: a private-profile file whose [TIP] section holds the tips as
// 1=, 2=, ... , CURRENT= the number of the tip shown next, and START=T while the tips window
// opens after login (F when not). Every reader and writer of the file goes through here.
class TipsFile {
public:
    static QString fileName();
    explicit TipsFile(QString path);
    static TipsFile inFolder(const QString &appDir);
    const QString &path() const { return m_path; }

    // The entries besides the tips.
    static QString startKey();
    static QString currentKey();
    // The tip that follows the tip `key` (a key that is no number counts as 0), and the first.
    static QString keyAfter(const QString &key);
    static QString firstKey();

    // An entry of [TIP] as "TIP/<key>", for messages about it.
    static QString entryName(const QString &key);
    // The entry's value, trimmed (PrivateProfile::read); nullopt when the file or key is missing.
    std::optional<QString> read(const QString &key) const;
    // Sets the entry, every other line kept as it was; false when the file refused.
    bool write(const QString &key, const QString &value) const;

    // What START holds: T opens the window after login, anything else does not.
    static bool opensAtStart(const QString &startValue);
    static QString startValue(bool opens);
    bool opensAtStart() const;

private:
    QString m_path;
};

}  // namespace lendora
