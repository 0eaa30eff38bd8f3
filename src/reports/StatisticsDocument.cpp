#include "reports/StatisticsDocument.h"
namespace lendora {
// TEMPORARY STUB
Chart statisticsChart(const StatisticsView &view)
{
    Chart c;
    for (int i = 0; i < view.labels.size(); ++i)
        c.categories << ChartCategory{view.labels.at(i), view.shares.value(i)};
    for (int i = 0; i < view.series.size(); ++i)
        c.series << ChartSeries{view.seriesNames.value(i), view.series.at(i)};
    c.orientation = view.horizontal ? ChartOrientation::Horizontal : ChartOrientation::Automatic;
    return c;
}
Document statisticsDocument(const QString &, const QDate &, const QDate &,
                            const QList<StatisticsView> &views)
{
    Document d;
    for (const auto &v : views)
        d.addHeading(v.title);
    return d;
}
}  // namespace lendora
