#pragma once

#include "gui/widgets/BalloonWidget.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>

class QWidget;

namespace lendora {

// A balloon tooltip attached to one control: a title line with an icon, and a text, shown
// while the mouse rests on the control, after the system's delay and for the system's time
// unless DelayTime or VisibleTime say otherwise (set them before the tool is added).
class clsToolTip : public QObject {
    Q_OBJECT
public:
    enum TipIcon { NoIcon = 0, InformationIcon = 1, WarningIcon = 2, ErrorIcon = 3 };
    // The style bit that gives the balloon look (rounded, with a stem); without it the tip is
    // a plain box.
    static constexpr int BalloonStyle = 64;

    explicit clsToolTip(QObject *parent = nullptr);
    // Balloons belong to their owner windows; only those made without one go with this object.
    ~clsToolTip() override;

    // Milliseconds the balloon stays up / before it shows; -1 leaves the system's timing.
    int VisibleTime() const { return m_visibleTime; }
    void setVisibleTime(int ms) { m_visibleTime = ms; }
    int DelayTime() const { return m_delayTime; }
    void setDelayTime(int ms) { m_delayTime = ms; }

    // Stores the balloon's content and creates its window, owned by the control's window.
    // With a target, the tool is added at once; with none (nullptr), there is no tool until
    // SetHandle. Colours are decimal numbers with red in the low byte, empty for the system's.
    void CreateBalloon(QWidget *control, QWidget *targetWindow, const QString &text, int style,
                       bool centred, const QString &title, int icon, const QString &backColour,
                       const QString &foreColour);
    // Without a target yet: takes the widget under the mouse pointer as the target and adds
    // the tool. With one: does nothing.
    void SetHandle(QWidget *control);

    BalloonWidget *tipWindow() const { return m_tip.data(); }
    QWidget *targetWindow() const { return m_target.data(); }
    int toolCount() const { return m_toolAdded ? 1 : 0; }
    // The area that triggers the balloon, in the target's coordinates: the control's place
    // when the target is the control's window, the target's whole area otherwise.
    QRect toolRect() const;
    // The timings in force, in milliseconds.
    int initialDelay() const;
    int autoHideTime() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateTipWindow(QWidget *owner, int style);
    void AddTool();
    void mouseAt(const QPoint &globalPos);
    void popUp();
    void hideTip();

    QPointer<BalloonWidget> m_tip;
    QPointer<QWidget> m_control;
    QPointer<QWidget> m_target;
    QList<QPointer<QWidget>> m_watched;
    QList<QPointer<BalloonWidget>> m_ownerless;
    bool m_centred = false;
    QString m_text;
    QString m_title;
    QString m_backColour;
    QString m_foreColour;
    int m_icon = NoIcon;
    int m_visibleTime = -1;
    int m_delayTime = -1;
    // The timings as they were when the tool was added: they take effect then, not later.
    int m_toolVisibleTime = -1;
    int m_toolDelayTime = -1;
    bool m_toolAdded = false;
    QPoint m_lastPos;
    QTimer m_delayTimer;
    QTimer m_hideTimer;
};

}  // namespace lendora
