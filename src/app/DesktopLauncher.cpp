#include "app/DesktopLauncher.h"

#include <QDesktopServices>

namespace lendora {

bool DesktopLauncher::openDocument(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool DesktopLauncher::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

}  // namespace lendora
