#pragma once

#include "core/circulation/LoanStore.h"

#include <QWidget>
#include <memory>

class QLineEdit;
class QTableView;

namespace Ui {
class LendingTab;
}

namespace lendora {

class CirculationDesk;
class WindowContext;

// The lending tab "正常借书": a reader by number, a book by number, the lend button, and the
// reader's current loans with the two counters the limit rests on.
class LendingTab : public QWidget {
    Q_OBJECT
public:
    LendingTab(WindowContext &context, CirculationDesk &desk, QWidget *parent = nullptr);
    ~LendingTab() override;

    QString readerId() const;
    QTableView *grid() const;
    // The counters after a refresh; an empty remaining text when the rules give none, and a
    // negative count for a refresh that failed.
    void showCounters(int openLoans, const QString &remaining);

private:
    void lookUpReader();
    void lookUpBook();
    void lendBook();
    void refuseFull();
    void addReader();

    void clearBook();
    void fail(const DbError &error);
    static void focusBox(QLineEdit *box);

    WindowContext &m_context;
    CirculationDesk &m_desk;
    LoanStore m_store;
    std::unique_ptr<Ui::LendingTab> m_ui;
};

}  // namespace lendora
