// The loan statistics on a large library: each view, as the window counts it, timed over the
// last year and over the whole history, after the upgrade that builds the statistics' indexes.
//
//   lendora_bench_statistics <library-dir> [--runs N]
//
// <library-dir> holds mdb/Lendora.mdb (lendora_generate writes one); it is copied into a
// temporary directory and never changed.

#include "core/query/LoanStatistics.h"
#include "core/query/StatisticsViews.h"
#include "data/SharedDatabase.h"
#include "data/sqlite/DatabaseFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace lendora;

namespace {

struct View {
    QString name;
    std::function<bool(LoanStatistics &, const QDate &, const QDate &)> run;
};

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    int runs = 3;
    QString source;
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--runs") && i + 1 < args.size())
            runs = args.at(++i).toInt();
        else
            source = args.at(i);
    }
    if (source.isEmpty()) {
        std::fprintf(stderr, "usage: lendora_bench_statistics <library-dir> [--runs N]\n");
        return 2;
    }
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/lendora-statistics-XXXXXX"));
    QDir().mkpath(dir.path() + QStringLiteral("/mdb"));
    if (!QFile::copy(DatabaseFile::pathIn(source), DatabaseFile::pathIn(dir.path()))) {
        std::fprintf(stderr, "cannot copy the library\n");
        return 1;
    }
    SharedDatabase database(QStringLiteral("bench"));
    QString problem;
    QElapsedTimer clock;
    clock.start();
    if (!database.open(DatabaseFile::pathIn(dir.path()), &problem)) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    std::printf("open (with any upgrade): %.2f s\n", clock.nsecsElapsed() / 1e9);

    // Each view as the window counts it when its tab is shown: its queries and its texts.
    std::vector<View> views;
    for (StatisticsView::Kind kind : StatisticsViews::kinds()) {
        views.push_back({StatisticsViews::fileName(kind),
                         [kind](LoanStatistics &s, const QDate &f, const QDate &t) {
                             return bool(StatisticsViews::load(s, kind, f, t));
                         }});
    }
    const QList<std::pair<const char *, std::pair<QDate, QDate>>> ranges = {
        {"last year", {QDate(2026, 1, 1), QDate(2026, 12, 31)}},
        {"all years", {QDate(2006, 1, 1), QDate(2026, 12, 31)}},
    };
    LoanStatistics statistics(database);
    for (const auto &[rangeName, range] : ranges) {
        std::printf("%s:\n", rangeName);
        for (const View &view : views) {
            std::vector<double> seconds;
            for (int run = 0; run < runs; ++run) {
                clock.restart();
                if (!view.run(statistics, range.first, range.second)) {
                    std::fprintf(stderr, "%s failed: %s\n", qPrintable(view.name),
                                 qPrintable(statistics.lastError().text));
                    return 1;
                }
                seconds.push_back(clock.nsecsElapsed() / 1e9);
            }
            std::printf("  %-34s first %.3f s, best %.3f s\n", qPrintable(view.name),
                        seconds.front(), *std::min_element(seconds.begin(), seconds.end()));
        }
    }
    return 0;
}
