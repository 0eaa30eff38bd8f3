#include "gui/widgets/clsToolTip.h"

#include "gui/widgets/BalloonWidget.h"

#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QWidget>

namespace lendora {

namespace {
// The tip shows this far below the mouse pointer, clear of the arrow.
constexpr int kBelowPointer = 18;

// Decimal text with red in the low byte, then green, then blue; anything else: the system's.
QColor colourFrom(const QString &text)
{
    bool ok = false;
    const qulonglong value = text.trimmed().toULongLong(&ok);
    if (!ok || value > 0xFFFFFFu)
        return {};
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}
}  // namespace

clsToolTip::clsToolTip(QObject *parent) : QObject(parent)
{
    m_delayTimer.setSingleShot(true);
    m_hideTimer.setSingleShot(true);
    connect(&m_delayTimer, &QTimer::timeout, this, &clsToolTip::popUp);
    connect(&m_hideTimer, &QTimer::timeout, this, &clsToolTip::hideTip);
}

clsToolTip::~clsToolTip()
{
    for (const auto &tip : std::as_const(m_ownerless))
        delete tip.data();
}

int clsToolTip::initialDelay() const
{
    if (m_toolDelayTime >= 0)
        return m_toolDelayTime;
    return QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay);
}

int clsToolTip::autoHideTime() const
{
    if (m_toolVisibleTime >= 0)
        return m_toolVisibleTime;
    // The usual system rule: ten times the initial delay.
    return 10 * QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay);
}

void clsToolTip::CreateBalloon(QWidget *control, QWidget *targetWindow, const QString &text,
                               int style, bool centred, const QString &title, int icon,
                               const QString &backColour, const QString &foreColour)
{
    m_centred = centred;
    m_text = text;
    m_title = title;
    m_backColour = backColour;
    m_foreColour = foreColour;
    m_icon = icon;
    m_control = control;
    m_target = targetWindow;
    CreateTipWindow(control ? control->window() : nullptr, style);
    if (m_target)
        AddTool();
}

void clsToolTip::SetHandle(QWidget *control)
{
    if (m_target)
        return;
    QWidget *under = QApplication::widgetAt(QCursor::pos());
    if (!under)
        return;  // no window under the pointer: nothing to attach to
    m_control = control;
    m_target = under;
    AddTool();
}

void clsToolTip::CreateTipWindow(QWidget *owner, int style)
{
    // A second balloon leaves the first to its owner window, which deletes it in the end.
    hideTip();
    for (const auto &w : std::as_const(m_watched)) {
        if (w)
            w->removeEventFilter(this);
    }
    m_watched.clear();
    m_toolAdded = false;
    m_tip = new BalloonWidget(owner);
    if (!owner)
        m_ownerless << m_tip;
    m_tip->setBalloonShape((style & BalloonStyle) != 0);
}

QRect clsToolTip::toolRect() const
{
    if (!m_target)
        return {};
    if (m_control && m_control != m_target && m_target == m_control->window())
        return QRect(m_control->mapTo(m_target, QPoint(0, 0)), m_control->size());
    return m_target->rect();
}

void clsToolTip::AddTool()
{
    if (!m_tip || !m_target || m_toolAdded)
        return;
    m_tip->setContent(m_title, m_icon, m_text);
    m_tip->setColours(colourFrom(m_backColour), colourFrom(m_foreColour));
    m_toolVisibleTime = m_visibleTime;
    m_toolDelayTime = m_delayTime;

    // The mouse reaches the target, or, for a control inside its window's tool area, the
    // control itself; both are watched, and the window for when it goes away.
    QList<QWidget *> watch{m_target.data()};
    if (m_control && m_control != m_target && m_target == m_control->window())
        watch << m_control.data();
    if (m_target->window() != m_target)
        watch << m_target->window();
    for (QWidget *w : watch) {
        if (w != m_target->window() || w == m_target)
            w->setMouseTracking(true);
        w->installEventFilter(this);
        m_watched << w;
    }
    m_toolAdded = true;
}

void clsToolTip::mouseAt(const QPoint &globalPos)
{
    m_lastPos = globalPos;
    const bool inside = toolRect().contains(m_target->mapFromGlobal(globalPos));
    if (!inside) {
        hideTip();
        return;
    }
    if (!m_tip->isVisible())
        m_delayTimer.start(initialDelay());  // the mouse has to rest for the whole delay
}

void clsToolTip::popUp()
{
    if (!m_tip || !m_target || !m_target->isVisible())
        return;
    const QRect area = toolRect();
    const QPoint anchor = m_centred
                              ? m_target->mapToGlobal(QPoint(area.center().x(), area.bottom() + 1))
                              : m_lastPos + QPoint(0, kBelowPointer);
    m_tip->popUpAt(anchor);
    m_hideTimer.start(autoHideTime());
}

void clsToolTip::hideTip()
{
    m_delayTimer.stop();
    m_hideTimer.stop();
    if (m_tip)
        m_tip->hide();
}

bool clsToolTip::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_toolAdded || !m_target || !m_tip)
        return QObject::eventFilter(watched, event);
    const bool toolWidget = watched == m_target.data() || watched == m_control.data();
    switch (event->type()) {
    case QEvent::Enter:
        if (toolWidget)
            mouseAt(static_cast<QEnterEvent *>(event)->globalPosition().toPoint());
        break;
    case QEvent::MouseMove:
        if (toolWidget)
            mouseAt(static_cast<QMouseEvent *>(event)->globalPosition().toPoint());
        break;
    case QEvent::Leave:
        if (toolWidget)
            hideTip();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::Hide:
    case QEvent::Close:
    case QEvent::Move:
        hideTip();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace lendora
