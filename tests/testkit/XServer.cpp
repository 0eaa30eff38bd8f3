#include "XServer.h"

#include <QStandardPaths>

namespace lendora::testkit {

namespace {
const QString kChildVariable = QStringLiteral("LENDORA_X_DISPLAY");
}

XServer::XServer()
{
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()) {
        m_why = QStringLiteral("Xvfb is not installed (scripts/install-deps installs it)");
        return;
    }
    // Xvfb picks a free display and writes its number to the descriptor given.
    m_server.start(QStringLiteral("Xvfb"),
                   {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                    QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                    QStringLiteral("tcp")});
    QString number;
    for (int wait = 0; wait < 100 && number.isEmpty() && m_server.state() != QProcess::NotRunning;
         ++wait) {
        m_server.waitForReadyRead(100);
        number = QString::fromLatin1(m_server.readAllStandardOutput()).trimmed();
    }
    if (number.isEmpty()) {
        m_why = QStringLiteral("Xvfb did not start: ")
                + QString::fromLocal8Bit(m_server.readAllStandardError()).trimmed();
        m_server.kill();
        m_server.waitForFinished();
        return;
    }
    m_display = QLatin1Char(':') + number;
}

XServer::~XServer()
{
    if (m_server.state() == QProcess::NotRunning)
        return;
    m_server.terminate();
    if (!m_server.waitForFinished(10000)) {
        m_server.kill();
        m_server.waitForFinished();
    }
}

QProcessEnvironment XServer::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    environment.insert(kChildVariable, m_display);
    return environment;
}

QString XServer::ofChild()
{
    return qEnvironmentVariable(qPrintable(kChildVariable));
}

}  // namespace lendora::testkit
