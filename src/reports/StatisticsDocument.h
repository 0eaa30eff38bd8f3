#pragma once

#include "core/query/StatisticsViews.h"
#include "reports/Chart.h"
#include "reports/Document.h"

#include <QDate>
#include <QList>
#include <QString>

namespace lendora {

// The chart of one view of the loan statistics, for the window and for paper alike. It has no
// title of its own: the window's tab and the page's heading name it.
Chart statisticsChart(const StatisticsView &view);

// The loan statistics on A4 landscape, a page per view: its title, the library and the range,
// the chart with the view's table beside it, and the view's note.
Document statisticsDocument(const QString &libraryName, const QDate &from, const QDate &to,
                            const QList<StatisticsView> &views);

}  // namespace lendora
