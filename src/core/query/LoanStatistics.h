#pragma once

#include "base/Decimal.h"
#include "data/Store.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace lendora {

// The figures of the loan statistics: counts over a range of days [from, to], both included,
// and the collection as it stands. Loans are counted by their lending date (a renewal moves
// it, so a renewed loan counts in the month of its renewal), returns and fines by their return
// date. A loan whose book, category or reader has been deleted since still counts: under the
// unknown category, or with an empty name. Every call gives nullopt when the engine failed
// (lastError() says why); an empty or invalid range gives empty lists.
class LoanStatistics : public Store {
public:
    struct Month {
        QString month;  // yyyy-MM
        qint64 loans = 0;
        qint64 returns = 0;
    };
    struct Category {
        QString code;  // empty for the unknown category
        QString name;  // unknownCategoryText() for it
        qint64 count = 0;
        double share = 0;  // of all counted, 0..1
        bool unknown = false;
    };
    struct Ranked {
        QString id;
        QString name;  // empty when the book or reader was deleted
        qint64 count = 0;
    };
    struct Book {
        QString id;
        QString name;
        QString category;    // the category's name, empty when it was deleted
        QString registered;  // 登记日期 as stored
    };
    struct Holding {
        QString code;
        QString name;
        qint64 books = 0;
        qint64 onLoan = 0;       // books with an open loan, when counted
        double shareOnLoan = 0;  // onLoan / books, 0 for an empty category
        qint64 neverLent = 0;    // books never lent at all, when counted
        double shareNeverLent = 0;
        bool unknown = false;
    };
    struct MonthFine {
        QString month;
        Decimal total;
        QString text() const { return total.toText(); }
    };

    static constexpr int kTop = 20;

    using Store::Store;

    // Every month of the range, zeros included.
    std::optional<QList<Month>> byMonth(const QDate &from, const QDate &to);
    // By count, most first, then by code; the unknown category is one row among them.
    std::optional<QList<Category>> byCategory(const QDate &from, const QDate &to);
    // Most lent first, ties by book or reader number.
    std::optional<QList<Ranked>> topBooks(const QDate &from, const QDate &to, int count = kTop);
    std::optional<QList<Ranked>> topReaders(const QDate &from, const QDate &to, int count = kTop);
    // Books never lent at all, by book number, one page of them.
    std::optional<QList<Book>> neverLent(int limit, int offset = 0);
    // Every category with its books (zeros included), by code; books of a deleted category
    // under the unknown one, last. Besides, either the books on loan now or the books never
    // lent: each costs a pass over the books or the loans.
    enum class Also { OnLoan, NeverLent };
    std::optional<QList<Holding>> collection(Also also = Also::OnLoan);
    // The fines taken in every month of the range, zeros included.
    std::optional<QList<MonthFine>> finesByMonth(const QDate &from, const QDate &to);

    // The months a range covers, as yyyy-MM.
    static QStringList months(const QDate &from, const QDate &to);
    static QString unknownCategoryText();

private:
    // The most lent books or readers: `sql` binds the range and the count.
    std::optional<QList<Ranked>> ranked(const QString &sql, const QDate &from, const QDate &to,
                                        int count);
};

}  // namespace lendora
