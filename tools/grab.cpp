// Saves a PNG of the whole X screen: `grab out.png [delay-ms]`. For the README's screenshots,
// taken of the real program under Xvfb (see tools/screenshot).
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QThread>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return 2;
    if (argc > 2)
        QThread::msleep(QString::fromLocal8Bit(argv[2]).toULong());
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 1;
    return screen->grabWindow(0).save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
