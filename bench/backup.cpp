// A backup of a large library while the desk lends: every lend must go through, and quickly.
// The desk lends every <interval> ms through the same store the lending tab uses, first
// without a backup (the floor: the same lends on the same file), then while a backup copies
// the library on its own thread.
//
//   lendora_bench_backup <library-dir> [--interval-ms N]
//
// <library-dir> holds mdb/Lendora.mdb (lendora_generate writes one); it is copied into a
// temporary directory and never changed.

#include "core/circulation/LoanStore.h"
#include "core/exchange/BackgroundCopy.h"
#include "data/SharedDatabase.h"
#include "data/sqlite/DatabaseFile.h"
#include "data/sqlite/SqliteBackend.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace lendora;

namespace {

const QDate kToday(2026, 12, 7);

struct Lends {
    std::vector<double> ms;
    int failed = 0;
};

double at(std::vector<double> v, double share)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v.at(std::min(v.size() - 1, size_t(share * double(v.size()))));
}

QStringList column(SharedDatabase &db, const QString &sql)
{
    QStringList values;
    QSqlQuery q(db.db());
    if (q.exec(sql)) {
        while (q.next())
            values << q.value(0).toString();
    }
    return values;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: lendora_bench_backup <library-dir> [--interval-ms N]\n");
        return 2;
    }
    const int intervalAt = int(args.indexOf(QStringLiteral("--interval-ms")));
    const int interval = intervalAt > 0 ? args.value(intervalAt + 1).toInt() : 10;

    QTemporaryDir dir;
    const QString library = DatabaseFile::pathIn(dir.path());
    QDir().mkpath(QFileInfo(library).absolutePath());
    if (!QFile::copy(DatabaseFile::pathIn(args.at(1)), library)) {
        std::fprintf(stderr, "cannot copy the library\n");
        return 1;
    }
    SharedDatabase database(QStringLiteral("bench-desk"));
    QString problem;
    if (!database.open(library, &problem)) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    // Readers with nothing out and books on the shelf: one lend each, never refused.
    const QStringList readers = column(
        database, QStringLiteral("select 读者编号 from readerInfo where 读者编号 not in (select"
                                 " 读者编号 from lentInfo where 还书日期 is null) limit 20000"));
    const QStringList books = column(
        database, QStringLiteral("select 书籍编号 from bookInfo where 是否借出=0 limit 20000"));
    LoanStore store(database);
    int next = 0;
    const auto lendOnce = [&](Lends &lends) {
        if (next >= readers.size() || next >= books.size()) {
            ++lends.failed;
            return;
        }
        QElapsedTimer timer;
        timer.start();
        const LoanStore::LendResult result = store.lend(readers.at(next), books.at(next), kToday);
        lends.ms.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (result != LoanStore::LendResult::Lent)
            ++lends.failed;
        ++next;
    };

    // While the backup runs, lend every `interval` ms; then as many lends without it.
    Lends during;
    BackgroundCopy copy;
    bool finished = false;
    bool copied = false;
    QString error;
    QObject::connect(&copy, &BackgroundCopy::finished,
                     [&](bool ok, const QString &, const QString &why) {
                         finished = true;
                         copied = ok;
                         error = why;
                     });
    const QString target = dir.filePath(QStringLiteral("backup/Lendora-copy.mdb"));
    QElapsedTimer whole;
    whole.start();
    copy.start(SqliteBackend(library).copier(), target);
    while (!finished) {
        QElapsedTimer tick;
        tick.start();
        lendOnce(during);
        QCoreApplication::processEvents();
        const qint64 left = interval - tick.elapsed();
        if (left > 0)
            QThread::msleep(ulong(left));
    }
    const double backupMs = double(whole.nsecsElapsed()) / 1e6;
    Lends alone;
    for (size_t i = 0; i < during.ms.size(); ++i) {
        QElapsedTimer tick;
        tick.start();
        lendOnce(alone);
        const qint64 left = interval - tick.elapsed();
        if (left > 0)
            QThread::msleep(ulong(left));
    }
    std::printf(
        "### A backup while the desk lends every %d ms\n\n"
        "library %.0f MB, copy %s (%.0f MB) in %.1f s\n\n"
        "| lends | count | failed | median ms | p95 ms | max ms |\n|---|---:|---:|---:|---:|---:|\n"
        "| during the backup | %zu | %d | %.2f | %.2f | %.2f |\n"
        "| without a backup (floor) | %zu | %d | %.2f | %.2f | %.2f |\n",
        interval, double(QFileInfo(library).size()) / 1e6,
        copied ? "made" : qPrintable(QStringLiteral("FAILED: ") + error),
        double(QFileInfo(target).size()) / 1e6, backupMs / 1000, during.ms.size(), during.failed,
        at(during.ms, 0.5), at(during.ms, 0.95), at(during.ms, 1.0), alone.ms.size(), alone.failed,
        at(alone.ms, 0.5), at(alone.ms, 0.95), at(alone.ms, 1.0));
    database.close();
    return copied && during.failed == 0 ? 0 : 1;
}
