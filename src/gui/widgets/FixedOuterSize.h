#pragma once

#include <QMargins>
#include <QObject>
#include <QSize>

class QWidget;

namespace lendora {

constexpr int kTwipsPerPixel = 15;
constexpr int twips(int value)
{
    return value / kTwipsPerPixel;
}

// Holds a window at one outer size (frame included): any resize snaps back; minimising and
// restoring work. The frame is only known once the window is shown: until then the frame of a
// window shown already stands in for it (see frameOf), and the client size is worked out again
// when the window is shown.
class FixedOuterSize : public QObject {
    Q_OBJECT
public:
    static void hold(QWidget *window, QSize outerPixels);
    // An ordinary window held at one size: title, minimise and close buttons, no maximise.
    static void holdWindow(QWidget *window, QSize outerPixels);

    bool eventFilter(QObject *watched, QEvent *event) override;

    // The frame the window manager gives `window`: its own once shown; before that, the frame
    // of a window shown already (`shown`, else the active one), which windows of the program
    // share; none when there is no such window.
    static QMargins frameOf(const QWidget *window, const QWidget *shown = nullptr);

private:
    FixedOuterSize(QWidget *window, QSize outer);
    void apply();

    QWidget *m_window;
    QSize m_outer;
};

}  // namespace lendora
