#include "base/AppDirectory.h"
#include "base/DeskSettings.h"
#include "base/Language.h"
#include "cli/BackupCommands.h"
#include "cli/Cli.h"
#include "cli/ExportCommand.h"
#include "cli/ImportCommand.h"
#include "cli/LabelCommands.h"
#include "cli/MigrateCommand.h"
#include "cli/OverdueCommand.h"
#include "cli/StatsCommand.h"

#include <QFile>
#include <QGuiApplication>
#include <QStandardPaths>

namespace {

// The folder whose setting.ini chooses the language: --app-dir's among the global options
// (those before the command), else the desk's own, found without seeding anything.
QString settingsDir(const QStringList &arguments)
{
    const QString appDir = QStringLiteral("--app-dir");
    for (qsizetype i = 0; i < arguments.size() && arguments.at(i).startsWith(QLatin1String("--"));
         ++i) {
        const QString &argument = arguments.at(i);
        if (argument.startsWith(appDir + QLatin1Char('=')))
            return argument.mid(appDir.size() + 1);
        if (argument == appDir)
            return i + 1 < arguments.size() ? arguments.at(i + 1) : QString();
    }
    return lendora::AppDirectory::settingsDir(
        QGuiApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
}

}  // namespace

int main(int argc, char *argv[])
{
    // A scheduled job has no display; PDFs are drawn without one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication qapp(argc, argv);
    // The desk's name: an installed copy finds the desk's per-user folder.
    QGuiApplication::setApplicationName(QStringLiteral("lendora"));

    // Before the commands are made: their summaries are translated as they are.
    const QStringList arguments = QGuiApplication::arguments().mid(1);
    const lendora::Translations translations(
        lendora::DeskSettings::inFolder(settingsDir(arguments)).language(),
        lendora::AppDirectory::translationsDir(QGuiApplication::applicationDirPath()));

    QFile out;
    QFile err;
    if (!out.open(stdout, QIODevice::WriteOnly) || !err.open(stderr, QIODevice::WriteOnly))
        return lendora::cli::Unavailable;
    lendora::cli::Cli cli(
        [] {
            return lendora::AppDirectory::resolve(
                QGuiApplication::applicationDirPath(),
                QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
        },
        QDate::currentDate(), out, err);
    cli.add(lendora::cli::exportCommand());
    cli.add(lendora::cli::importCommand());
    cli.add(lendora::cli::backupCommand());
    cli.add(lendora::cli::restoreCommand());
    cli.add(lendora::cli::checkCommand());
    cli.add(lendora::cli::migrateCommand());
    cli.add(lendora::cli::overdueCommand());
    cli.add(lendora::cli::statsCommand());
    cli.add(lendora::cli::labelsCommand());
    cli.add(lendora::cli::cardsCommand());
    return cli.run(arguments);
}
