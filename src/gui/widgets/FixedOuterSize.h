#pragma once

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
// restoring work. The frame is only known once the window is shown, so the client size is
// worked out again then.
class FixedOuterSize : public QObject {
    Q_OBJECT
public:
    static void hold(QWidget *window, QSize outerPixels);
    // An ordinary window held at one size: title, minimise and close buttons, no maximise.
    static void holdWindow(QWidget *window, QSize outerPixels);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    FixedOuterSize(QWidget *window, QSize outer);
    void apply();

    QWidget *m_window;
    QSize m_outer;
};

}  // namespace lendora
