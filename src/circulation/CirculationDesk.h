#pragma once

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
