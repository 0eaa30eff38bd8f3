#pragma once

#include "core/circulation/DaySheet.h"
#include "reports/Document.h"

#include <QDate>
#include <QList>
#include <QString>

namespace lendora {

// The day sheet on A4: the library's name, the day, every movement, the totals.
Document daySheetDocument(const QString &libraryName, const QDate &day,
                          const QList<DaySheet::Entry> &rows);

// The cells of one movement, in the order of the sheet's columns: the grid and the paper agree.
QStringList daySheetCells(const DaySheet::Entry &row);
// The column keys of the sheet, labelled by Columns::label.
const QStringList &daySheetColumns();

}  // namespace lendora
