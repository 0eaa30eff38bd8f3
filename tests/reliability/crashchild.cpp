// Works in a loop until it is killed, so the crash test can kill it at any moment:
//   lendora_crashchild loans <database> <journal> <seed>
//       lends, renews and returns books through LoanStore on the database;
//   lendora_crashchild files <app-dir> <journal> <seed>
//       rewrites the account, settings and tips files.
//   lendora_crashchild hold <database> <milliseconds>
//       takes the write lock, says "HELD", keeps it that long, then commits nothing.
// Before each operation it appends "T <operation>" to the journal, after it "D" when the
// operation was committed or "X" when it was refused, so the test knows what must be there.
#include "base/AccountFile.h"
#include "base/DateText.h"
#include "base/KeyValueFile.h"
#include "base/NumberText.h"
#include "base/PrivateProfile.h"
#include "core/circulation/LoanStore.h"
#include "data/SharedDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QThread>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace lendora;

class Journal {
public:
    explicit Journal(const QString &path)
        : m_fd(::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_APPEND, 0600))
    {}
    ~Journal() { ::close(m_fd); }
    bool isOpen() const { return m_fd >= 0; }
    // One write per line: a kill never leaves half a line behind.
    void line(const QString &text)
    {
        const QByteArray bytes = text.toUtf8() + '\n';
        if (::write(m_fd, bytes.constData(), size_t(bytes.size())) != bytes.size())
            std::_Exit(5);
    }

private:
    int m_fd;
};

constexpr int kBooks = 30;
constexpr int kReaders = 8;

QString bookId(int i)
{
    return QStringLiteral("B%1").arg(i, 2, 10, QLatin1Char('0'));
}

QString readerId(int i)
{
    return QStringLiteral("R%1").arg(i);
}

int loans(const QString &databasePath, Journal &journal, QRandomGenerator &random)
{
    SharedDatabase database(QStringLiteral("crash-child"));
    QString problem;
    if (!database.open(databasePath, &problem)) {
        std::fprintf(stderr, "OPEN FAILED %s\n", qPrintable(problem));
        return 3;
    }
    LoanStore store(database);
    const QDate base(2026, 1, 1);
    std::printf("READY\n");
    std::fflush(stdout);
    for (;;) {
        const QString book = bookId(random.bounded(1, kBooks + 1));
        LoanStore::OpenLoan open;
        const LoanStore::Found found = store.findOpenLoan(book, &open, nullptr);
        if (found == LoanStore::Found::Failed) {
            std::fprintf(stderr, "LOOKUP FAILED %s\n", qPrintable(store.lastError().text));
            return 4;
        }
        bool done = false;
        bool failed = false;
        if (found == LoanStore::Found::No) {
            const QString reader = readerId(random.bounded(1, kReaders + 1));
            const QDate day = base.addDays(random.bounded(0, 300));
            journal.line(
                QStringLiteral("T LEND %1 %2 %3").arg(reader, book, DateText::toText(day)));
            const auto result = store.lend(reader, book, day);
            done = result == LoanStore::LendResult::Lent;
            failed = result == LoanStore::LendResult::Failed;
        } else if (random.bounded(2) == 0) {
            // Renewal names the reader too: the one holding the loan.
            const QString lendDate = DateText::toText(open.lendDate);
            const QDate moved = open.lendDate.addDays(random.bounded(1, 20));
            QSqlQuery holderQuery(database.db());
            holderQuery.prepare(QStringLiteral(
                "select 读者编号 from lentInfo where 书籍编号=? and 还书日期 is null"));
            holderQuery.addBindValue(book);
            if (!holderQuery.exec() || !holderQuery.next()) {
                std::fprintf(stderr, "NO HOLDER for %s\n", qPrintable(book));
                return 4;
            }
            const QString holder = holderQuery.value(0).toString();
            holderQuery.finish();
            journal.line(QStringLiteral("T RENEW %1 %2 %3 %4")
                             .arg(book, holder, lendDate, DateText::toText(moved)));
            const auto result = store.renew(book, holder, lendDate, moved);
            done = result == LoanStore::RenewResult::Renewed;
            failed = result == LoanStore::RenewResult::Failed;
        } else {
            const int held = random.bounded(0, 60);
            LoanStore::ReturnQuote quote;
            if (store.quoteReturn(book, open.lendDate.addDays(held), &quote, nullptr, nullptr)
                != LoanStore::Found::Yes) {
                std::fprintf(stderr, "QUOTE FAILED %s\n", qPrintable(store.lastError().text));
                return 4;
            }
            const Fines::Figures::Texts figures = quote.figures.texts();
            journal.line(QStringLiteral("T RETURN %1 %2 %3 %4 %5")
                             .arg(book, DateText::toText(open.lendDate), figures.returnDate,
                                  figures.overdueDays, figures.fine));
            const auto result = store.returnBook(quote);
            done = result == LoanStore::ReturnResult::Returned;
            failed = result == LoanStore::ReturnResult::Failed;
        }
        if (failed) {
            std::fprintf(stderr, "WRITE FAILED %s\n", qPrintable(store.lastError().text));
            return 4;
        }
        journal.line(done ? QStringLiteral("D") : QStringLiteral("X"));
    }
}

int files(const QString &appDir, Journal &journal, QRandomGenerator &random)
{
    const QDir dir(appDir);
    std::printf("READY\n");
    std::fflush(stdout);
    for (;;) {
        const QString version = QString::number(random.generate64() >> 1);
        bool done = false;
        switch (random.bounded(3)) {
        case 0:
            journal.line(QStringLiteral("T SETTINGS ") + version);
            done = SetKeyValue(dir.filePath(QStringLiteral("setting.ini")),
                               QStringLiteral("LoadStyle"), version)
                   == TextFile::WriteResult::Written;
            break;
        case 1:
            journal.line(QStringLiteral("T ACCOUNT ") + version);
            done = AccountFile::write(
                       dir.filePath(QStringLiteral("dat/userdata.dat")),
                       {QStringLiteral("user") + version, QStringLiteral("pw") + version})
                   == AccountFile::WriteResult::Written;
            break;
        default:
            journal.line(QStringLiteral("T TIPS ") + version);
            done = PrivateProfile::write(dir.filePath(QStringLiteral("QUICKTIP.INI")),
                                         QStringLiteral("TIP"), QStringLiteral("CURRENT"), version);
            break;
        }
        if (!done) {
            std::fprintf(stderr, "WRITE FAILED\n");
            return 4;
        }
        journal.line(QStringLiteral("D"));
    }
}

// Another program holding the library's write lock.
int hold(const QString &databasePath, int milliseconds)
{
    const QString name = QStringLiteral("holder");
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(databasePath);
    QSqlQuery begin(db);
    if (!db.open() || !begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return 3;
    std::printf("HELD\n");
    std::fflush(stdout);
    QThread::msleep(ulong(milliseconds));
    return begin.exec(QStringLiteral("ROLLBACK")) ? 0 : 4;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "hold")
        return hold(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt());
    if (argc != 5)
        return 2;
    const QString mode = QString::fromLocal8Bit(argv[1]);
    Journal journal(QString::fromLocal8Bit(argv[3]));
    if (!journal.isOpen())
        return 2;
    QRandomGenerator random(quint32(QByteArray(argv[4]).toULong()));
    if (mode == QLatin1String("loans"))
        return loans(QString::fromLocal8Bit(argv[2]), journal, random);
    if (mode == QLatin1String("files"))
        return files(QString::fromLocal8Bit(argv[2]), journal, random);
    return 2;
}
