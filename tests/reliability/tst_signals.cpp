#include "TestApp.h"
#include "TestMain.h"
#include "app/Application.h"
#include "data/sqlite/DatabaseFile.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

using namespace lendora;
using lendora::testkit::TestApp;

namespace {

void startProbe(QProcess &probe, const QString &dir)
{
    probe.setProgram(QStringLiteral(LENDORA_PROBE));
    probe.setArguments({dir});
    probe.setProcessChannelMode(QProcess::MergedChannels);
    // The probe starts with the signals as a desktop session gives them, whatever this test
    // inherited (nohup ignores SIGHUP, a shell's background job SIGINT).
    probe.setChildProcessModifier([] {
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        for (int number : {SIGTERM, SIGHUP, SIGINT})
            std::signal(number, SIG_DFL);
    });
    probe.start();
}

// What the probe printed up to `word` (or until it ended).
QString readUntil(QProcess &probe, const char *word)
{
    QString seen;
    while (!seen.contains(word) && (probe.waitForReadyRead(30000) || probe.bytesAvailable()))
        seen += QString::fromUtf8(probe.readAll());
    return seen;
}

}  // namespace

class SignalsTest : public QObject {
    Q_OBJECT

private slots:
    void signalEndsAsTheExitCommand_data();
    void signalEndsAsTheExitCommand();
    void endingDuringStartStopsTheStart_data();
    void endingDuringStartStopsTheStart();
};

void SignalsTest::signalEndsAsTheExitCommand_data()
{
    QTest::addColumn<int>("number");
    QTest::newRow("SIGTERM (shutdown)") << int(SIGTERM);
    QTest::newRow("SIGHUP (logout)") << int(SIGHUP);
    QTest::newRow("SIGINT (Ctrl+C)") << int(SIGINT);
}

void SignalsTest::signalEndsAsTheExitCommand()
{
    QFETCH(int, number);
    QTemporaryDir dir;
    const QString marker = DatabaseFile::markerPath(DatabaseFile::pathIn(dir.path()));
    {
        QProcess probe;
        startProbe(probe, dir.path());
        const QString seen = readUntil(probe, "RUNNING");
        QVERIFY2(seen.contains("RUNNING"), qPrintable(seen));
        QVERIFY(QFileInfo::exists(marker));  // the library is open

        QCOMPARE(::kill(pid_t(probe.processId()), number), 0);
        QVERIFY(probe.waitForFinished(30000));
        QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
        QCOMPARE(probe.exitCode(), 0);
        const QString ending = QString::fromUtf8(probe.readAll());
        QVERIFY2(
            ending.contains(QStringLiteral("STOPPED %1").arg(int(Application::Ending::Signal))),
            qPrintable(ending));
    }
    // Left in order: the next start neither checks the whole file nor finds a copy running.
    QVERIFY(!QFileInfo::exists(marker));
    QProcess next;
    startProbe(next, dir.path());
    const QString seen = readUntil(next, "RUNNING");
    QVERIFY2(seen.contains("RUNNING") && !seen.contains("MESSAGE"), qPrintable(seen));
    next.kill();
    next.waitForFinished();
}

void SignalsTest::endingDuringStartStopsTheStart_data()
{
    // The window whose first event ends the program: a signal is read whenever events run,
    // and both windows run them while their style is applied.
    QTest::addColumn<QString>("window");
    QTest::newRow("main window, while it loads") << QStringLiteral("Frmmain");
    QTest::newRow("login window, while it is made") << QStringLiteral("FrmLogon");
}

void SignalsTest::endingDuringStartStopsTheStart()
{
    QFETCH(QString, window);
    TestApp t;
    struct EndOnFirstEvent : QObject {
        TestApp &t;
        QString name;
        EndOnFirstEvent(TestApp &t, QString name) : t(t), name(std::move(name)) {}
        bool eventFilter(QObject *watched, QEvent *) override
        {
            if (watched->objectName() == name && !t.app().hasEnded())
                t.app().end(Application::Ending::Signal);
            return false;
        }
    } filter(t, window);
    qApp->installEventFilter(&filter);
    const bool started = t.start();
    qApp->removeEventFilter(&filter);
    QVERIFY(t.app().hasEnded());
    // Its exit came before any event loop ran: a caller that went on would wait for ever.
    QVERIFY(!started);
}

LENDORA_TEST_CLASS(SignalsTest)
#include "tst_signals.moc"
