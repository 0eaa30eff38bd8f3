#pragma once

#include <QString>
#include <optional>

namespace lendora {

struct Account {
    QString userName;
    QString password;
    bool operator==(const Account &) const = default;
};

// The login account file, dat/userdata.dat: two key=value lines, "UserName=" with the user
// name reversed and "Password=" with the password shifted one code up and reversed, so
// neither stands in the file as typed. Both work on whole characters (code points).
class AccountFile {
public:
    // In force while no account file exists.
    static Account builtIn();

    static QString reversed(const QString &text);
    static QString encodePassword(const QString &password);
    static QString decodePassword(const QString &stored);

    // The file's lines for an account, and the account those lines read back as.
    static QStringList lines(const Account &account);
    static Account parse(const QStringList &lines);

    // Whether the account can be written so that it reads back exactly: no control
    // characters, no "=" in the user name, and every line decoding to what was typed.
    static bool canStore(const Account &account);

    // The account in the file; nullopt when there is no file (or a folder in its place). A
    // key missing from the file gives an empty value (and an empty password matches no login).
    static std::optional<Account> read(const QString &path);

    enum class WriteResult { Written, Unstorable, Failed };
    // Writes both lines at once: a missing folder is created, the new file is built beside
    // the old one, readable and writable by its owner only, and renamed over it. On any
    // failure the old file stays as it was.
    static WriteResult write(const QString &path, const Account &account);
};

}  // namespace lendora
