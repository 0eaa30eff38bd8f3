#include "data/Backups.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace lendora {

namespace {
const QString kFolder = QStringLiteral("backup");
// The tag is a plain word, so a copy's date is always the last two parts of its name.
const QRegularExpression kName(QStringLiteral("^Lendora-(?:[a-z]+-)?(\\d{8})-(\\d{6})\\.mdb$"));
}  // namespace

Backups::Backups(QString appDir) : m_appDir(std::move(appDir)) {}

QString Backups::folder() const
{
    return QDir(m_appDir).filePath(kFolder);
}

QString Backups::pathFor(const QDate &day, const QTime &time, const QString &tag) const
{
    const QString name =
        QStringLiteral("Lendora-%1%2-%3.mdb")
            .arg(tag.isEmpty() ? QString() : tag + QLatin1Char('-'),
                 day.toString(QStringLiteral("yyyyMMdd")), time.toString(QStringLiteral("HHmmss")));
    return QDir(folder()).filePath(name);
}

QStringList Backups::list() const
{
    QList<std::pair<QString, QString>> found;  // date and time, then the path
    const QStringList names = QDir(folder()).entryList(QDir::Files);
    for (const QString &name : names) {
        const QRegularExpressionMatch m = kName.match(name);
        if (m.hasMatch())
            found.append({m.captured(1) + m.captured(2) + name, QDir(folder()).filePath(name)});
    }
    std::sort(found.begin(), found.end(), [](const auto &a, const auto &b) { return a > b; });
    QStringList paths;
    for (const auto &[key, path] : found)
        paths << path;
    return paths;
}

bool Backups::madeOn(const QDate &day) const
{
    const QString date = day.toString(QStringLiteral("yyyyMMdd"));
    const QStringList paths = list();
    return std::any_of(paths.cbegin(), paths.cend(), [&](const QString &path) {
        return kName.match(QFileInfo(path).fileName()).captured(1) == date;
    });
}

QStringList Backups::prune(int keep) const
{
    QStringList removed;
    const QStringList paths = list();
    for (qsizetype i = std::max(keep, 1); i < paths.size(); ++i) {
        if (QFile::remove(paths.at(i)))
            removed << paths.at(i);
    }
    return removed;
}

}  // namespace lendora
