// One desk of the race test: lends, renews and returns books of a small shared set, and
// removes and registers readers again, through the desk's own stores on the library named,
// until its time is up. Prints what it did, and every write the engine failed.
//   lendora_racer <library address> <seed> <milliseconds>
#include "core/circulation/LoanStore.h"
#include "core/readers/ReaderStore.h"
#include "data/SharedDatabase.h"
#include "data/postgres/PostgresBackend.h"
#include "data/postgres/ServerAddress.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <cstdio>

using namespace lendora;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s ADDRESS SEED MILLISECONDS\n", argv[0]);
        return 2;
    }
    QString problem;
    const std::optional<ServerAddress> address =
        ServerAddress::parse(QString::fromLocal8Bit(argv[1]), &problem);
    SharedDatabase database(QStringLiteral("racer"));
    if (!address || !database.open(std::make_unique<PostgresBackend>(*address), &problem)) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 3;
    }
    QRandomGenerator random(QByteArray(argv[2]).toUInt());
    const qint64 budget = QByteArray(argv[3]).toLongLong();
    const QDate lent(2026, 12, 1);
    int done[5] = {};
    int failed = 0;
    const auto failure = [&failed](const Store &store) {
        ++failed;
        std::printf("failed %d %s\n", int(store.lastError().kind),
                    qPrintable(store.lastError().text.simplified()));
    };
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < budget) {
        const QString reader = QStringLiteral("R%1").arg(random.bounded(1, 4));
        const QString book = QStringLiteral("B%1").arg(random.bounded(1, 13), 2, 10, QChar('0'));
        LoanStore loans(database);
        ReaderStore readers(database);
        LoanStore::OpenLoan open;
        switch (random.bounded(5)) {
        case 0:
        case 1:
            if (const auto result = loans.lend(reader, book, lent);
                result == LoanStore::LendResult::Lent)
                ++done[0];
            else if (result == LoanStore::LendResult::Failed)
                failure(loans);
            break;
        case 2:
            if (LoanStore::ReturnQuote quote;
                loans.quoteReturn(book, QDate(2026, 12, 8), &quote, nullptr, nullptr)
                != LoanStore::Found::Yes)
                break;
            else if (const auto result = loans.returnBook(quote);
                     result == LoanStore::ReturnResult::Returned)
                ++done[1];
            else if (result == LoanStore::ReturnResult::Failed)
                failure(loans);
            break;
        case 3:
            if (loans.findOpenLoan(book, &open, nullptr) != LoanStore::Found::Yes)
                break;
            // The reader shown with the loan may not be its reader: renew refuses that.
            if (const auto result = loans.renew(book, reader, open.lendDate.toString(Qt::ISODate),
                                                open.lendDate.addDays(1));
                result == LoanStore::RenewResult::Renewed)
                ++done[2];
            else if (result == LoanStore::RenewResult::Failed)
                failure(loans);
            break;
        default:
            // A reader removed (never with open loans) and registered again at once.
            if (const auto result = readers.remove(reader); result == ReaderStore::Outcome::Done) {
                ++done[3];
                if (readers.add({reader, QStringLiteral("读者"), {}, {}, {}})
                    == ReaderStore::Outcome::Failed)
                    failure(readers);
            } else if (result == ReaderStore::Outcome::Failed) {
                failure(readers);
            }
        }
    }
    std::printf("lent %d returned %d renewed %d removed %d failed %d\n", done[0], done[1], done[2],
                done[3], failed);
    database.close();
    return 0;
}
