// The real launcher hands the help file to the desktop only when the desktop names a program
// for plain text: xdg-open says it opened a file even where nothing does.
#include "ChildCase.h"
#include "TestMain.h"
#include "XServer.h"
#include "app/DesktopLauncher.h"

#include <QGuiApplication>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class LauncherTest : public QObject {
    Q_OBJECT

private slots:
    void helpGoesToTheDesktopOnlyWithATextProgram_data();
    void helpGoesToTheDesktopOnlyWithATextProgram();
};

namespace {

void writeScript(const QString &path, const QByteArray &body)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n" + body);
    file.close();
    QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser));
}

}  // namespace

void LauncherTest::helpGoesToTheDesktopOnlyWithATextProgram_data()
{
    QTest::addColumn<QByteArray>("xdgMime");  // what the desktop's xdg-mime does
    QTest::addColumn<bool>("opened");
    QTest::newRow("a text editor set up")
        << QByteArray("echo org.example.Editor.desktop\n") << true;
    QTest::newRow("nothing set up") << QByteArray("exit 0\n") << false;
    QTest::newRow("only blanks") << QByteArray("echo '  '\n") << false;
    QTest::newRow("xdg-mime fails") << QByteArray("echo editor.desktop; exit 4\n") << false;
}

void LauncherTest::helpGoesToTheDesktopOnlyWithATextProgram()
{
    QFETCH(QByteArray, xdgMime);
    QFETCH(bool, opened);
    // Only a desktop platform hands a file on (offscreen opens nothing, whatever it is asked):
    // the case runs again in a child on an X server of its own, through the xcb platform.
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        const lendora::testkit::XServer server;
        if (server.display().isEmpty())
            QSKIP(qPrintable(server.why()));
        lendora::testkit::runCaseInChild(this, {}, {}, server.environment());
        return;
    }
    // A desktop of two programs on the path: xdg-mime as the row has it, and an xdg-open that
    // writes down what it was asked to open and says it did.
    QTemporaryDir bin;
    const QString asked = bin.filePath("asked");
    writeScript(bin.filePath("xdg-mime"), xdgMime);
    writeScript(bin.filePath("xdg-open"), "echo \"$1\" >> '" + asked.toUtf8() + "'\n");
    const QByteArray path = qgetenv("PATH");
    const QByteArray desktop = qgetenv("XDG_CURRENT_DESKTOP");
    qputenv("PATH", QFile::encodeName(bin.path()) + ":" + path);
    qunsetenv("XDG_CURRENT_DESKTOP");
    const auto restore = qScopeGuard([&] {
        qputenv("PATH", path);
        if (!desktop.isEmpty())
            qputenv("XDG_CURRENT_DESKTOP", desktop);
    });

    const QString help = bin.filePath("readme.txt");
    lendora::DesktopLauncher launcher;
    QCOMPARE(launcher.openDocument(help), opened);
    if (opened) {
        QTRY_VERIFY(QFile::exists(asked));
        QFile file(asked);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY2(file.readAll().contains(QFile::encodeName(help)), qPrintable(asked));
    } else {
        QTest::qWait(200);  // a launch would have written by now
        QVERIFY(!QFile::exists(asked));
    }
}

LENDORA_TEST_CLASS(LauncherTest)
#include "tst_launcher.moc"
