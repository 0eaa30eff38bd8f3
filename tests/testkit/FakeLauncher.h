#pragma once

#include "gui/widgets/Launcher.h"

#include <QStringList>

namespace lendora::testkit {

class FakeLauncher : public Launcher {
public:
    QStringList openedDocuments, openedUrls;  // what was asked for, in order
    bool succeed = true;

    bool openDocument(const QString &path) override
    {
        openedDocuments << path;
        return succeed;
    }
    bool openUrl(const QUrl &url) override
    {
        openedUrls << url.toString();
        return succeed;
    }
};

}  // namespace lendora::testkit
