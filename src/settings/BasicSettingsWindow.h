#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class BasicSettingsWindow;
}

namespace lendora {

class Application;

// FrmBasicSet: the two library rules, the most books a reader may hold and the fine per
// overdue day.
class BasicSettingsWindow : public QWidget {
    Q_OBJECT
public:
    explicit BasicSettingsWindow(Application &app);
    ~BasicSettingsWindow() override;

private:
    void save();

    Application &m_app;
    std::unique_ptr<Ui::BasicSettingsWindow> m_ui;
};

}  // namespace lendora
