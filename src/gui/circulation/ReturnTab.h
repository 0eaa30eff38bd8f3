#pragma once

#include "core/circulation/LoanStore.h"

#include <QWidget>
#include <memory>
#include <optional>

class QLineEdit;

namespace Ui {
class ReturnTab;
}

namespace lendora {

class WindowContext;

// The return tab "还  书": finds a book's open loan, shows the days it was out and the fine,
// and closes the loan.
class ReturnTab : public QWidget {
    Q_OBJECT
public:
    ReturnTab(WindowContext &context, QWidget *parent = nullptr);
    ~ReturnTab() override;

signals:
    // A reader was found on this tab.
    void readerFound();
    // The loan of the quote was closed with the quote's figures.
    void returned(const LoanStore::ReturnQuote &quote);

private:
    void lookUpReader();
    void lookUpLoan();
    void returnBook();

    // Everything but the book number emptied, the return button off.
    void loanNotShown();
    QList<QLineEdit *> shownBoxes() const;

    WindowContext &m_context;
    LoanStore m_store;
    std::unique_ptr<Ui::ReturnTab> m_ui;
    // The return the boxes show, which the return button stores; none once the book number
    // is edited.
    std::optional<LoanStore::ReturnQuote> m_quote;
};

}  // namespace lendora
