#include "ChildCase.h"

#include <QCoreApplication>
#include <QObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace lendora::testkit {

void runCaseInChild(const QObject *test, const QString &launcher,
                    const QStringList &launcherArguments, QProcessEnvironment environment)
{
    const QString className = QString::fromLatin1(test->metaObject()->className());
    const QString function = QString::fromLatin1(QTest::currentTestFunction());
    QString selected = function;
    if (const char *tag = QTest::currentDataTag())
        selected += QLatin1Char(':') + QString::fromUtf8(tag);
    environment.insert(QStringLiteral("LENDORA_TEST_ONLY_CLASS"), className);
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    const QString executable = QCoreApplication::applicationFilePath();
    if (launcher.isEmpty())
        child.start(executable, {selected});
    else
        child.start(launcher, launcherArguments + QStringList{executable, selected});
    const bool ended = child.waitForFinished(240000);
    if (!ended) {
        child.kill();
        child.waitForFinished();
    }
    const QString output = QString::fromLocal8Bit(child.readAll());
    if (!ended || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        QTest::qFail(qPrintable(QStringLiteral("the case in its child process failed:\n") + output),
                     __FILE__, __LINE__);
        return;
    }
    static const QRegularExpression skipped(QStringLiteral("^SKIP\\s*:\\s*\\S+\\(\\S*\\)\\s*(.*)$"),
                                            QRegularExpression::MultilineOption);
    if (const QRegularExpressionMatch m = skipped.match(output); m.hasMatch()) {
        QTest::qSkip(qPrintable(QStringLiteral("in its child process: ") + m.captured(1)), __FILE__,
                     __LINE__);
        return;
    }
    if (!output.contains(QStringLiteral("PASS   : %1::%2(").arg(className, function)))
        QTest::qFail(
            qPrintable(QStringLiteral("the case in its child process did not pass:\n") + output),
            __FILE__, __LINE__);
}

}  // namespace lendora::testkit
