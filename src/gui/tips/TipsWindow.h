#pragma once

#include "base/TipsFile.h"

#include <QWidget>
#include <memory>

namespace Ui {
class TipsWindow;
}

namespace lendora {

class WindowContext;

// FrmHelp, "每日小技巧": one tip of the tips file at a time, the next one on request; which
// tip comes next and whether the window opens at start-up are kept in the file.
class TipsWindow : public QWidget {
    Q_OBJECT
public:
    explicit TipsWindow(WindowContext &context);
    ~TipsWindow() override;

    // The value of a key of the tips file; "unknown" when the key or the file is missing; ""
    // after an error box when the key is there with an empty value.
    QString ReadIniValue(const QString &key);
    // Writes a key of the tips file; a failure is reported in an error box.
    void WriteIniValue(const QString &key, const QString &value);
    // Shows the tip CURRENT names and moves CURRENT on, back to 1 after the last tip.
    void ShowNextTip();

private:
    void onExit();

    WindowContext &m_context;
    const TipsFile m_tips;
    std::unique_ptr<Ui::TipsWindow> m_ui;
};

}  // namespace lendora
