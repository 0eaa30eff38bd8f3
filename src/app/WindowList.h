#pragma once

#include "gui/readers/ReaderWindow.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace lendora {

class WindowContext;
class WindowRegistry;

// The secondary windows: each registered by its own name with the one line that makes it, the
// typed openers of those opened with something, and the wiring between windows that know
// nothing of each other.
class WindowList : public QObject {
    Q_OBJECT
public:
    WindowList(WindowContext &context, WindowRegistry &windows, QObject *parent = nullptr);

    void registerAll();

    void showReader(ReaderFormMode mode, const QString &number = {});
    // One history window at a time, always of the reader asked for: one open of another
    // reader (or of this one, before today's loans) makes way for a fresh one.
    void showReaderHistory(const QString &readerNumber);
    void showReadme(const QString &text);
    void showBookLabels(const QStringList &bookNumbers);
    void showReaderCards(const QString &readerNumber);
    void showBackup();
    void showTips();

signals:
    // What the desk shows may be out of date: a reader changed, or the library was restored.
    void deskStale();

private:
    WindowContext &m_context;
    WindowRegistry &m_windows;
};

}  // namespace lendora
