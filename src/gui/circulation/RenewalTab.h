#pragma once

#include "core/circulation/LoanStore.h"

#include <QWidget>
#include <memory>

class QTableView;

namespace Ui {
class RenewalTab;
}

namespace lendora {

class CurrentLoans;
class WindowContext;

// The renewal tab "续借图书": a reader's open loans in the shared grid, the selected loan in
// three boxes bound to it, and the new lending date.
class RenewalTab : public QWidget {
    Q_OBJECT
public:
    RenewalTab(WindowContext &context, CurrentLoans &loans, QWidget *parent = nullptr);
    ~RenewalTab() override;

    QString readerId() const;
    QTableView *grid() const;
    // The new lending date the tab offers first.
    void setNewLendDate(const QDate &day);

signals:
    // A reader was found: the grid is to list the reader's loans.
    void readerFound();
    void renewed();

private:
    void lookUpReader();
    void renew();
    void showCurrentLoan();

    WindowContext &m_context;
    CurrentLoans &m_loans;
    LoanStore m_store;
    std::unique_ptr<Ui::RenewalTab> m_ui;
};

}  // namespace lendora
