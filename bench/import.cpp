// Importing a large CSV of books: reading the file, checking every line against the library,
// and writing every row with the text indexes kept by their triggers, in one transaction.
//
//   lendora_bench_import [<library-dir>] [--rows N] [--runs N]
//
// <library-dir> holds mdb/Lendora.mdb (lendora_generate writes one); it is copied into a
// temporary directory for each run and never changed. Without it, a new empty library is used.

#include "core/exchange/Import.h"
#include "base/Csv.h"
#include "data/SharedDatabase.h"
#include "data/sqlite/DatabaseFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace lendora;

namespace {

QByteArray booksFile(int count)
{
    const QStringList categories = {"A", "B", "I", "K", "T", "Z"};
    const QStringList words = {"红楼", "梦",   "三国", "演义", "数据", "结构", "算法", "导论",
                               "历史", "中国", "现代", "文学", "Qt",   "SQL",  "编程"};
    QList<QStringList> rows;
    rows.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QString title = words.at(i % words.size()) + words.at((i / 7) % words.size())
                              + words.at((i / 53) % words.size()) + QString::number(i);
        rows << QStringList{QStringLiteral("IMP%1").arg(i, 7, 10, QLatin1Char('0')),
                            title,
                            categories.at(i % categories.size()),
                            QStringLiteral("出版社%1").arg(i % 400),
                            QStringLiteral("作者%1").arg(i % 9000),
                            QString::number(10 + i % 90) + QStringLiteral(".5"),
                            QString::number(100 + i % 900),
                            QStringLiteral("2026/%1/%2").arg(1 + i % 12).arg(1 + i % 28)};
    }
    return Csv::write(Import::fields(Import::Kind::Books), rows);
}

bool copyLibrary(const QString &from, const QString &to)
{
    QDir().mkpath(to + QStringLiteral("/mdb"));
    return QFile::copy(DatabaseFile::pathIn(from), DatabaseFile::pathIn(to));
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    int rows = 100000;
    int runs = 3;
    QString source;
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--rows") && i + 1 < args.size())
            rows = args.at(++i).toInt();
        else if (args.at(i) == QLatin1String("--runs") && i + 1 < args.size())
            runs = args.at(++i).toInt();
        else
            source = args.at(i);
    }
    const QByteArray bytes = booksFile(rows);
    std::printf("%d books, %.1f MB of CSV, library: %s\n", rows, bytes.size() / 1048576.0,
                source.isEmpty() ? "new, empty" : qPrintable(source));
    std::vector<double> totals;
    for (int run = 0; run < runs; ++run) {
        QTemporaryDir dir;
        if (source.isEmpty()) {
            QDir().mkpath(dir.filePath(QStringLiteral("mdb")));
        } else if (!copyLibrary(source, dir.path())) {
            std::fprintf(stderr, "cannot copy %s\n", qPrintable(source));
            return 1;
        }
        SharedDatabase database(QStringLiteral("bench-import"));
        QString problem;
        if (!database.open(DatabaseFile::pathIn(dir.path()), &problem)) {
            std::fprintf(stderr, "%s\n", qPrintable(problem));
            return 1;
        }
        QElapsedTimer timer;
        timer.start();
        const Csv::Table table = Csv::read(bytes);
        const double readMs = double(timer.nsecsElapsed()) / 1e6;
        Import::Options options;
        const Import::Outcome outcome = Import(database).run(table, options);
        const double totalMs = double(timer.nsecsElapsed()) / 1e6;
        if (!outcome.written || outcome.added != rows) {
            std::fprintf(stderr, "import failed: %s\n",
                         qPrintable(outcome.message(Import::Kind::Books)));
            return 1;
        }
        std::printf("run %d: read %.0f ms, check and write %.0f ms, total %.2f s\n", run + 1,
                    readMs, totalMs - readMs, totalMs / 1000);
        // Every text index holds the new rows.
        QSqlQuery q(database.db());
        int found = 0;
        const std::pair<QString, QString> probes[] = {
            {QStringLiteral("bookTitleTrigrams"), QStringLiteral("数据结构")},
            {QStringLiteral("bookPublisherTrigrams"),
             QStringLiteral("出版社%1").arg(rows % 400 / 2)},
            {QStringLiteral("bookNumberTrigrams"),
             QStringLiteral("IMP%1").arg(rows - 1, 7, 10, QLatin1Char('0'))},
        };
        for (const auto &[index, text] : probes) {
            q.exec(
                QStringLiteral("select count(*) from %1 where %1 match '\"%2\"'").arg(index, text));
            found += q.next() && q.value(0).toInt() > 0 ? 1 : 0;
        }
        if (found != 3) {
            std::fprintf(stderr, "a text index misses the imported rows\n");
            return 1;
        }
        totals.push_back(totalMs);
    }
    std::sort(totals.begin(), totals.end());
    std::printf("median total: %.2f s (target under 10 s)\n", totals[totals.size() / 2] / 1000);
    return 0;
}
