#pragma once

#include <QObject>

namespace lendora {

// Puts every top-level window of the program, on an X server, in the screen's default
// colormap. Qt gives each window a colormap of its own; tools that take the screen window by
// window when colormaps differ (`xwd -root`, ImageMagick's `import`) then read a window that
// lies wholly inside another one through the lower window, whose hidden part the server does
// not keep: a dialogue or a message box over the main window came out black, though it was
// painted. With the visual of the screen's root window the default colormap is the same
// colours, so nothing changes on screen. Installed on the application; does nothing on other
// platforms.
class X11Colormap : public QObject {
    Q_OBJECT
public:
    explicit X11Colormap(QObject *parent = nullptr) : QObject(parent) {}

    bool eventFilter(QObject *watched, QEvent *event) override;
};

}  // namespace lendora
