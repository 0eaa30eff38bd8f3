#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class LoanQueryWindow;
}

namespace lendora {

class WindowContext;
class GridSource;

// FrmLendQuery: searches open and returned loans by book and reader.
class LoanQueryWindow : public QWidget {
    Q_OBJECT
public:
    explicit LoanQueryWindow(WindowContext &context);
    ~LoanQueryWindow() override;

private:
    void find();
    void clear();

    WindowContext &m_context;
    std::unique_ptr<Ui::LoanQueryWindow> m_ui;
    GridSource *m_source;
};

}  // namespace lendora
