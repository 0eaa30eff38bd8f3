#pragma once

#include "core/circulation/OverdueList.h"
#include "reports/Document.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace lendora {

// 催还单: one page per reader who has a book overdue, listing those books with their fines.
// A loan whose figures are unknown is on nobody's notice: it cannot be said to be overdue,
// and the notice must not ask for a fine nobody can work out.
class OverdueNotices {
public:
    // The readers who get a page, by reader number, each once.
    static QStringList readers(const QList<OverdueList::Entry> &entries);
    // A4 portrait, the pages in the order of readers(); with no reader to notify, one page
    // that says so, so a file written from it never shows an older day's notices.
    static Document build(const QList<OverdueList::Entry> &entries, const QString &libraryName,
                          const QDate &asOf);
};

}  // namespace lendora
