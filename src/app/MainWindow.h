#pragma once

#include <QMainWindow>
#include <memory>

namespace Ui {
class MainWindow;
}

namespace lendora {

class Application;
class CurrentLoans;
class GridSource;
class LendingTab;
class RenewalTab;
class ReturnTab;

// Frmmain: the hub. Its menu opens the other windows; its tabs hold circulation.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Application &app);
    ~MainWindow() override;

    // The load sequence; false when the program ended during it (database refused).
    bool load();

    // Re-runs a reader's open-loans query for the lending tab (renewTab false, reader of
    // txtReaderID, also recomputes the two counters) or the renewal tab (reader of
    // txtReaderIDRenew). Both grids and the renewal tab's bound boxes share the one data
    // source Adodc1, so every run changes what all of them show.
    void InitDataGrid(bool renewTab);

    // Reads the saved window style and applies it (the first step of load()).
    void LoadSetting();

    // The three style commands of the "界面风格" menu; LoadSetting runs the skin ones.
    void chooseSystemLook();
    void chooseTypeStyle();
    void chooseLightStyle();
    GridSource *Adodc1() const { return m_adodc1; }
    CurrentLoans &currentLoans() const { return *m_loans; }

    // The style convention reads the check mark of "Windows默认".
    bool systemLookChecked() const;

    Ui::MainWindow &ui() { return *m_ui; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    struct SkinStyle;
    void connectMenu();
    void chooseSkin(const SkinStyle &style);
    void showHelp();
    QString settingsPath() const;
    void buildTabs();

    Application &m_app;
    std::unique_ptr<Ui::MainWindow> m_ui;
    GridSource *m_adodc1 = nullptr;
    CurrentLoans *m_loans = nullptr;
    LendingTab *m_lending = nullptr;
    RenewalTab *m_renewal = nullptr;
    ReturnTab *m_return = nullptr;
};

}  // namespace lendora
