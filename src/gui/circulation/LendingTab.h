#pragma once

#include "core/circulation/LoanStore.h"

#include <QWidget>
#include <memory>
#include <optional>

class QLineEdit;
class QTableView;

namespace Ui {
class LendingTab;
}

namespace lendora {

class WindowContext;

// The lending tab "正常借书": a reader by number, a book by number, the lend button, and the
// reader's current loans with the two counters the limit rests on.
class LendingTab : public QWidget {
    Q_OBJECT
public:
    LendingTab(WindowContext &context, QWidget *parent = nullptr);
    ~LendingTab() override;

    QString readerId() const;
    QTableView *grid() const;
    // The lending date the tab offers first.
    void setLendDate(const QDate &day);
    // The reader's counts the limit rests on, as the desk worked them out: nullopt for a
    // refresh that failed (no count is better than a wrong one).
    void showCounts(const std::optional<LoanStore::ReaderCounts> &counts);

signals:
    // A reader was found: the grid and the counts are to follow the reader typed.
    void readerFound();
    // A book was lent; `after` holds the reader's counts the lend left.
    void lent(const QString &readerId, const QDate &day, const LoanStore::ReaderCounts &after);
    // 添加新读者, with the reader number typed.
    void newReaderAsked(const QString &readerId);

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
    LoanStore m_store;
    std::unique_ptr<Ui::LendingTab> m_ui;
    // How many more books the shown reader may borrow, when the rules say.
    std::optional<int> m_remaining;
};

}  // namespace lendora
