#pragma once

#include "base/DeskSettings.h"

#include <QDate>
#include <QString>

class QWidget;

namespace lendora {

class BackgroundCopy;
class FileChooser;
class Launcher;
class PrintSink;
class Progress;
class Prompter;
class SharedDatabase;
class WindowRegistry;

// What a window may use of the application that made it: the seams (long work's progress
// among them), today, the library's
// database, the other windows, and the window style in force. Windows never see the
// application itself.
class WindowContext {
public:
    virtual ~WindowContext() = default;

    virtual Prompter &prompter() const = 0;
    virtual Launcher &launcher() const = 0;
    virtual FileChooser &files() const = 0;
    virtual PrintSink &printer() const = 0;
    virtual Progress &progress() const = 0;
    virtual QDate today() const = 0;
    virtual SharedDatabase &database() = 0;
    virtual WindowRegistry &windows() = 0;
    // The desk's one background copy of the library: a copy the clerk asks for waits for
    // none, and never runs beside the day's.
    virtual BackgroundCopy &libraryCopy() = 0;

    // A file below the application directory.
    virtual QString filePath(const QString &relative) const = 0;
    // The desk's settings (window style, language, what the desk prints, backups kept).
    DeskSettings settings() const { return DeskSettings(filePath(DeskSettings::fileName())); }
    // The style convention every secondary window follows as the first step of its load: the
    // skin in force, or none for the system look.
    virtual void applyWindowStyle(QWidget *window) = 0;
    virtual bool systemLook() const = 0;
};

}  // namespace lendora
