#include "app/Application.h"
#include "app/DesktopLauncher.h"
#include "app/QtPrompter.h"
#include "app/SignalEnding.h"
#include "base/AppDirectory.h"

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char *argv[])
{
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lendora"));
    // The menu entry's name: a window manager finds the entry's icon and name by it.
    QApplication::setDesktopFileName(QStringLiteral("org.lendora.Desk"));
    QApplication::setQuitOnLastWindowClosed(false);

    lendora::QtPrompter prompter;
    lendora::DesktopLauncher launcher;
    lendora::Environment env;
    env.appDir = lendora::AppDirectory::resolve(
        QApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
    env.prompter = &prompter;
    env.launcher = &launcher;
    env.today = [] { return QDate::currentDate(); };
    env.dailyBackup = true;

    lendora::Application app(env);
    // Installed before the start: a logout during it must not skip the ending either.
    lendora::SignalEnding signalEnding(app);
    if (!app.start())
        return 0;
    return QApplication::exec();
}
