#pragma once

#include <QDialog>
#include <memory>

class QLabel;

namespace Ui {
class AboutWindow;
}

namespace lendora {

class WindowContext;

// FrmAbout: the maker's logo and two addresses. In the system look the addresses are links
// (blue and underlined under the mouse, a press opens them); under a skin they are plain text
// and only the logo opens the maker's site.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(WindowContext &context);
    ~AboutWindow() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void showLinkLook(QLabel *label, bool hovered);
    void open(const QString &address);

    WindowContext &m_context;
    std::unique_ptr<Ui::AboutWindow> m_ui;
};

}  // namespace lendora
