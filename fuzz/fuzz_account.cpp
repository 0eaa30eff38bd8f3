// The account file codec: any file content reads as some account without failing; an account
// the codec accepts reads back from its file exactly as it was written; one it refuses is never
// written.
#include "base/AccountFile.h"

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

void roundTrip(const QString &path, const lendora::Account &account)
{
    using lendora::AccountFile;
    const QByteArray before = contentOf(path);
    const AccountFile::WriteResult result = AccountFile::write(path, account);
    if (QFile::exists(path + QStringLiteral(".new")))
        std::abort();
    if (!AccountFile::canStore(account)) {
        if (result != AccountFile::WriteResult::Unstorable || contentOf(path) != before)
            std::abort();
        return;
    }
    if (result != AccountFile::WriteResult::Written)
        std::abort();
    if (AccountFile::read(path) != account)
        std::abort();
    if (AccountFile::parse(AccountFile::lines(account)) != account)
        std::abort();
    if (AccountFile::decodePassword(AccountFile::encodePassword(account.password))
        != account.password)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Layout: user name \0 password \0 file bytes.
    const QByteArray all(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<QByteArray> parts = all.split('\0');
    if (parts.size() < 3)
        return 0;
    const lendora::Account typed{QString::fromUtf8(parts[0]), QString::fromUtf8(parts[1])};
    const QByteArray content = all.mid(parts[0].size() + parts[1].size() + 2);

    const QString path = QDir(dir().path()).filePath(QStringLiteral("dat/userdata.dat"));
    QDir().mkpath(QFileInfo(path).absolutePath());
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        f.write(content);
    }
    const auto found = lendora::AccountFile::read(path);
    if (!found)
        std::abort();
    // What a file holds, written again by the program, reads back the same.
    roundTrip(path, *found);
    roundTrip(path, typed);
    return 0;
}
