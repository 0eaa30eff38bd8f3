#pragma once

#include "core/circulation/DaySheet.h"

#include <QDate>
#include <QList>
#include <QWidget>
#include <memory>

namespace Ui {
class DaySheetWindow;
}

namespace lendora {

class WindowContext;
class TextRows;

// FrmDaySheet: one day's loans and returns with the fines taken, to check the till against and
// to print; today's at first, any earlier day's on request.
class DaySheetWindow : public QWidget {
    Q_OBJECT
public:
    explicit DaySheetWindow(WindowContext &context);
    ~DaySheetWindow() override;

private:
    void find();
    void print();

    WindowContext &m_context;
    std::unique_ptr<Ui::DaySheetWindow> m_ui;
    TextRows *m_rows;
    QDate m_listedDay;                // the day the grid lists
    QList<DaySheet::Entry> m_listed;  // what the grid lists, for the printout
};

}  // namespace lendora
