#pragma once

#include "base/Language.h"
#include "gui/readers/ReaderWindow.h"

#include <QLabel>
#include <QMainWindow>
#include <memory>

namespace Ui {
class MainWindow;
}

namespace lendora {

class CirculationDesk;
class StyleEngine;
class WindowContext;

// Frmmain: the hub. Its menu opens the other windows; its tabs hold circulation.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(WindowContext &context, StyleEngine &styles);
    ~MainWindow() override;

    // The first steps of the load sequence: the saved style, and today in both date pickers.
    void load();
    // Its last: the version in the title, once the database is open.
    void showVersionInTitle();
    // The library the desk is on, in the status bar, for a desk that shares one on a server.
    void showLibrary(const QString &location);

    // The circulation tabs.
    CirculationDesk &desk() const { return *m_desk; }

    // Reads the saved window style and applies it (the first step of load()).
    void LoadSetting();

    // The three style commands of the "界面风格" menu; LoadSetting runs the skin ones.
    void chooseSystemLook();
    void chooseTypeStyle();
    void chooseLightStyle();

    // "语言": records the language the next start uses, marks it and says so; nothing is
    // written when it is the one marked already.
    void chooseLanguage(Language language);

    // The style convention reads the check mark of "Windows默认".
    bool systemLookChecked() const;

    Ui::MainWindow &ui() { return *m_ui; }

signals:
    void exitCommand();  // 退出系统
    void closed();       // the window's own close
    // The reader register asked for in a view; the help text to be shown by the program.
    void readerAsked(ReaderFormMode mode);
    void readmeAsked(const QString &text);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    struct SkinStyle;
    void connectMenu();
    void chooseSkin(const SkinStyle &style);
    void showHelp();
    void markLanguage(Language language);
    void buildTabs();

    WindowContext &m_context;
    StyleEngine &m_styles;
    std::unique_ptr<Ui::MainWindow> m_ui;
    CirculationDesk *m_desk = nullptr;
    QLabel *m_library = nullptr;              // lblLibrary: where the library is, when on a server
    Language m_language = Language::Chinese;  // the one marked in "语言"
};

}  // namespace lendora
