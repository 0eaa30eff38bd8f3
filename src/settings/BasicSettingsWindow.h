#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class BasicSettingsWindow;
}

namespace lendora {

class WindowContext;

// FrmBasicSet: the two library rules, the most books a reader may hold and the fine per
// overdue day.
class BasicSettingsWindow : public QWidget {
    Q_OBJECT
public:
    explicit BasicSettingsWindow(WindowContext &context);
    ~BasicSettingsWindow() override;

private:
    void save();

    WindowContext &m_context;
    std::unique_ptr<Ui::BasicSettingsWindow> m_ui;
};

}  // namespace lendora
