#pragma once

#include <QDate>
#include <QWidget>
#include <memory>

namespace Ui {
class OverdueWindow;
}

namespace lendora {

class WindowContext;
class OverdueRows;

// FrmOverdue: the open loans overdue at a date, with the fine each would pay if returned now.
class OverdueWindow : public QWidget {
    Q_OBJECT
public:
    explicit OverdueWindow(WindowContext &context);
    ~OverdueWindow() override;

private:
    void find();
    void printNotices();

    WindowContext &m_context;
    std::unique_ptr<Ui::OverdueWindow> m_ui;
    OverdueRows *m_rows;
    QDate m_listedAsOf;  // the date the grid lists
};

}  // namespace lendora
