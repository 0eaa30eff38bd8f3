#pragma once

#include <QString>
#include <QStringList>

namespace lendora {

// The application directory: the executable's own, or, when that is not writable (an
// installed copy), the per-user data directory seeded from the shipped files.
class AppDirectory {
public:
    static const QStringList &shippedFiles();  // relative paths
    static QString resolve(const QString &executableDir, const QString &userDataDir);
    // Copies the shipped files that `to` does not hold yet.
    static void seed(const QString &from, const QString &to);
};

}  // namespace lendora
