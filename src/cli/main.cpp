#include "base/AppDirectory.h"
#include "cli/BackupCommands.h"
#include "cli/Cli.h"
#include "cli/ExportCommand.h"
#include "cli/ImportCommand.h"
#include "cli/OverdueCommand.h"
#include "cli/StatsCommand.h"

#include <QFile>
#include <QGuiApplication>
#include <QStandardPaths>

int main(int argc, char *argv[])
{
    // A scheduled job has no display; PDFs are drawn without one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication qapp(argc, argv);
    // The desk's name: an installed copy finds the desk's per-user folder.
    QGuiApplication::setApplicationName(QStringLiteral("lendora"));

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
    cli.add(lendora::cli::overdueCommand());
    cli.add(lendora::cli::statsCommand());
    return cli.run(QGuiApplication::arguments().mid(1));
}
