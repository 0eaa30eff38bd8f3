// Screenshots of the real windows for docs/: each scene starts the application in a fresh
// directory with scripted prompts, puts data in and drives the windows as a clerk would, then
// saves the window it shows. Run under Xvfb with the xcb platform:
//   xvfb-run -a build/test/bin/lendora_docshots docs [scene ...]
#include "TestApp.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <functional>

using lendora::testkit::TestApp;

namespace {

struct Scene {
    const char *file;                             // docs/<file>.png
    std::function<QWidget *(TestApp &)> prepare;  // the window to save
};

void settle()
{
    for (int i = 0; i < 10; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

const QList<Scene> &scenes()
{
    static const QList<Scene> all = {
        {"main-window",
         [](TestApp &t) {
             t.login();
             return t.window("Frmmain");
         }},
        // The main window in each of the three window styles.
        {"style-system",
         [](TestApp &t) {
             t.login();
             t.trigger("meuWinStyle");
             return t.window("Frmmain");
         }},
        {"style-classic",
         [](TestApp &t) {
             t.login();
             t.trigger("meuTypeStyle");
             return t.window("Frmmain");
         }},
        {"style-light",
         [](TestApp &t) {
             t.login();
             t.trigger("meuLight");
             return t.window("Frmmain");
         }},
        {"about",
         [](TestApp &t) {
             t.login();
             t.trigger("meuAbout");
             return t.window("FrmAbout");
         }},
    };
    return all;
}

}  // namespace

int main(int argc, char *argv[])
{
    QApplication qapp(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    QStringList wanted;
    for (int i = 2; i < argc; ++i)
        wanted << QString::fromLocal8Bit(argv[i]);
    QDir().mkpath(out);
    int failures = 0;
    for (const Scene &scene : scenes()) {
        const QString name = QString::fromLatin1(scene.file);
        if (!wanted.isEmpty() && !wanted.contains(name))
            continue;
        TestApp t;
        QWidget *window = scene.prepare(t);
        if (!window) {
            qWarning("scene %s showed no window", scene.file);
            ++failures;
            continue;
        }
        window->raise();
        window->activateWindow();
        settle();
        const QPixmap shot = window->screen()->grabWindow(window->winId());
        const QString path = QDir(out).filePath(name + QStringLiteral(".png"));
        if (!shot.save(path)) {
            ++failures;
            continue;
        }
        qInfo("saved %s", qPrintable(path));
    }
    return failures == 0 ? 0 : 1;
}
