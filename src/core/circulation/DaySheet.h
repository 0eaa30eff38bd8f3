#pragma once

#include "base/Decimal.h"
#include "data/Store.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

namespace lendora {

// What went over the desk on one day: the books lent and the books returned, with the fines
// taken. lentInfo keeps no trace of a renewal but its new lending date, so a loan renewed on
// the day is listed among the day's loans and cannot be told apart from one. A loan whose
// reader or book has been deleted since is still listed (with its names empty): the fine it
// paid was taken that day.
class DaySheet : public Store {
public:
    enum class Kind { Lent, Returned };

    struct Entry {
        Kind kind = Kind::Lent;
        QString readerId, readerName, bookId, bookName;
        QDate lendDate;
        QString overdueDays;  // returns only, as stored; empty when none is stored
        QString fine;         // returns only, as stored; empty when none is stored
    };

    struct Totals {
        qint64 lent = 0;
        qint64 returned = 0;
        Decimal fines;
    };

    using Store::Store;

    // The day's loans first, then its returns, each by reader and book number. nullopt when
    // the engine failed (lastError() says why).
    std::optional<QList<Entry>> find(const QDate &day);

    static Totals totals(const QList<Entry> &rows);
    // The kind as the sheet shows it, and the totals line, the same on screen and on paper.
    static QString kindText(Kind kind);
    static QString totalsText(const Totals &totals);
    // What stands under the totals: where a renewal is counted, since the sheet cannot tell.
    static QString renewalNote();
};

}  // namespace lendora
