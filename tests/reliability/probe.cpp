// The program with a prompter that prints to standard output: the reliability tests start it
// as a child process, read what it would have shown, and kill it or send it a signal (it ends on
// SIGTERM, SIGHUP and SIGINT as the program does).
//   lendora_probe <app-dir>
#include "app/Application.h"
#include "app/Prompter.h"
#include "app/SignalEnding.h"
#include "gui/widgets/Launcher.h"

#include <QApplication>
#include <cstdio>

namespace {

class PrintingPrompter : public lendora::Prompter {
public:
    void message(const lendora::Prompt &p) override { print("MESSAGE", p); }
    bool confirm(const lendora::Prompt &p) override
    {
        print("CONFIRM", p);
        return false;
    }
    QString input(const QString &prompt, const QString &title, const QString &) override
    {
        print("INPUT", {prompt, title});
        return {};
    }

private:
    static void print(const char *kind, const lendora::Prompt &p)
    {
        std::printf("%s %s|%s\n", kind, p.title.toUtf8().constData(), p.text.toUtf8().constData());
        std::fflush(stdout);
    }
};

class NoLauncher : public lendora::Launcher {
public:
    bool openDocument(const QString &) override { return false; }
    bool openUrl(const QUrl &) override { return false; }
};

}  // namespace

int main(int argc, char *argv[])
{
    QApplication qapp(argc, argv);
    if (argc < 2)
        return 2;
    PrintingPrompter prompter;
    NoLauncher launcher;
    lendora::Environment env{QString::fromLocal8Bit(argv[1]), &prompter, &launcher,
                             [] { return QDate(2026, 12, 7); }};
    lendora::Application app(env);
    lendora::SignalEnding signalEnding(app);
    if (!app.start()) {
        std::printf("ENDED\n");
        return 0;
    }
    std::printf("RUNNING\n");
    std::fflush(stdout);
    const int code = QApplication::exec();
    // How the run ended, for the tests that end it from outside.
    std::printf("STOPPED %d\n", int(app.ending()));
    std::fflush(stdout);
    return code;
}
