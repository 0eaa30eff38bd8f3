#pragma once

#include <QString>
#include <QUrl>

namespace lendora {

// The desktop's "open" action and starting other programs.
class Launcher {
public:
    virtual ~Launcher() = default;
    virtual bool openDocument(const QString &path) = 0;  // plain-text help file
    virtual bool openUrl(const QUrl &url) = 0;           // web links of the about box
};

}  // namespace lendora
