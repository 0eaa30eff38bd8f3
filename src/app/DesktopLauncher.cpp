#include "app/DesktopLauncher.h"

#include <QDesktopServices>
#include <QProcess>
#include <optional>

namespace lendora {

namespace {

// Whether the desktop names a program for plain text. xdg-open reports success even where
// none is set up and nothing opens, so the question comes first. nullopt when it cannot be
// asked (no xdg-mime): the desktop's own answer then decides.
std::optional<bool> textHasAProgram()
{
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/plain")});
    if (!query.waitForStarted(5000))
        return std::nullopt;
    if (!query.waitForFinished(5000)) {
        query.kill();
        query.waitForFinished(1000);
        return std::nullopt;
    }
    return query.exitStatus() == QProcess::NormalExit && query.exitCode() == 0
           && !query.readAllStandardOutput().trimmed().isEmpty();
}

}  // namespace

bool DesktopLauncher::openDocument(const QString &path)
{
    if (!textHasAProgram().value_or(true))
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool DesktopLauncher::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

}  // namespace lendora
