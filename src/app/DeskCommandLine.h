#pragma once

#include <QString>
#include <QStringList>

namespace lendora {

// What the desk's command line asks before anything is shown: --version and --help print
// and end, without a display. Everything else, Qt's own options among it, is left to
// QApplication.
class DeskCommandLine {
public:
    enum class Answer { Run, Version, Help };

    // The arguments after the program's name; the first of the two options wins.
    static Answer parse(const QStringList &arguments);
    // The library --database names (a server's address), or empty.
    static QString database(const QStringList &arguments);
    // "lendora 1.01 Build:0128", the version the main window's title shows.
    static QString versionText();
    // The usage, in the language in force.
    static QString helpText();
};

}  // namespace lendora
