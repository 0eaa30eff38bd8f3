#pragma once

#include "gui/widgets/Launcher.h"

namespace lendora {

// The desktop's own "open" action: the text editor for the help file, the web browser for
// addresses. Neither is waited for.
class DesktopLauncher : public Launcher {
public:
    bool openDocument(const QString &path) override;
    bool openUrl(const QUrl &url) override;
};

}  // namespace lendora
