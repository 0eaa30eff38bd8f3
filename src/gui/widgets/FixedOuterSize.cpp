#include "gui/widgets/FixedOuterSize.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <algorithm>

namespace lendora {

void FixedOuterSize::hold(QWidget *window, QSize outerPixels)
{
    new FixedOuterSize(window, outerPixels);
}

void FixedOuterSize::holdWindow(QWidget *window, QSize outerPixels)
{
    window->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    hold(window, outerPixels);
}

FixedOuterSize::FixedOuterSize(QWidget *window, QSize outer)
    : QObject(window), m_window(window), m_outer(outer)
{
    window->installEventFilter(this);
    apply();
}

void FixedOuterSize::apply()
{
    if (m_window->isMinimized())
        return;  // a minimised window has no size to set; nothing to do
    // Before it is shown the frame is estimated, so the window is placed at the size it keeps.
    const QMargins frame = frameOf(m_window);
    const QSize client =
        m_outer - QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    if (m_window->minimumSize() != client || m_window->maximumSize() != client)
        m_window->setFixedSize(client);
    if (m_window->size() != client)
        m_window->resize(client);
}

QMargins FixedOuterSize::frameOf(const QWidget *window, const QWidget *shown)
{
    const auto margins = [](const QWidget *w) {
        const QRect frame = w->frameGeometry();
        const QRect inside = w->geometry();
        const QMargins m(inside.left() - frame.left(), inside.top() - frame.top(),
                         frame.right() - inside.right(), frame.bottom() - inside.bottom());
        return m.left() < 0 || m.top() < 0 || m.right() < 0 || m.bottom() < 0 ? QMargins() : m;
    };
    if (window->isVisible())
        return margins(window);
    const auto framedAndShown = [window](const QWidget *w) {
        const Qt::WindowType type = w ? w->windowType() : Qt::Widget;
        return w && w != window && w->isVisible() && (type == Qt::Window || type == Qt::Dialog)
               && !w->windowFlags().testFlag(Qt::FramelessWindowHint);
    };
    if (!framedAndShown(shown))
        shown = QApplication::activeWindow();
    if (!framedAndShown(shown)) {
        const QWidgetList all = QApplication::topLevelWidgets();
        const auto found = std::find_if(all.cbegin(), all.cend(), framedAndShown);
        shown = found == all.cend() ? nullptr : *found;
    }
    return shown ? margins(shown) : QMargins();
}

bool FixedOuterSize::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Resize:
        case QEvent::WindowStateChange:
            apply();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace lendora
