#pragma once

// Runs the built lendora-cli as a scheduled job would: no display, its own platform.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

struct Result {
    int status = -1;
    QByteArray out;
    QString err;
};

// Runs the built tool on the application directory `appDir`.
// Sets up `tool` to run the built tool on `appDir` with `arguments`, not started yet.
inline void prepareCli(QProcess &tool, const QString &appDir, const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // A scheduled job has no display: the tool must choose its own platform.
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    tool.setProcessEnvironment(environment);
    tool.setProgram(QStringLiteral(LENDORA_CLI));
    tool.setArguments(QStringList{"--app-dir", appDir} + arguments);
}

inline Result cli(const QString &appDir, const QStringList &arguments)
{
    QProcess tool;
    prepareCli(tool, appDir, arguments);
    tool.start();
    Result result;
    if (!tool.waitForFinished(120000) || tool.exitStatus() != QProcess::NormalExit)
        return result;
    result.status = tool.exitCode();
    result.out = tool.readAllStandardOutput();
    result.err = QString::fromUtf8(tool.readAllStandardError());
    return result;
}
