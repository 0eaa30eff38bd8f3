#include "Unprivileged.h"

#include "ChildCase.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <unistd.h>

namespace lendora::testkit {

bool runsUnprivileged(const QObject *test)
{
    if (::geteuid() != 0)
        return true;
    const QStringList dropToNobody = {QStringLiteral("--reuid=nobody"),
                                      QStringLiteral("--regid=nogroup"),
                                      QStringLiteral("--clear-groups")};
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    const QString executable = QCoreApplication::applicationFilePath();
    if (setpriv.isEmpty()) {
        QTest::qSkip("runs as root, and setpriv (util-linux) is not there to drop to nobody",
                     __FILE__, __LINE__);
        return false;
    }
    // The build tree may lie where nobody cannot reach it.
    if (QProcess::execute(
            setpriv,
            dropToNobody + QStringList{QStringLiteral("test"), QStringLiteral("-x"), executable})
        != 0) {
        QTest::qSkip(
            qPrintable(QStringLiteral("runs as root, and nobody cannot run %1").arg(executable)),
            __FILE__, __LINE__);
        return false;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Root's runtime folder is not nobody's; Qt makes one of its own.
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    runCaseInChild(test, setpriv, dropToNobody, environment);
    return false;
}

}  // namespace lendora::testkit
