#include "gui/widgets/FixedOuterSize.h"

#include <QEvent>
#include <QWidget>

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
    QSize frame = m_window->frameGeometry().size() - m_window->geometry().size();
    if (!m_window->isVisible() || frame.width() < 0 || frame.height() < 0)
        frame = QSize(0, 0);
    const QSize client = m_outer - frame;
    if (m_window->minimumSize() != client || m_window->maximumSize() != client)
        m_window->setFixedSize(client);
    if (m_window->size() != client)
        m_window->resize(client);
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
