#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class AddBookWindow;
}

namespace lendora {

class Application;

// FrmAddnew: enters new books into the catalogue, one per Save.
class AddBookWindow : public QWidget {
    Q_OBJECT
public:
    explicit AddBookWindow(Application &app);
    ~AddBookWindow() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void save();
    void clear();

    Application &m_app;
    std::unique_ptr<Ui::AddBookWindow> m_ui;
};

}  // namespace lendora
