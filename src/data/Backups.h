#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

namespace lendora {

// The copies of the library kept in backup/ beside the program: Lendora-yyyyMMdd-HHmmss.mdb,
// the newest last to be removed.
class Backups {
public:
    explicit Backups(QString appDir);

    QString folder() const;
    // A new copy's path for that moment; `tag` (say "upgrade") goes before the date.
    QString pathFor(const QDate &day, const QTime &time, const QString &tag = {}) const;
    // The copies made here, newest first.
    QStringList list() const;
    // Whether a copy was made on that day.
    bool madeOn(const QDate &day) const;
    // Removes all but the newest `keep` copies; the paths removed.
    QStringList prune(int keep) const;

private:
    QString m_appDir;
};

}  // namespace lendora
