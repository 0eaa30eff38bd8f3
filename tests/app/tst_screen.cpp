// On a bare X server (Xvfb, no window manager) a secondary window and a message box that open
// over the main window show as they are painted in a picture of the whole screen taken with
// xwd -root, not a grab of a widget. xwd reads windows of a colormap other than the screen's
// one by one; a window wholly inside another of the same colormap was read through the lower
// window and came out black (see app/X11Colormap.h).
#include "ChildCase.h"
#include "TestApp.h"
#include "TestMain.h"
#include "XServer.h"
#include "app/QtPrompter.h"

#include <QApplication>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

using lendora::testkit::TestApp;

namespace {

// The whole screen of `display`, through xwd and xwdtopnm; a null image when either fails.
QImage screenOf(const QString &display)
{
    QProcess xwd;
    QProcess convert;
    xwd.setStandardOutputProcess(&convert);
    xwd.start(QStringLiteral("xwd"), {QStringLiteral("-root"), QStringLiteral("-silent"),
                                      QStringLiteral("-display"), display});
    convert.start(QStringLiteral("xwdtopnm"), QStringList{});
    // The converter's output is read while it runs; xwd ends once its picture is taken in.
    if (!convert.waitForFinished(30000) || !xwd.waitForFinished(30000))
        return {};
    return QImage::fromData(convert.readAllStandardOutput(), "PPM");
}

struct Painted {
    double alike = 0;  // share of the window's pixels on screen as the window draws them
    double black = 0;  // share of black pixels on screen
    QString text() const
    {
        return QStringLiteral("%1% as drawn, %2% black")
            .arg(alike * 100, 0, 'f', 1)
            .arg(black * 100, 0, 'f', 1);
    }
};

// How much of `window`'s place on `screen` shows what the window draws, leaving out what lies
// under `cover` (a window above it).
Painted compare(const QImage &screen, QWidget *window, const QRect &cover = {})
{
    const QImage drawn = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint origin = window->mapToGlobal(QPoint(0, 0));
    int looked = 0;
    int alike = 0;
    int black = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const QPoint at = origin + QPoint(x, y);
            if (!screen.rect().contains(at) || cover.contains(at))
                continue;
            const QRgb want = drawn.pixel(x, y);
            const QRgb got = screen.pixel(at);
            ++looked;
            if (qAbs(qRed(want) - qRed(got)) + qAbs(qGreen(want) - qGreen(got))
                    + qAbs(qBlue(want) - qBlue(got))
                < 48)
                ++alike;
            if ((got & 0xffffff) == 0)
                ++black;
        }
    }
    if (looked == 0)
        return {};
    return {double(alike) / looked, double(black) / looked};
}

}  // namespace

class ScreenTest : public QObject {
    Q_OBJECT

private slots:
    void windowsArePaintedOnABareXServer();
};

void ScreenTest::windowsArePaintedOnABareXServer()
{
    const QString display = lendora::testkit::XServer::ofChild();
    if (display.isEmpty()) {
        // Here: an X server of its own, and the case again in a child that shows its windows
        // on it through the xcb platform.
        for (const char *program : {"xwd", "xwdtopnm"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is not installed (scripts/install-deps "
                                                "installs it)")
                                     .arg(QString::fromLatin1(program))));
        }
        const lendora::testkit::XServer server;
        if (server.display().isEmpty())
            QSKIP(qPrintable(server.why()));
        lendora::testkit::runCaseInChild(this, {}, {}, server.environment());
        return;
    }

    // The child, on the bare X server: the tips window opens after the login (the shipped
    // QUICKTIP.INI asks for it), and a message box opens over it.
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    TestApp t;
    t.login();
    QWidget *tips = t.window("FrmHelp");
    QVERIFY(tips);
    // The test kit's login leaves the main window in front, as a clerk who clicks it does; on
    // a bare X server the window in front is the one mapped or raised last.
    tips->raise();
    QTest::qWait(1500);

    // The screen is taken while the box waits for its OK, and each window compared with it
    // there and then.
    bool taken = false;
    bool boxShown = false;
    Painted boxPainted;
    Painted tipsPainted;
    QTimer::singleShot(1500, [&] {
        QWidget *box = QApplication::activeModalWidget();
        boxShown = box != nullptr;
        if (!box)
            return;
        const QImage screen = screenOf(display);
        taken = !screen.isNull();
        if (taken) {
            boxPainted = compare(screen, box);
            tipsPainted = compare(screen, tips, QRect(box->mapToGlobal(QPoint(0, 0)), box->size()));
        }
        box->close();
    });
    lendora::QtPrompter().message({QStringLiteral("该书已借出!"), QStringLiteral("提示")});
    QVERIFY2(boxShown, "no message box opened");
    QVERIFY2(taken, "xwd or xwdtopnm gave no picture of the screen");
    const QString found =
        "the message box: " + boxPainted.text() + "; the tips window: " + tipsPainted.text();
    QVERIFY2(boxPainted.alike > 0.9 && tipsPainted.alike > 0.9, qPrintable(found));
}

LENDORA_TEST_CLASS(ScreenTest)
#include "tst_screen.moc"
