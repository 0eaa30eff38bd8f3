#pragma once

#include "core/circulation/LoanStore.h"

#include <QWidget>
#include <memory>

class QLineEdit;

namespace Ui {
class ReturnTab;
}

namespace lendora {

class CirculationDesk;
class WindowContext;

// The return tab "还  书": finds a book's open loan, shows the days it was out and the fine,
// and closes the loan.
class ReturnTab : public QWidget {
    Q_OBJECT
public:
    ReturnTab(WindowContext &context, CirculationDesk &desk, QWidget *parent = nullptr);
    ~ReturnTab() override;

private:
    void lookUpReader();
    void lookUpLoan();
    void returnBook();

    // Everything but the book number emptied, the return button off.
    void loanNotShown();
    QList<QLineEdit *> shownBoxes() const;

    WindowContext &m_context;
    CirculationDesk &m_desk;
    LoanStore m_store;
    std::unique_ptr<Ui::ReturnTab> m_ui;
    QString m_finePerDay;  // the rule the shown fine was worked out with
};

}  // namespace lendora
