#pragma once

#include <QDate>
#include <QIODevice>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace lendora::cli {

// The exit status of every command.
enum Status {
    Done = 0,
    Refused = 1,      // bad file or data: nothing written, the reasons on stderr
    Usage = 2,        // the command line is wrong
    Unavailable = 3,  // the database is missing, unreadable or busy
};

// What a command is run with.
struct Run {
    QString appDir;
    // The library on a server --database names; empty: the one the folder's setting.ini
    // names, else the folder's file (LibraryLocation::find decides).
    QString database;
    QDate today;
    QIODevice *out = nullptr;
    QIODevice *err = nullptr;
    QString usage;  // the whole usage text, for usage errors

    // A line on stderr, the program's name in front.
    void say(const QString &line) const;
    // Says what is wrong with the command line, then the usage: Status::Usage.
    int usageError(const QString &line) const;
};

// One command's options: "--name value", "--name=value" or a flag "--name"; each at most once.
struct Options {
    QMap<QString, QString> values;
    QStringList flags;

    // nullopt with the reason in `error` when an option is unknown, repeated or lacks its
    // value, or anything else is on the line.
    static std::optional<Options> parse(const QStringList &arguments, const QStringList &withValue,
                                        const QStringList &flags, QString *error);
};

struct Command {
    QString name;
    QString synopsis;  // its options, as the usage lists them
    QString summary;   // what it does, one or more lines
    std::function<int(const QStringList &arguments, const Run &run)> run;
};

// lendora-cli [--app-dir DIR] COMMAND ...: the global options, then one command.
class Cli {
public:
    // `defaultAppDir` is asked only when no --app-dir is given.
    Cli(std::function<QString()> defaultAppDir, QDate today, QIODevice &out, QIODevice &err);

    void add(Command command);
    // The arguments after the program's name; the exit status.
    int run(const QStringList &arguments);
    QString usage() const;

private:
    std::function<QString()> m_defaultAppDir;
    QDate m_today;
    QIODevice &m_out;
    QIODevice &m_err;
    QList<Command> m_commands;
};

}  // namespace lendora::cli
