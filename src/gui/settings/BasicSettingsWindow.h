#pragma once

#include "core/settings/PaperSettings.h"

#include <QWidget>
#include <memory>

namespace Ui {
class BasicSettingsWindow;
}

namespace lendora {

class WindowContext;

// FrmBasicSet: the two library rules, the most books a reader may hold and the fine per
// overdue day, and what the desk prints: the library's name and the receipts.
class BasicSettingsWindow : public QWidget {
    Q_OBJECT
public:
    explicit BasicSettingsWindow(WindowContext &context);
    ~BasicSettingsWindow() override;

private:
    static constexpr int kMaxLibraryName = 40;

    void save();
    // Writes the print settings that changed; false when the settings file refused.
    bool savePaper();

    WindowContext &m_context;
    std::unique_ptr<Ui::BasicSettingsWindow> m_ui;
    PaperSettings m_paper;  // as last read or saved
};

}  // namespace lendora
