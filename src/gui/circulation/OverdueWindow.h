#pragma once

#include "core/circulation/OverdueList.h"

#include <QDate>
#include <QWidget>
#include <memory>
#include <optional>

class QAction;

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
    // Lists the rows (or tells that the query failed); false when it failed.
    bool showRows(std::optional<QList<OverdueList::Entry>> rows, bool complete);
    void printNotices();

    WindowContext &m_context;
    std::unique_ptr<Ui::OverdueWindow> m_ui;
    OverdueRows *m_rows;
    QDate m_listedAsOf;  // the date the grid lists
    QAction *m_exportAction = nullptr;
    int m_listing = 0;  // counts the listings asked for, so a late one is dropped
};

}  // namespace lendora
