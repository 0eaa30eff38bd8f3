// Screenshots of the real windows for docs/: each scene starts the application in a fresh
// directory with scripted prompts, puts data in and drives the windows as a clerk would, then
// saves the window it shows. Run under Xvfb with the xcb platform:
//   xvfb-run -a build/test/bin/lendora_docshots docs [scene ...]
#include "TestApp.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QPainter>
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

// Waits, with events running, until `done` holds (at most a few seconds).
void waitFor(const std::function<bool()> &done)
{
    for (int i = 0; i < 150 && !done(); ++i) {
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
        {"login",
         [](TestApp &t) -> QWidget * {
             if (!t.start())
                 return nullptr;
             t.type("FrmLogon", "txtPassword", "741");
             // The mouse rests on ">>" until its balloon shows.
             auto *more = t.control<QWidget>("FrmLogon", "Command1");
             QCursor::setPos(more->mapToGlobal(more->rect().center() + QPoint(0, 4)));
             QWidget *balloon = t.control<QWidget>("FrmLogon", "balloonTip");
             waitFor([balloon] { return balloon->isVisible(); });
             return t.window("FrmLogon");
         }},
        {"tips",
         [](TestApp &t) {
             t.login();  // the shipped tips file opens the tips window after the login
             QWidget *tips = t.window("FrmHelp");
             if (tips)
                 tips->raise();
             return tips;
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
        for (QWidget *child : window->findChildren<QWidget *>()) {
            if (child->isWindow() && child->isVisible())
                child->raise();  // its pop-ups stay above it
        }
        settle();
        // The window together with the pop-ups it owns that are showing (a balloon, say).
        QRect area = window->geometry();
        for (const QWidget *child : window->findChildren<QWidget *>()) {
            if (child->isWindow() && child->isVisible())
                area |= child->geometry();
        }
        QPixmap shot = window->screen()->grabWindow(window->winId());
        if (area != window->geometry()) {
            // The screen under the window and its pop-ups, each pop-up in its own shape, over a
            // transparent background rather than the bare desktop.
            const QPixmap screen =
                window->screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
            QRegion shape(window->geometry().translated(-area.topLeft()));
            for (const QWidget *child : window->findChildren<QWidget *>()) {
                if (child->isWindow() && child->isVisible()) {
                    const QRegion own = child->mask().isEmpty() ? QRegion(child->rect()) : child->mask();
                    shape |= own.translated(child->geometry().topLeft() - area.topLeft());
                }
            }
            QPixmap whole(area.size());
            whole.fill(Qt::transparent);
            QPainter painter(&whole);
            painter.setClipRegion(shape);
            painter.drawPixmap(0, 0, screen);
            painter.end();
            shot = whole;
        }
        const QString path = QDir(out).filePath(name + QStringLiteral(".png"));
        if (!shot.save(path)) {
            ++failures;
            continue;
        }
        qInfo("saved %s", qPrintable(path));
    }
    return failures == 0 ? 0 : 1;
}
