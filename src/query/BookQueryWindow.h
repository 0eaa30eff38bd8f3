#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class BookQueryWindow;
}

namespace lendora {

class Application;
class GridSource;

// FrmBookQuery: searches the catalogue by any combination of five criteria.
class BookQueryWindow : public QWidget {
    Q_OBJECT
public:
    explicit BookQueryWindow(Application &app);
    ~BookQueryWindow() override;

private:
    void find();
    void clear();

    Application &m_app;
    std::unique_ptr<Ui::BookQueryWindow> m_ui;
    GridSource *m_source;
};

}  // namespace lendora
