#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

namespace lendora::testkit {

// A bare X server of its own (Xvfb, no window manager) on a free display, for a case that must
// see what a real X server does: run the case again in a child (ChildCase.h) with environment()
// and it shows its windows there through the xcb platform. Stopped when destroyed.
class XServer {
public:
    XServer();
    ~XServer();
    XServer(const XServer &) = delete;
    XServer &operator=(const XServer &) = delete;

    // ":N", or empty when the server could not start; why() then says why.
    const QString &display() const { return m_display; }
    const QString &why() const { return m_why; }
    // This process's environment with the xcb platform on the server's display, and
    // LENDORA_X_DISPLAY naming it, so the child knows it is the child.
    QProcessEnvironment environment() const;
    // The display a child was given, or empty in the parent.
    static QString ofChild();

private:
    QProcess m_server;
    QString m_display;
    QString m_why;
};

}  // namespace lendora::testkit
