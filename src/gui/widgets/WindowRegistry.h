#pragma once

#include <QHash>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QWidget>
#include <any>
#include <functional>

class QAction;

namespace lendora {

// The secondary windows: modeless, at most one of each. Asking for an open one raises it
// without loading it again; a closed one is loaded afresh next time. A window opened with
// something (its view, the reader it shows) is registered and shown with that type, checked
// by the compiler at both ends; the application's typed openers (WindowList) name them.
class WindowRegistry {
public:
    WindowRegistry() = default;
    ~WindowRegistry();
    WindowRegistry(const WindowRegistry &) = delete;
    WindowRegistry &operator=(const WindowRegistry &) = delete;

    // `objectName` is the window's own name (FrmAddnew, ...).
    void add(const QString &objectName, std::function<QWidget *()> factory);
    // A window made with an `Opening`; shown by name alone, it gets a default one.
    template <typename Opening>
    void add(const QString &objectName, std::function<QWidget *(const Opening &)> factory)
    {
        addFactory(objectName, [factory = std::move(factory)](const std::any &opening) {
            const Opening *given = std::any_cast<Opening>(&opening);
            return factory(given ? *given : Opening{});
        });
    }
    bool has(const QString &objectName) const;
    // New windows open centred over `window` while it is shown (the main window), otherwise
    // over the screen; always kept on the screen.
    void centreOver(QWidget *window) { m_centreOver = window; }
    // Every registered window's name, sorted.
    QStringList names() const;

    // Shows the window (created and loaded with `opening` when it is not open yet; an open
    // one keeps what it was opened with) and returns it; nullptr for a window nobody
    // registered.
    QWidget *show(const QString &objectName) { return showWith(objectName, {}); }
    template <typename Opening>
    QWidget *show(const QString &objectName, const Opening &opening)
    {
        return showWith(objectName, std::any(opening));
    }
    // The open (shown) window, or nullptr.
    QWidget *find(const QString &objectName) const;
    // Every window made and not deleted yet, shown or hidden.
    QList<QWidget *> openWindows() const;

    // Hides every open window at once, without their close handlers.
    void hideAll();
    // Deletes every open window.
    void deleteAll();

private:
    using Factory = std::function<QWidget *(const std::any &opening)>;
    void addFactory(const QString &objectName, Factory factory);
    QWidget *showWith(const QString &objectName, const std::any &opening);
    void place(QWidget *window) const;

    QHash<QString, Factory> m_factories;
    QPointer<QWidget> m_centreOver;
    QHash<QString, QPointer<QWidget>> m_open;
    QSet<QString> m_loading;  // windows whose load is running
};

}  // namespace lendora
