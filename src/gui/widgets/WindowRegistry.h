#pragma once

#include <QHash>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QVariant>
#include <QWidget>
#include <functional>

class QAction;

namespace lendora {

// The secondary windows: modeless, at most one of each. Asking for an open one raises it
// without loading it again; a closed one is loaded afresh next time.
class WindowRegistry {
public:
    // Makes a window; `opening` is what its opener passed (its view, say), null otherwise.
    using Factory = std::function<QWidget *(const QVariant &opening)>;

    WindowRegistry() = default;
    ~WindowRegistry();
    WindowRegistry(const WindowRegistry &) = delete;
    WindowRegistry &operator=(const WindowRegistry &) = delete;

    // `objectName` is the window's own name (FrmAddnew, ...).
    void add(const QString &objectName, Factory factory);
    void add(const QString &objectName, std::function<QWidget *()> factory);
    bool has(const QString &objectName) const;
    // New windows open centred over `window` while it is shown (the main window), otherwise
    // over the screen; always kept on the screen.
    void centreOver(QWidget *window) { m_centreOver = window; }
    // Every registered window's name, sorted.
    QStringList names() const;

    // Shows the window (created and loaded with `opening` when it is not open yet; an open
    // one keeps what it was opened with) and returns it; nullptr for a window nobody
    // registered.
    QWidget *show(const QString &objectName, const QVariant &opening = {});
    // The open (shown) window, or nullptr.
    QWidget *find(const QString &objectName) const;
    // Every window made and not deleted yet, shown or hidden.
    QList<QWidget *> openWindows() const;

    // Hides every open window at once, without their close handlers.
    void hideAll();
    // Deletes every open window.
    void deleteAll();

private:
    void place(QWidget *window) const;

    QHash<QString, Factory> m_factories;
    QPointer<QWidget> m_centreOver;
    QHash<QString, QPointer<QWidget>> m_open;
    QSet<QString> m_loading;  // windows whose load is running
};

}  // namespace lendora
