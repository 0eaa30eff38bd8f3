#pragma once

#include "core/circulation/LoanHistory.h"
#include "reports/Document.h"

#include <QList>
#include <QString>

namespace lendora {

// A reader's loans on A4: the library's name, the reader, every loan, the totals.
Document loanHistoryDocument(const QString &libraryName, const QString &readerId,
                             const QString &readerName, const QList<LoanHistory::Entry> &rows);

// The cells of one loan, in the order of the history's columns: the grid and the paper agree.
QStringList loanHistoryCells(const LoanHistory::Entry &row);
// The column keys of the history, labelled by Columns::label.
const QStringList &loanHistoryColumns();

}  // namespace lendora
