#include "reports/StatisticsDocument.h"

#include <QCoreApplication>
#include <algorithm>

namespace lendora {

namespace {
const char *const kTitle = QT_TRANSLATE_NOOP("lendora::StatisticsDocument", "借阅统计");
const char *const kRange = QT_TRANSLATE_NOOP("lendora::StatisticsDocument", "统计期间:%1");

QString tr(const char *text)
{
    return QCoreApplication::translate("lendora::StatisticsDocument", text);
}

// Roughly how many Latin letters wide the text is: a Chinese character takes two.
int textWidth(const QString &text)
{
    int width = 0;
    for (const QChar c : text)
        width += c.unicode() >= 0x1100 ? 2 : 1;
    return width;
}

// Columns as wide as what they hold, within bounds: a book's title gets the room, a code or a
// count no more than its heading needs, and no column shrinks to nothing.
QList<TableColumn> columnsOf(const StatisticsView &view)
{
    constexpr int kNarrowest = 6;
    constexpr int kWidest = 30;
    QList<TableColumn> columns;
    for (qsizetype i = 0; i < view.headers.size(); ++i) {
        int widest = textWidth(view.headers.at(i));
        for (const QStringList &row : view.rows)
            widest = std::max(widest, textWidth(row.value(i)));
        const bool figure = view.figures.value(i);
        columns << TableColumn{view.headers.at(i), figure ? Qt::AlignRight : Qt::AlignLeft,
                               qreal(std::clamp(widest, kNarrowest, kWidest))};
    }
    return columns;
}

// The chart's share of the line: the table gets about what its text needs (a Latin letter is
// some 1.9 mm at the body size, on a landscape A4 line of 267 mm), the chart the rest, within
// bounds that keep either readable.
qreal chartShareFor(const QList<TableColumn> &columns)
{
    constexpr qreal kLetterMm = 1.9;
    constexpr qreal kLineMm = 267;
    constexpr int kPaddingLetters = 2;
    qreal letters = 0;
    for (const TableColumn &column : columns)
        letters += column.width + kPaddingLetters;
    return std::clamp(1 - letters * kLetterMm / kLineMm, 0.45, ChartBlock::kDefaultShare);
}
}  // namespace

Chart statisticsChart(const StatisticsView &view)
{
    Chart chart;
    for (qsizetype i = 0; i < view.labels.size(); ++i)
        chart.categories << ChartCategory{view.labels.at(i), view.shares.value(i)};
    for (qsizetype i = 0; i < view.series.size(); ++i)
        chart.series << ChartSeries{view.seriesNames.value(i), view.series.at(i)};
    chart.orientation =
        view.horizontal ? ChartOrientation::Horizontal : ChartOrientation::Automatic;
    return chart;
}

Document statisticsDocument(const QString &libraryName, const QDate &from, const QDate &to,
                            const QList<StatisticsView> &views)
{
    Document document;
    document.title = tr(kTitle);
    document.orientation = QPageLayout::Landscape;
    document.margins = {15, 15, 15, 15};
    for (qsizetype i = 0; i < views.size(); ++i) {
        const StatisticsView &view = views.at(i);
        if (i > 0)
            document.addPageBreak();
        document.addHeading(view.title, 1);
        const QString range = tr(kRange).arg(StatisticsViews::rangeText(from, to));
        document.addParagraph(libraryName.isEmpty() ? range
                                                    : libraryName + QStringLiteral("  ") + range);
        const QList<TableColumn> columns = columnsOf(view);
        document.addChart(statisticsChart(view), Table{columns, view.rows}, chartShareFor(columns));
        if (!view.note.isEmpty())
            document.addParagraph(view.note);
    }
    return document;
}

}  // namespace lendora
