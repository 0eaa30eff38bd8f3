#include "base/AccountFile.h"

#include "base/KeyValueFile.h"
#include "base/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <string>

namespace lendora {

namespace {

const QString kUserNameKey = QStringLiteral("UserName");
const QString kPasswordKey = QStringLiteral("Password");

// The first line holding key + "=", as GetKeyValue finds it in the file.
QString valueIn(const QStringList &lines, const QString &key)
{
    const QString needle = key + QLatin1Char('=');
    for (const QString &line : lines) {
        const qsizetype at = line.indexOf(needle);
        if (at >= 0)
            return line.mid(at + needle.size());
    }
    return {};
}

std::u32string codePoints(const QString &text)
{
    const QList<uint> codes = text.toUcs4();  // an unpaired surrogate becomes U+FFFD
    return std::u32string(codes.cbegin(), codes.cend());
}

QString fromCodePoints(const std::u32string &codes)
{
    return QString::fromUcs4(codes.data(), static_cast<qsizetype>(codes.size()));
}

bool isCodePoint(char32_t c)
{
    return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

// Every code point moved by `step`; one that would leave the code space becomes U+FFFD,
// which the round-trip check then refuses.
QString shifted(const QString &text, int step)
{
    std::u32string codes = codePoints(text);
    for (char32_t &c : codes) {
        const qint64 moved = static_cast<qint64>(c) + step;
        c = moved >= 0 && isCodePoint(static_cast<char32_t>(moved)) ? static_cast<char32_t>(moved)
                                                                    : 0xFFFD;
    }
    return fromCodePoints(codes);
}

bool hasControlCharacter(const QString &text)
{
    const std::u32string codes = codePoints(text);
    return std::any_of(codes.cbegin(), codes.cend(),
                       [](char32_t c) { return QChar::category(c) == QChar::Other_Control; });
}

}  // namespace

Account AccountFile::builtIn()
{
    return {QStringLiteral("user"), QStringLiteral("741")};
}

QString AccountFile::reversed(const QString &text)
{
    std::u32string codes = codePoints(text);
    std::reverse(codes.begin(), codes.end());
    return fromCodePoints(codes);
}

QString AccountFile::encodePassword(const QString &password)
{
    return reversed(shifted(password, +1));
}

QString AccountFile::decodePassword(const QString &stored)
{
    return shifted(reversed(stored), -1);
}

QStringList AccountFile::lines(const Account &account)
{
    return {kUserNameKey + QLatin1Char('=') + reversed(account.userName),
            kPasswordKey + QLatin1Char('=') + encodePassword(account.password)};
}

Account AccountFile::parse(const QStringList &lines)
{
    return {reversed(valueIn(lines, kUserNameKey)), decodePassword(valueIn(lines, kPasswordKey))};
}

bool AccountFile::canStore(const Account &account)
{
    if (account.userName.contains(QLatin1Char('=')) || hasControlCharacter(account.userName)
        || hasControlCharacter(account.password))
        return false;
    // What the file will hold, read back the way a login reads it.
    const QByteArray bytes = TextFile::encodeLines(lines(account));
    return parse(TextFile::splitLines(TextFile::decode(bytes))) == account;
}

std::optional<Account> AccountFile::read(const QString &path)
{
    // A folder in its place is no account file: the built-in account applies.
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    return Account{reversed(GetKeyValue(path, kUserNameKey)),
                   decodePassword(GetKeyValue(path, kPasswordKey))};
}

AccountFile::WriteResult AccountFile::write(const QString &path, const Account &account)
{
    if (!canStore(account))
        return WriteResult::Unstorable;
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        return WriteResult::Failed;
    const QString work = info.absoluteFilePath() + QStringLiteral(".new");
    const auto result = TextFile::replace(path, work, TextFile::encodeLines(lines(account)),
                                          QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return result == TextFile::WriteResult::Written ? WriteResult::Written : WriteResult::Failed;
}

}  // namespace lendora
