#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class UpdateBookWindow;
}

namespace lendora {

class WindowContext;

// FrmUpdateBook: corrects one book, the book list's current row when the window opens.
class UpdateBookWindow : public QWidget {
    Q_OBJECT
public:
    explicit UpdateBookWindow(WindowContext &context);
    ~UpdateBookWindow() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void save();

    WindowContext &m_context;
    std::unique_ptr<Ui::UpdateBookWindow> m_ui;
};

}  // namespace lendora
