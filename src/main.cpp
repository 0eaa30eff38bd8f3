#include "app/Application.h"
#include "app/DeskCommandLine.h"
#include "app/DesktopLauncher.h"
#include "app/QtPrompter.h"
#include "app/SignalEnding.h"
#include "base/AppDirectory.h"
#include "base/DeskSettings.h"
#include "base/Language.h"

#include <QApplication>
#include <QStandardPaths>
#include <cstdio>

namespace {

// --version and --help: a core application only, so they answer without a display.
int answerCommandLine(int argc, char *argv[], lendora::DeskCommandLine::Answer answer)
{
    QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lendora"));
    const QString bin = QCoreApplication::applicationDirPath();
    // Read where the desk would read it, without seeding a per-user folder for it.
    const QString appDir = lendora::AppDirectory::settingsDir(
        bin, QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
    const lendora::Translations translations(lendora::DeskSettings::inFolder(appDir).language(),
                                             lendora::AppDirectory::translationsDir(bin));
    const QString text = answer == lendora::DeskCommandLine::Answer::Version
                             ? lendora::DeskCommandLine::versionText()
                             : lendora::DeskCommandLine::helpText();
    const QByteArray bytes = text.toUtf8();
    return std::fwrite(bytes.constData(), 1, bytes.size(), stdout) == size_t(bytes.size()) ? 0 : 1;
}

}  // namespace

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const auto answer = lendora::DeskCommandLine::parse(arguments);
        answer != lendora::DeskCommandLine::Answer::Run)
        return answerCommandLine(argc, argv, answer);

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
    env.database = lendora::DeskCommandLine::database(arguments);

    // Before any window is made: each takes its texts as it is built.
    const lendora::Translations translations(
        lendora::DeskSettings::inFolder(env.appDir).language(),
        lendora::AppDirectory::translationsDir(QApplication::applicationDirPath()));

    lendora::Application app(env);
    // Installed before the start: a logout during it must not skip the ending either.
    lendora::SignalEnding signalEnding(app);
    if (!app.start())
        return 0;
    return QApplication::exec();
}
