#pragma once

#include "core/circulation/LoanStore.h"

#include <QWidget>
#include <memory>

class QTableView;

namespace Ui {
class RenewalTab;
}

namespace lendora {

class CirculationDesk;
class CurrentLoans;
class WindowContext;

// The renewal tab "续借图书": a reader's open loans in the shared grid, the selected loan in
// three boxes bound to it, and the new lending date.
class RenewalTab : public QWidget {
    Q_OBJECT
public:
    RenewalTab(WindowContext &context, CirculationDesk &desk, CurrentLoans &loans,
               QWidget *parent = nullptr);
    ~RenewalTab() override;

    QString readerId() const;
    QTableView *grid() const;

private:
    void lookUpReader();
    void renew();
    void showCurrentLoan();

    WindowContext &m_context;
    CirculationDesk &m_desk;
    CurrentLoans &m_loans;
    LoanStore m_store;
    std::unique_ptr<Ui::RenewalTab> m_ui;
};

}  // namespace lendora
