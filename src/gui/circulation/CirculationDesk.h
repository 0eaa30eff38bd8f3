#pragma once

#include "core/circulation/LoanStore.h"
#include "core/circulation/Receipts.h"
#include "core/settings/PaperSettings.h"

#include <QDate>
#include <QObject>

class QWidget;

namespace lendora {

class CurrentLoans;
class GridSource;
class LendingTab;
class RenewalTab;
class ReturnTab;
class WindowContext;

// The circulation desk of the main window: the lending, renewal and return tabs, and the one
// data source their current-loans grids share (Adodc1). The tabs say what the clerk asked for
// and did; the desk holds what follows from it (the reader whose loans are shown and how many
// more that reader may borrow), pushes it down to the tabs, and tells whoever hosts it.
class CirculationDesk : public QObject {
    Q_OBJECT
public:
    // The tabs are made as children of the three pages.
    CirculationDesk(WindowContext &context, QWidget *lendPage, QWidget *renewPage,
                    QWidget *returnPage, QObject *parent = nullptr);
    ~CirculationDesk() override;

    LendingTab *lendingTab() const { return m_lending; }
    RenewalTab *renewalTab() const { return m_renewal; }
    ReturnTab *returnTab() const { return m_return; }

    // Re-runs a reader's open-loans query for the lending tab (renewTab false, reader of
    // txtReaderID, also recomputes the two counters) or the renewal tab (reader of
    // txtReaderIDRenew). Both grids and the renewal tab's bound boxes share the one data
    // source, so every run changes what all of them show.
    void InitDataGrid(bool renewTab);

    // The reader number typed on the lending tab.
    QString lendingReaderId() const;
    // The day the lending and renewal tabs offer first.
    void setToday(const QDate &day);

    // Prints the reader's loan receipt for the books lent on `day`. `asked`: the clerk asked
    // for it (the menu), so a missing reader or a day without loans is told, not skipped.
    void printLoanReceipt(const QString &readerId, const QDate &day, bool asked);
    // The menu's reprint: the loan receipt of the lending tab's reader, for today.
    void reprintLoanReceipt();
    // After a return with a fine, when the clerk wants receipts after returns.
    void printFineReceipt(const FineReceipt &receipt);
    // Whether receipts are printed after lends and returns (the settings file, read each time,
    // so a change in the settings window applies at once).
    PaperSettings paperSettings() const;

signals:
    // A lend, a return or a renewal was stored.
    void loansChanged();
    // The lending tab's 添加新读者, with the reader number typed there.
    void newReaderAsked(const QString &readerId);

private:
    void afterLend(const QString &readerId, const QDate &day, const LoanStore::ReaderCounts &after);
    void afterReturn(const LoanStore::ReturnQuote &quote);
    // Lists the lending tab's reader's open loans; false when the engine failed (told).
    bool listLendingLoans();

    WindowContext &m_context;
    GridSource *m_adodc1;
    CurrentLoans *m_loans;
    LendingTab *m_lending;
    RenewalTab *m_renewal;
    ReturnTab *m_return;
    // The counts the lending tab shows, for the reader whose loans it lists.
    std::optional<LoanStore::ReaderCounts> m_counts;
};

}  // namespace lendora
