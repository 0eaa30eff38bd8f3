#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class BookQueryWindow;
}

namespace lendora {

class WindowContext;
class GridSource;

// FrmBookQuery: searches the catalogue by any combination of five criteria.
class BookQueryWindow : public QWidget {
    Q_OBJECT
public:
    explicit BookQueryWindow(WindowContext &context);
    ~BookQueryWindow() override;

private:
    void find();
    void clear();

    WindowContext &m_context;
    std::unique_ptr<Ui::BookQueryWindow> m_ui;
    GridSource *m_source;
};

}  // namespace lendora
