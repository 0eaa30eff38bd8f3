#include "gui/widgets/WindowRegistry.h"

#include "gui/widgets/FixedOuterSize.h"

#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <algorithm>

namespace lendora {

WindowRegistry::~WindowRegistry()
{
    deleteAll();
}

void WindowRegistry::addFactory(const QString &objectName, Factory factory)
{
    m_factories.insert(objectName, std::move(factory));
}

void WindowRegistry::add(const QString &objectName, std::function<QWidget *()> factory)
{
    addFactory(objectName, [factory = std::move(factory)](const std::any &) { return factory(); });
}

bool WindowRegistry::has(const QString &objectName) const
{
    return m_factories.contains(objectName);
}

QStringList WindowRegistry::names() const
{
    QStringList all = m_factories.keys();
    all.sort();
    return all;
}

QWidget *WindowRegistry::find(const QString &objectName) const
{
    // A closed window is hidden at once but deleted only by the event loop: it counts as gone.
    QWidget *window = m_open.value(objectName).data();
    return window && window->isVisible() ? window : nullptr;
}

QWidget *WindowRegistry::showWith(const QString &objectName, const std::any &opening)
{
    if (QWidget *open = find(objectName)) {
        if (open->isMinimized())
            open->showNormal();
        open->show();
        open->raise();
        open->activateWindow();
        return open;
    }
    const auto factory = m_factories.constFind(objectName);
    if (factory == m_factories.constEnd())
        return nullptr;
    delete m_open.take(objectName).data();  // closed, its deletion still pending
    // A window's load lets pending events run; a second request for it queued meanwhile
    // (a double click, say) must not make a second window.
    if (m_loading.contains(objectName))
        return nullptr;
    m_loading.insert(objectName);
    QWidget *window = (*factory)(opening);
    m_loading.remove(objectName);
    if (!window)
        return nullptr;
    window->setAttribute(Qt::WA_DeleteOnClose);
    m_open.insert(objectName, window);
    // Placed before it is shown, with the size show() gives it: the window is mapped where it
    // belongs, and never moves under the clerk's eyes. (Its frame is known only once it is
    // shown; the window manager puts the frame's corner where the window's would be.)
    window->ensurePolished();
    if (!window->testAttribute(Qt::WA_Resized))
        window->adjustSize();
    // The size its layout will hold it to once shown.
    if (QLayout *layout = window->layout())
        layout->activate();
    place(window);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void WindowRegistry::place(QWidget *window) const
{
    const QWidget *over = m_centreOver && m_centreOver->isVisible() && !m_centreOver->isMinimized()
                              ? m_centreOver.data()
                              : nullptr;
    const QScreen *screen = over ? over->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // A window's frame is known only once it is shown: the main window's stands in for it.
    QRect placed =
        QRect(QPoint(), window->size()).marginsAdded(FixedOuterSize::frameOf(window, over));
    placed.moveCenter(over ? over->frameGeometry().center() : area.center());
    // On the screen, the top-left corner first when it is too large for it.
    placed.moveLeft(
        std::max(area.left(), std::min(placed.left(), area.right() + 1 - placed.width())));
    placed.moveTop(
        std::max(area.top(), std::min(placed.top(), area.bottom() + 1 - placed.height())));
    window->move(placed.topLeft());
}

QList<QWidget *> WindowRegistry::openWindows() const
{
    QList<QWidget *> windows;
    for (const auto &w : m_open) {
        if (w)
            windows << w.data();
    }
    return windows;
}

void WindowRegistry::hideAll()
{
    for (QWidget *w : openWindows())
        w->hide();
}

void WindowRegistry::deleteAll()
{
    const QList<QWidget *> windows = openWindows();
    m_open.clear();
    qDeleteAll(windows);
}

}  // namespace lendora
