#pragma once

#include <QColor>
#include <QWidget>

namespace lendora {

// The pop-up a clsToolTip shows: an optional title line with its icon, then the text, drawn
// as a rounded balloon whose stem points at the spot it explains (or as a plain tip box).
// It never takes the focus and lets the mouse through.
class BalloonWidget : public QWidget {
    Q_OBJECT
public:
    enum TipIcon { NoIcon = 0, InformationIcon = 1, WarningIcon = 2, ErrorIcon = 3 };

    explicit BalloonWidget(QWidget *owner);

    void setContent(const QString &title, int icon, const QString &text);
    void setColours(const QColor &back, const QColor &fore);  // invalid: the system's
    void setBalloonShape(bool balloon);

    QString title() const { return m_title; }
    QString text() const { return m_text; }
    // The icon drawn: none when there is no title, whatever was asked for.
    int shownIcon() const;
    QColor backColour() const;
    QColor foreColour() const;
    bool isBalloonShape() const { return m_balloon; }

    // Shows the balloon with its stem tip at `anchor` (global), below it where the screen
    // allows, above it otherwise.
    void popUpAt(const QPoint &anchor);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSize bodySize() const;
    QRect titleRect() const;
    QRect textRect() const;

    QString m_title;
    QString m_text;
    int m_icon = NoIcon;
    QColor m_back;
    QColor m_fore;
    bool m_balloon = true;
    bool m_stemUp = true;
    int m_stemX = 24;
};

}  // namespace lendora
