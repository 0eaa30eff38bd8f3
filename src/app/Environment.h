#pragma once

#include <QDate>
#include <QString>
#include <functional>

namespace lendora {

class FileChooser;
class Launcher;
class PrintSink;
class Progress;
class Prompter;

// What the world gives the program: where its files are, the seams to the desktop, and today.
struct Environment {
    QString appDir;  // the application directory
    Prompter *prompter = nullptr;
    Launcher *launcher = nullptr;
    std::function<QDate()> today;  // the one source of "today"
    FileChooser *files = nullptr;  // nullptr: the real dialogs
    PrintSink *printer = nullptr;  // nullptr: the real printer and PDF
    Progress *progress = nullptr;  // nullptr: the real progress bar with its 取消 button
    bool dailyBackup = false;      // main.cpp turns it on
    // A library on a server (postgresql://...) from the command line; empty: the settings
    // file's Database key, and without one the file in appDir.
    QString database = {};
};

}  // namespace lendora
