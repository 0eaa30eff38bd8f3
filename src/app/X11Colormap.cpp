#include "app/X11Colormap.h"

#include <QGuiApplication>
#include <QPlatformSurfaceEvent>
#include <QWindow>
#include <xcb/xcb.h>

#include <cstdlib>

namespace lendora {

namespace {

void useDefaultColormap(WId id)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const auto window = xcb_window_t(id);
    xcb_get_window_attributes_reply_t *attributes = xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, window), nullptr);
    // A window of another visual (a translucent one) needs a colormap of its own.
    if (screen && attributes && attributes->visual == screen->root_visual) {
        const uint32_t colormap = screen->default_colormap;
        xcb_change_window_attributes(connection, window, XCB_CW_COLORMAP, &colormap);
    }
    std::free(attributes);
}

}  // namespace

bool X11Colormap::eventFilter(QObject *watched, QEvent *event)
{
    // A window's native window is made before it is first mapped.
    if (event->type() == QEvent::PlatformSurface
        && static_cast<QPlatformSurfaceEvent *>(event)->surfaceEventType()
               == QPlatformSurfaceEvent::SurfaceCreated
        && QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (auto *window = qobject_cast<QWindow *>(watched); window && window->isTopLevel())
            useDefaultColormap(window->winId());
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace lendora
