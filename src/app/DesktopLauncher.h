#pragma once

#include "gui/widgets/Launcher.h"

namespace lendora {

// The desktop's own "open" action: the text editor for the help file, the web browser for
// addresses. Neither is waited for. A help file is handed over only when the desktop names a
// program for plain text; otherwise openDocument() is false and the program shows it itself.
class DesktopLauncher : public Launcher {
public:
    bool openDocument(const QString &path) override;
    bool openUrl(const QUrl &url) override;
};

}  // namespace lendora
