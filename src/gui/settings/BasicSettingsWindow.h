#pragma once

#include "core/settings/PaperSettings.h"
#include "core/settings/PrinterSettings.h"

#include <QList>
#include <QPair>
#include <QWidget>
#include <memory>

class QComboBox;

namespace Ui {
class BasicSettingsWindow;
}

namespace lendora {

class WindowContext;

// FrmBasicSet: the two library rules, the most books a reader may hold and the fine per
// overdue day, and what the desk prints: the library's name, the receipts, and the printer
// for each kind of paper.
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

    // The printer chosen for each kind of paper: the drop-down lists, and what they say.
    QList<QPair<PrinterKind, QComboBox *>> printerLists() const;
    void showPrinters();

    WindowContext &m_context;
    std::unique_ptr<Ui::BasicSettingsWindow> m_ui;
    PaperSettings m_paper;       // as last read or saved
    PrinterSettings m_printers;  // as last read or saved
};

}  // namespace lendora
