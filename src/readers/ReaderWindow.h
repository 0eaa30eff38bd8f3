#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class ReaderWindow;
}

namespace lendora {

class Application;
struct Reader;

// FrmReader: the reader register. The view (0 query, 1 add from the lending tab,
// 2 management) is the application's ReaderFormMode when the window loads.
class ReaderWindow : public QWidget {
    Q_OBJECT
public:
    explicit ReaderWindow(Application &app);
    ~ReaderWindow() override;

private:
    void showView(int mode);
    void find();
    void previous();
    void next();
    void add();
    void change();
    void remove();

    Reader boxes() const;
    void showReader(const Reader &reader);  // the four boxes after the number
    void clearBoxes();
    void hint(const QString &text);

    Application &m_app;
    std::unique_ptr<Ui::ReaderWindow> m_ui;
};

}  // namespace lendora
