#pragma once

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
// data source their current-loans grids share (Adodc1). Whoever hosts the tabs learns of the
// desk's doings through its signals.
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
    WindowContext &m_context;
    GridSource *m_adodc1;
    CurrentLoans *m_loans;
    LendingTab *m_lending;
    RenewalTab *m_renewal;
    ReturnTab *m_return;
};

}  // namespace lendora
