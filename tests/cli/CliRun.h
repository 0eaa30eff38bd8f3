#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace {

struct Result {
    int status = -1;
    QByteArray out;
    QString err;
};

// Runs the built tool on the application directory `appDir`.
inline Result cli(const QString &appDir, const QStringList &arguments)
{
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // A scheduled job has no display: the tool must choose its own platform.
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    tool.setProcessEnvironment(environment);
    tool.start(QStringLiteral(LENDORA_CLI), QStringList{"--app-dir", appDir} + arguments);
    Result result;
    if (!tool.waitForFinished(120000) || tool.exitStatus() != QProcess::NormalExit)
        return result;
    result.status = tool.exitCode();
    result.out = tool.readAllStandardOutput();
    result.err = QString::fromUtf8(tool.readAllStandardError());
    return result;
}

}  // namespace
