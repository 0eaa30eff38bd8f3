#include "TestApp.h"
#include "TestMain.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Starts the probe in `dir` and waits until it says whether it runs or ended.
QString firstVerdict(QProcess &probe)
{
    QString seen;
    while (probe.waitForReadyRead(20000) || probe.bytesAvailable()) {
        seen += QString::fromUtf8(probe.readAll());
        if (seen.contains("RUNNING") || seen.contains("ENDED"))
            break;
    }
    return seen;
}

void startProbe(QProcess &probe, const QString &dir)
{
    probe.setProgram(QStringLiteral(LENDORA_PROBE));
    probe.setArguments({dir});
    probe.setProcessChannelMode(QProcess::MergedChannels);
    probe.start();
}

}  // namespace

class SingleCopyTest : public QObject {
    Q_OBJECT

private slots:
    void exactlyOneOfTwoSimultaneousCopiesRuns();
    void killedCopyDoesNotBlockTheNext();
};

void SingleCopyTest::exactlyOneOfTwoSimultaneousCopiesRuns()
{
    for (int round = 0; round < 5; ++round) {
        QTemporaryDir dir;
        QProcess a, b;
        startProbe(a, dir.path());
        startProbe(b, dir.path());
        const QString first = firstVerdict(a);
        const QString second = firstVerdict(b);
        const int running = int(first.contains("RUNNING")) + int(second.contains("RUNNING"));
        QCOMPARE(running, 1);
        const QString &refused = first.contains("RUNNING") ? second : first;
        QVERIFY2(refused.contains(QString::fromUtf8("MESSAGE 岚枢图书管理系统|本程式已运行!")),
                 qPrintable(refused));
        QVERIFY(refused.contains("ENDED"));
        // The refused copy ends by itself, cleanly (the sanitizers had nothing to say).
        QProcess &refusedCopy = first.contains("RUNNING") ? b : a;
        QVERIFY(refusedCopy.waitForFinished(20000));
        QCOMPARE(refusedCopy.exitStatus(), QProcess::NormalExit);
        QCOMPARE(refusedCopy.exitCode(), 0);
        a.kill();
        b.kill();
        a.waitForFinished();
        b.waitForFinished();
    }
}

void SingleCopyTest::killedCopyDoesNotBlockTheNext()
{
    QTemporaryDir dir;
    for (int round = 0; round < 3; ++round) {
        QProcess probe;
        startProbe(probe, dir.path());
        const QString seen = firstVerdict(probe);
        QVERIFY2(seen.contains("RUNNING"), qPrintable(seen));
        probe.kill();  // SIGKILL: no ending path runs
        QVERIFY(probe.waitForFinished());
        QCOMPARE(probe.exitStatus(), QProcess::CrashExit);
    }
}

LENDORA_TEST_CLASS(SingleCopyTest)
#include "tst_singlecopy.moc"
