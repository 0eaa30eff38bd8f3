#pragma once

#include "base/Decimal.h"
#include "core/circulation/Fines.h"
#include "data/Store.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace lendora {

// The open loans overdue at a date. Overdue days and fines come from Fines::compute, the code
// of the return tab, so the list and a return on that day always agree. A loan whose figures
// cannot be worked out (no lending date, no loan period, no fine rule, days out of range) is
// listed with its problem, after the others and whatever the minimum, since nobody can tell
// whether it is overdue. A loan lent after the date is never listed. A loan whose reader, book
// or category has been deleted since is still out: it is listed with what is known of it, and
// its note says what is gone.
class OverdueList : public Store {
public:
    struct Criteria {
        QDate asOf;
        QString department;  // 所在部门, exact; empty for every department
        int minDays = 1;     // below 1 counts as 1: a loan due that day is not overdue
    };

    struct Entry {
        QString readerId, readerName, phone, department, bookId, bookName;
        QDate lendDate;
        QDate dueDate;  // invalid when the lending date or the loan period is missing
        Fines::Problem problem = Fines::Problem::None;
        qint64 overdueDays = 0;  // with the fine, only when there is no problem
        QString fine;
        // What the loan's row no longer finds; a book that is gone takes its category along.
        bool readerGone = false;
        bool bookGone = false;
        bool categoryGone = false;

        bool somethingGone() const { return readerGone || bookGone || categoryGone; }
    };

    struct Totals {
        qint64 readers = 0;
        qint64 books = 0;
        Decimal fines;
        qint64 gone = 0;  // loans whose reader, book or category is gone
    };

    using Store::Store;

    // Longest overdue first, then by reader and book number; the loans with a problem last.
    // nullopt when the engine failed (lastError() says why).
    std::optional<QList<Entry>> find(const Criteria &criteria);
    // The list's first rows, quickly: at least `atLeast` rows exactly as find() begins, read
    // from the oldest loans on. `complete` says whether this is the whole list after all
    // (then with the loans that have a problem); when not, find() gives the rest.
    std::optional<QList<Entry>> findFirst(const Criteria &criteria, int atLeast, bool *complete);
    // The departments the readers belong to, sorted, without blanks.
    QStringList departments();

    static Totals totals(const QList<Entry> &rows);

    // The columns every listing of entries shows, the window's and the CLI's alike, in order,
    // 说明 last; and one entry's cells under them: figures only when there is no problem.
    static const QStringList &columns();
    static QStringList cells(const Entry &entry);
    // The 说明 of an entry: why its figures are missing, or what of it is gone; empty when
    // nothing is.
    static QString note(const Entry &entry);

private:
    struct Statement;
    class FirstRows;

    std::optional<QList<Entry>> collect(const Criteria &criteria, int atLeast, bool *complete);
    // The statement of the open loans that may be listed, with what the first rows need to
    // know of the loan periods; nullopt when the engine failed.
    std::optional<Statement> statement(const Criteria &criteria, const Rules &rules);
};

}  // namespace lendora
