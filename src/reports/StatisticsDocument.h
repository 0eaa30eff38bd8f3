#pragma once
#include "query/StatisticsViews.h"
#include "reports/Chart.h"
#include "reports/Document.h"
namespace lendora {
Chart statisticsChart(const StatisticsView &view);
Document statisticsDocument(const QString &libraryName, const QDate &from, const QDate &to,
                            const QList<StatisticsView> &views);
}  // namespace lendora
