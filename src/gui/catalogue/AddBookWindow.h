#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class AddBookWindow;
}

namespace lendora {

class WindowContext;

// FrmAddnew: enters new books into the catalogue, one per Save.
class AddBookWindow : public QWidget {
    Q_OBJECT
public:
    explicit AddBookWindow(WindowContext &context);
    ~AddBookWindow() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void save();
    void clear();

    WindowContext &m_context;
    std::unique_ptr<Ui::AddBookWindow> m_ui;
};

}  // namespace lendora
