#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class LoanQueryWindow;
}

namespace lendora {

class Application;
class GridSource;

// FrmLendQuery: searches open and returned loans by book and reader.
class LoanQueryWindow : public QWidget {
    Q_OBJECT
public:
    explicit LoanQueryWindow(Application &app);
    ~LoanQueryWindow() override;

private:
    void find();
    void clear();

    Application &m_app;
    std::unique_ptr<Ui::LoanQueryWindow> m_ui;
    GridSource *m_source;
};

}  // namespace lendora
