#pragma once

#include "core/query/LoanStatistics.h"

#include <QCoreApplication>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

namespace lendora {

// One view of the loan statistics as the window shows it, the printout prints it and the
// command line writes it: its table as text, and the figures its chart draws.
struct StatisticsView {
    enum class Kind { Months, Categories, TopBooks, TopReaders, NeverLent, Collection, Fines };

    Kind kind = Kind::Months;
    QString title;
    QStringList headers;
    QList<bool> figures;  // per column: a figure, aligned right
    QList<QStringList> rows;
    QString note;  // said under the table, such as how many rows it leaves out; often empty

    // The chart: a label per category (bar or column), one or two series of values over them,
    // and the share written beyond each bar (or none).
    QStringList labels;
    QStringList shares;
    QStringList seriesNames;
    QList<QList<double>> series;
    bool horizontal = false;  // bars from the left, for long names such as book titles
};

class StatisticsViews {
    Q_DECLARE_TR_FUNCTIONS(StatisticsViews)

public:
    using Kind = StatisticsView::Kind;

    // How many never-lent books a window or page lists; the count says how many there are.
    static constexpr int kNeverLentShown = 1000;

    // Every view, in the order the window and the printout give them.
    static QList<Kind> kinds();
    static QString title(Kind kind);
    // The headings of the view's table, as the window shows them (translated).
    static QStringList headers(Kind kind);
    // The same as the library names them, whatever the language: the headings of CSV files.
    static QStringList columnNames(Kind kind);
    // A file name for the view's table without the extension, such as loans-by-month.
    static QString fileName(Kind kind);
    // The last 12 months up to today: from the first day of the month 11 months back, so the
    // chart has twelve whole bars and this month's so far.
    static std::pair<QDate, QDate> lastYear(const QDate &today);
    // The range as the clerk reads it: 2026-01-01 至 2026-12-08.
    static QString rangeText(const QDate &from, const QDate &to);

    // The view's figures over [from, to] (the range counts for the loans, returns and fines;
    // the collection and the never-lent books are as they stand). neverLentRows caps the never
    // lent list; negative lists them all. nullopt when the engine failed: statistics'
    // lastError() says why.
    static std::optional<StatisticsView> load(LoanStatistics &statistics, Kind kind,
                                              const QDate &from, const QDate &to,
                                              int neverLentRows = kNeverLentShown);

private:
    // Each view's table and chart, from its figures; false when the engine failed.
    static bool fillMonths(StatisticsView &view, LoanStatistics &statistics, const QDate &from,
                           const QDate &to);
    static bool fillCategories(StatisticsView &view, LoanStatistics &statistics, const QDate &from,
                               const QDate &to);
    // The most lent books or the readers who borrow most, as the view's kind says.
    static bool fillRanked(StatisticsView &view, LoanStatistics &statistics, const QDate &from,
                           const QDate &to);
    static bool fillNeverLent(StatisticsView &view, LoanStatistics &statistics, int neverLentRows);
    static bool fillCollection(StatisticsView &view, LoanStatistics &statistics);
    static bool fillFines(StatisticsView &view, LoanStatistics &statistics, const QDate &from,
                          const QDate &to);
};

}  // namespace lendora
