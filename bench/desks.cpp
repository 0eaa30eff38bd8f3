// Desks sharing one library on a PostgreSQL server: each desk a thread with its own
// connection and stores, looking a reader up, lending a book and taking it back, over and
// over, on books of its own. Prints each step's median and p95 in ms, for each count of desks.
//   lendora_bench_desks postgresql://... [seconds per run] [desk counts, e.g. 1,10] [pause ms]
// A pause between one reader's business and the next stands for the clerk; 0: flat out.
#include "core/circulation/LoanStore.h"
#include "data/SharedDatabase.h"
#include "data/postgres/PostgresBackend.h"
#include "data/postgres/ServerAddress.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>

using namespace lendora;

namespace {

struct Times {
    QList<double> lookup, lend, giveBack;
    int failed = 0;
};

double percentile(QList<double> ms, double p)
{
    if (ms.isEmpty())
        return 0;
    std::sort(ms.begin(), ms.end());
    return ms.at(std::min<qsizetype>(ms.size() - 1, qsizetype(p * double(ms.size()))));
}

double since(QElapsedTimer &clock)
{
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    clock.restart();
    return ms;
}

void desk(const ServerAddress &address, const QStringList &readers, const QStringList &books,
          int seconds, int pause, Times *times)
{
    SharedDatabase database(QStringLiteral("desk-%1").arg(quintptr(times)));
    QString problem;
    if (!database.open(std::make_unique<PostgresBackend>(address), &problem)) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        times->failed = -1;
        return;
    }
    LoanStore loans(database);
    QElapsedTimer run;
    run.start();
    for (qsizetype i = 0; run.elapsed() < seconds * 1000; ++i) {
        const QString &reader = readers.at(i % readers.size());
        const QString &book = books.at(i % books.size());
        QElapsedTimer clock;
        clock.start();
        QString name;
        if (loans.findReader(reader, &name) != LoanStore::Found::Yes) {
            ++times->failed;
            continue;
        }
        times->lookup << since(clock);
        if (loans.lend(reader, book, QDate(2026, 12, 1)) != LoanStore::LendResult::Lent) {
            ++times->failed;
            continue;
        }
        times->lend << since(clock);
        LoanStore::ReturnQuote quote;
        if (loans.quoteReturn(book, QDate(2026, 12, 2), &quote, nullptr, nullptr)
                != LoanStore::Found::Yes
            || loans.returnBook(quote) != LoanStore::ReturnResult::Returned) {
            ++times->failed;
            continue;
        }
        times->giveBack << since(clock);
        if (pause > 0)
            QThread::msleep(pause);
    }
    database.close();
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s ADDRESS [SECONDS] [DESKS,...]\n", argv[0]);
        return 2;
    }
    QString problem;
    const std::optional<ServerAddress> address =
        ServerAddress::parse(QString::fromLocal8Bit(argv[1]), &problem);
    if (!address) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 2;
    }
    const int seconds = argc > 2 ? std::max(1, atoi(argv[2])) : 10;
    const QStringList counts = QString::fromLatin1(argc > 3 ? argv[3] : "1,10").split(',');
    const int pause = argc > 4 ? std::max(0, atoi(argv[4])) : 0;

    // Readers with no open loan, books not lent: every lend goes through.
    QStringList readers;
    QStringList books;
    {
        SharedDatabase database(QStringLiteral("bench-setup"));
        DbError error;
        if (!database.openReadOnly(std::make_unique<PostgresBackend>(*address), &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error.text));
            return 3;
        }
        QSqlQuery q(database.db());
        q.exec(QStringLiteral(
            "select 读者编号 from readerInfo where 读者编号 not in (select"
            " 读者编号 from lentInfo where 还书日期 is null) order by 1 limit 2000"));
        while (q.next())
            readers << q.value(0).toString();
        q.exec(QStringLiteral(
            "select 书籍编号 from bookInfo where 是否借出 = 0 order by 1 limit 20000"));
        while (q.next())
            books << q.value(0).toString();
    }
    std::printf("%-6s %-10s %8s %8s %8s\n", "desks", "step", "median", "p95", "count");
    for (const QString &count : counts) {
        const int desks = std::max(1, count.toInt());
        std::vector<Times> times(desks);
        QList<QThread *> threads;
        for (int d = 0; d < desks; ++d) {
            // Each desk its own readers and books.
            QStringList ownReaders;
            QStringList ownBooks;
            for (qsizetype i = d; i < readers.size(); i += desks)
                ownReaders << readers.at(i);
            for (qsizetype i = d; i < books.size(); i += desks)
                ownBooks << books.at(i);
            threads << QThread::create(desk, *address, ownReaders, ownBooks, seconds, pause,
                                       &times[d]);
            threads.last()->start();
        }
        Times all;
        for (int d = 0; d < desks; ++d) {
            threads.at(d)->wait();
            delete threads.at(d);
            all.lookup << times[d].lookup;
            all.lend << times[d].lend;
            all.giveBack << times[d].giveBack;
            all.failed += times[d].failed;
        }
        const struct {
            const char *name;
            const QList<double> &ms;
        } steps[] = {{"look-up", all.lookup}, {"lend", all.lend}, {"return", all.giveBack}};
        for (const auto &step : steps)
            std::printf("%-6d %-10s %8.2f %8.2f %8lld\n", desks, step.name,
                        percentile(step.ms, 0.5), percentile(step.ms, 0.95),
                        qint64(step.ms.size()));
        if (all.failed != 0)
            std::printf("%-6d failed steps: %d\n", desks, all.failed);
    }
    return 0;
}
