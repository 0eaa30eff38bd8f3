// Killed at any moment, the program loses nothing it reported done and leaves nothing
// half-written: a worker lends, renews and returns books (or rewrites the files beside the
// program) in a loop and is killed with SIGKILL at random moments; after every kill the
// database and the files are checked against the worker's journal.
#include "TestMain.h"
#include "base/AccountFile.h"
#include "base/NumberText.h"
#include "base/TextFile.h"
#include "data/SharedDatabase.h"
#include "data/sqlite/DatabaseFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <map>
#include <optional>

using namespace lendora;

namespace {

constexpr int kKills = 32;  // per kind of work
constexpr int kBooks = 30;
constexpr int kReaders = 8;

// The journal's lines: "T <operation>" before, "D" after a committed one, "X" after a refused
// one. A line without its line end was not finished and does not count.
struct Journal {
    QList<QStringList> committed;
    std::optional<QStringList> pending;  // tried last, not known to be committed
    int doneCount = 0;
};

Journal readJournal(const QString &path)
{
    QFile file(path);
    Journal journal;
    if (!file.open(QIODevice::ReadOnly))
        return journal;
    QList<QByteArray> lines = file.readAll().split('\n');
    lines.removeLast();  // after the last line end: nothing, or an unfinished line
    std::optional<QStringList> tried;
    for (const QByteArray &raw : lines) {
        const QString line = QString::fromUtf8(raw);
        if (line.startsWith(QLatin1String("T "))) {
            tried = line.mid(2).split(QLatin1Char(' '));
        } else if (line == QLatin1String("D") && tried) {
            journal.committed << *tried;
            ++journal.doneCount;
            tried.reset();
        } else {
            tried.reset();
        }
    }
    journal.pending = tried;
    return journal;
}

void appendLine(const QString &path, const char *line)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    file.write(QByteArray(line) + '\n');
}

// Starts the worker, waits until it has committed at least one more operation, lets it run a
// little longer and kills it.
void runAndKill(const QStringList &arguments, const QString &journalPath, int killWithinMs)
{
    const int doneBefore = readJournal(journalPath).doneCount;
    QProcess child;
    child.setProgram(QStringLiteral(LENDORA_CRASHCHILD));
    child.setArguments(arguments);
    child.start();
    QVERIFY2(child.waitForStarted(), qPrintable(child.errorString()));
    QElapsedTimer waited;
    waited.start();
    while (readJournal(journalPath).doneCount == doneBefore) {
        if (child.waitForFinished(2) || waited.elapsed() > 60000) {
            child.kill();
            child.waitForFinished();
            QFAIL(qPrintable(QStringLiteral("the worker did no work: ")
                             + QString::fromUtf8(child.readAllStandardError())));
        }
    }
    QThread::msleep(QRandomGenerator::global()->bounded(killWithinMs));
    child.kill();
    QVERIFY(child.waitForFinished());
    QVERIFY2(child.exitStatus() == QProcess::CrashExit,
             qPrintable(QStringLiteral("the worker stopped by itself: ")
                        + QString::fromUtf8(child.readAllStandardError())));
}

// --- loans -------------------------------------------------------------------------------

struct Loan {
    QString reader, book, lent, returned, overdue, fine;  // "-" for null
};

QString rowText(const Loan &l)
{
    return QStringList{l.reader, l.book, l.lent, l.returned, l.overdue, l.fine}.join(
        QLatin1Char('|'));
}

QString fineText(const QString &text)
{
    return NumberText::fromDouble(text.toDouble());
}

// Applies one journalled operation to the model; false when the model has no loan it names.
bool apply(QList<Loan> &loans, const QStringList &op)
{
    const auto open = [&](const QString &book, const QString &lent) -> Loan * {
        for (Loan &l : loans) {
            if (l.book == book && l.lent == lent && l.returned == QLatin1String("-"))
                return &l;
        }
        return nullptr;
    };
    if (op.value(0) == QLatin1String("LEND") && op.size() == 4) {
        loans << Loan{op[1], op[2], op[3], "-", "-", "-"};
        return true;
    }
    if (op.value(0) == QLatin1String("RENEW") && op.size() == 5) {
        Loan *l = open(op[1], op[3]);
        if (!l || l->reader != op[2])
            return false;
        l->lent = op[4];
        return true;
    }
    if (op.value(0) == QLatin1String("RETURN") && op.size() == 6) {
        Loan *l = open(op[1], op[2]);
        if (!l)
            return false;
        l->returned = op[3];
        l->overdue = QString::number(op[4].toInt());
        l->fine = fineText(op[5]);
        return true;
    }
    return false;
}

QStringList sortedRows(const QList<Loan> &loans)
{
    QStringList rows;
    for (const Loan &l : loans)
        rows << rowText(l);
    rows.sort();
    return rows;
}

QString nullable(const QVariant &v, bool fine = false)
{
    if (v.isNull())
        return QStringLiteral("-");
    return fine ? NumberText::fromDouble(v.toDouble()) : v.toString();
}

QString createLibrary(const QString &dir)
{
    const QString path = DatabaseFile::pathIn(dir);
    QString error;
    if (!DatabaseFile::create(path, &error))
        qWarning() << error;
    const QString name = QStringLiteral("crash-seed");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("begin"));
            for (int r = 1; r <= kReaders; ++r)
                q.exec(QStringLiteral("insert into readerInfo values ('R%1','读者%1','男','','')")
                           .arg(r));
            for (int b = 1; b <= kBooks; ++b)
                q.exec(QStringLiteral("insert into bookInfo values ('B%1','书%1','A','出版社',"
                                      "'作者','10','100','2025-01-01',0)")
                           .arg(b, 2, 10, QLatin1Char('0')));
            q.exec(QStringLiteral("update basicSet set 借出册数=100"));
            q.exec(QStringLiteral("commit"));
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return path;
}

// --- files -------------------------------------------------------------------------------

QByteArray settingsFor(const QString &version)
{
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines << QStringLiteral("Other%1=kept line %1").arg(i);
    lines.insert(150, QStringLiteral("LoadStyle=") + version);
    return TextFile::encodeLines(lines);
}

QByteArray tipsFor(const QString &version)
{
    QStringList lines{"[TIP]", "START=T", QStringLiteral("CURRENT=") + version};
    for (int i = 1; i <= 300; ++i)
        lines << QStringLiteral("%1=第 %1 条小技巧").arg(i);
    return TextFile::encodeLines(lines);
}

QByteArray accountFor(const QString &version)
{
    return TextFile::encodeLines(
        AccountFile::lines({QStringLiteral("user") + version, QStringLiteral("pw") + version}));
}

QByteArray contentOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

}  // namespace

class CrashTest : public QObject {
    Q_OBJECT

private slots:
    void loansSurviveKills();
    void fileRewritesSurviveKills();
    void firstStartSurvivesKills();
    void logStaysWithItsFile_data();
    void logStaysWithItsFile();
};

void CrashTest::loansSurviveKills()
{
    QTemporaryDir dir;
    const QString path = createLibrary(dir.path());
    const QString journalPath = dir.filePath(QStringLiteral("journal.txt"));
    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("seed %u", seed);
    int unreported = 0;

    for (int kill = 0; kill < kKills; ++kill) {
        runAndKill({QStringLiteral("loans"), path, journalPath, QString::number(seed + kill)},
                   journalPath, 40);
        if (QTest::currentTestFailed())
            return;

        const Journal journal = readJournal(journalPath);
        QList<Loan> model;
        for (const QStringList &op : journal.committed)
            QVERIFY2(apply(model, op), qPrintable(op.join(' ')));
        QStringList withPending;
        if (journal.pending) {
            QList<Loan> more = model;
            if (apply(more, *journal.pending))
                withPending = sortedRows(more);
        }

        const QString name = QStringLiteral("crash-check");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next());
            QCOMPARE(q.value(0).toString(), QStringLiteral("ok"));

            QList<Loan> rows;
            QVERIFY(q.exec(QStringLiteral("select 读者编号,书籍编号,借书日期,还书日期,超出天数,"
                                          "罚款金额 from lentInfo")));
            while (q.next()) {
                const Loan l{nullable(q.value(0)), nullable(q.value(1)),
                             nullable(q.value(2)), nullable(q.value(3)),
                             nullable(q.value(4)), nullable(q.value(5), true)};
                // A loan row is whole: open with all three return columns empty, or closed
                // with all three set.
                const int set = int(l.returned != "-") + int(l.overdue != "-") + int(l.fine != "-");
                QVERIFY2(l.reader != "-" && l.book != "-" && l.lent != "-"
                             && (set == 0 || set == 3),
                         qPrintable(rowText(l)));
                rows << l;
            }
            const QStringList found = sortedRows(rows);
            const QStringList expected = sortedRows(model);
            if (found != expected) {
                QVERIFY2(!withPending.isEmpty() && found == withPending,
                         qPrintable(QStringLiteral("after kill %1 the loans differ from the %2 "
                                                   "committed operations")
                                        .arg(kill)
                                        .arg(journal.committed.size())));
                ++unreported;  // committed, killed before it could say so
            }
            // The journal now says how the last operation ended, for the next rounds.
            if (journal.pending)
                appendLine(journalPath, found == expected ? "X" : "D");

            // Every book is marked lent exactly while it has an open loan.
            QVERIFY(q.exec(QStringLiteral(
                "select 书籍编号, 是否借出, (select count(*) from lentInfo where "
                "lentInfo.书籍编号=bookInfo.书籍编号 and 还书日期 is null) from bookInfo")));
            int books = 0;
            while (q.next()) {
                ++books;
                const int open = q.value(2).toInt();
                QVERIFY2(open <= 1 && q.value(1).toInt() == open,
                         qPrintable(q.value(0).toString()));
            }
            QCOMPARE(books, kBooks);
            q.finish();
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }

    // The program itself opens the file after all those kills, with its check after an
    // unclean end.
    SharedDatabase shared(QStringLiteral("crash-reopen"));
    QString problem;
    QVERIFY(QFile::exists(DatabaseFile::markerPath(path)));
    QVERIFY2(shared.open(path, &problem), qPrintable(problem));
    const Journal journal = readJournal(journalPath);
    QVERIFY(journal.doneCount >= kKills);
    qInfo("%d kills, %d operations committed, %d committed but not yet reported", kKills,
          journal.doneCount, unreported);
}

void CrashTest::fileRewritesSurviveKills()
{
    QTemporaryDir dir;
    const QDir app(dir.path());
    const QString settings = app.filePath(QStringLiteral("setting.ini"));
    const QString tips = app.filePath(QStringLiteral("QUICKTIP.INI"));
    const QString account = app.filePath(QStringLiteral("dat/userdata.dat"));
    const QString initial = QStringLiteral("init");
    {
        QFile s(settings), t(tips);
        QVERIFY(s.open(QIODevice::WriteOnly) && t.open(QIODevice::WriteOnly));
        s.write(settingsFor(initial));
        t.write(tipsFor(initial));
    }
    QCOMPARE(AccountFile::write(account, {"user" + initial, "pw" + initial}),
             AccountFile::WriteResult::Written);
    QCOMPARE(contentOf(account), accountFor(initial));

    const QString journalPath = app.filePath(QStringLiteral("journal.txt"));
    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("seed %u", seed);
    const struct {
        const char *kind;
        QString path;
        QByteArray (*content)(const QString &);
    } files[] = {
        {"SETTINGS", settings, settingsFor},
        {"TIPS", tips, tipsFor},
        {"ACCOUNT", account, accountFor},
    };

    for (int kill = 0; kill < kKills; ++kill) {
        runAndKill({QStringLiteral("files"), dir.path(), journalPath, QString::number(seed + kill)},
                   journalPath, 30);
        if (QTest::currentTestFailed())
            return;
        const Journal journal = readJournal(journalPath);
        bool pendingDone = false;
        for (const auto &file : files) {
            QString done = initial;
            for (const QStringList &op : journal.committed) {
                if (op.value(0) == QLatin1String(file.kind))
                    done = op.value(1);
            }
            const QByteArray now = contentOf(file.path);
            if (now == file.content(done))
                continue;  // a pending rewrite, if any, had not replaced the file yet
            // Killed during this very rewrite: then the new file, whole.
            const bool pendingHere =
                journal.pending && journal.pending->value(0) == QLatin1String(file.kind);
            QVERIFY2(pendingHere && now == file.content(journal.pending->value(1)),
                     qPrintable(QStringLiteral("%1 after kill %2 is neither the old nor the new "
                                               "file (%3 bytes)")
                                    .arg(file.kind)
                                    .arg(kill)
                                    .arg(now.size())));
            pendingDone = true;
        }
        if (journal.pending)
            appendLine(journalPath, pendingDone ? "D" : "X");
    }
    QVERIFY(readJournal(journalPath).doneCount >= kKills);
}

// The program killed while it creates its database at the first start: the next start runs,
// never refusing a half-made file.
void CrashTest::firstStartSurvivesKills()
{
    const auto startProbe = [](QProcess &probe, const QString &dir) {
        probe.setProgram(QStringLiteral(LENDORA_PROBE));
        probe.setArguments({dir});
        probe.setProcessChannelMode(QProcess::MergedChannels);
        probe.start();
        return probe.waitForStarted();
    };
    const auto verdict = [](QProcess &probe) {
        QString seen;
        while (!seen.contains("RUNNING") && !seen.contains("ENDED")
               && (probe.waitForReadyRead(30000) || probe.bytesAvailable()))
            seen += QString::fromUtf8(probe.readAll());
        return seen;
    };
    // Waits until the database folder appears: the creation starts right after.
    const auto creationStarts = [](QProcess &probe, const QString &dir) {
        const QString folder = QFileInfo(DatabaseFile::pathIn(dir)).absolutePath();
        QElapsedTimer waited;
        waited.start();
        while (!QFileInfo::exists(folder) && waited.elapsed() < 30000 && !probe.waitForFinished(0))
            QThread::usleep(100);
        return QFileInfo::exists(folder);
    };
    // How long the rest of a first start takes here, from then on; the kills fall inside it.
    qint64 window = 0;
    {
        QTemporaryDir dir;
        QProcess probe;
        QVERIFY(startProbe(probe, dir.path()));
        QVERIFY(creationStarts(probe, dir.path()));
        QElapsedTimer timer;
        timer.start();
        QVERIFY(verdict(probe).contains("RUNNING"));
        window = timer.nsecsElapsed() / 1000;
        probe.kill();
        probe.waitForFinished();
    }
    for (int round = 0; round < 30; ++round) {
        QTemporaryDir dir;
        {
            QProcess probe;
            QVERIFY(startProbe(probe, dir.path()));
            QVERIFY(creationStarts(probe, dir.path()));
            QThread::usleep(QRandomGenerator::global()->bounded(quint64(window) + 1));
            probe.kill();
            probe.waitForFinished();
        }
        QProcess next;
        QVERIFY(startProbe(next, dir.path()));
        const QString seen = verdict(next);
        QVERIFY2(seen.contains("RUNNING"), qPrintable(seen));
        next.kill();
        next.waitForFinished();
    }
}

LENDORA_TEST_CLASS(CrashTest)
void CrashTest::logStaysWithItsFile_data()
{
    QTest::addColumn<QString>("swap");  // what happens to the file after the kill
    QTest::addColumn<bool>("setAside");
    QTest::newRow("the same file") << "none" << false;
    QTest::newRow("an older copy written over it") << "overwrite" << true;
    QTest::newRow("an older copy renamed over it") << "rename" << true;
    QTest::newRow("the file deleted") << "delete" << true;
}

void CrashTest::logStaysWithItsFile()
{
    QFETCH(QString, swap);
    QFETCH(bool, setAside);
    QTemporaryDir dir;
    const QString path = createLibrary(dir.path());
    const QString journalPath = dir.filePath(QStringLiteral("journal.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray older = file.readAll();  // the library before its first loan
    file.close();

    // A first run's loans reach the file itself at a clean end; a second run's stay in the
    // log when it is killed.
    runAndKill({QStringLiteral("loans"), path, journalPath, QStringLiteral("1")}, journalPath, 40);
    {
        SharedDatabase clean(QStringLiteral("clean-end"));
        QString problem;
        QVERIFY2(clean.open(path, &problem), qPrintable(problem));
    }
    runAndKill({QStringLiteral("loans"), path, journalPath, QStringLiteral("2")}, journalPath, 40);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(QFileInfo(path + QStringLiteral("-wal")).size() > 0);
    // What the engine alone recovers from the file and its log.
    int recovered = -1;
    {
        const QString copy = dir.filePath(QStringLiteral("copy.mdb"));
        QVERIFY(QFile::copy(path, copy));
        QVERIFY(QFile::copy(path + QStringLiteral("-wal"), copy + QStringLiteral("-wal")));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "recovered");
        db.setDatabaseName(copy);
        QVERIFY(db.open());
        QSqlQuery count(db);
        QVERIFY(count.exec(QStringLiteral("select count(*) from lentInfo")) && count.next());
        recovered = count.value(0).toInt();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("recovered"));
    QVERIFY(recovered > 0);

    if (swap == QLatin1String("overwrite")) {
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(older), older.size());
        file.close();
    } else if (swap == QLatin1String("rename")) {
        QFile copy(path + QStringLiteral(".restored"));
        QVERIFY(copy.open(QIODevice::WriteOnly));
        copy.write(older);
        copy.close();
        QVERIFY(::rename(QFile::encodeName(copy.fileName()).constData(),
                         QFile::encodeName(path).constData())
                == 0);
    } else if (swap == QLatin1String("delete")) {
        QVERIFY(QFile::remove(path));
    }

    SharedDatabase database(QStringLiteral("after-swap"));
    QString problem;
    QString notice;
    QVERIFY2(database.open(path, &problem, &notice), qPrintable(problem));
    const QString aside = path + QStringLiteral("-wal.set-aside");
    QCOMPARE(QFileInfo(aside).size() > 0, setAside);
    QCOMPARE(notice.contains(QDir::toNativeSeparators(aside)), setAside);
    QSqlQuery q(database.db());
    QVERIFY(q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("ok"));
    QVERIFY(q.exec(QStringLiteral("select count(*) from bookInfo b where b.是否借出 <> exists"
                                  " (select 1 from lentInfo l where l.书籍编号=b.书籍编号 and"
                                  " l.还书日期 is null)"))
            && q.next());
    QCOMPARE(q.value(0).toInt(), 0);
    QVERIFY(q.exec(QStringLiteral("select count(*) from lentInfo")) && q.next());
    // The older copy and a new library hold no loan; the file that crashed holds its own.
    QCOMPARE(q.value(0).toInt(), setAside ? 0 : recovered);
}

#include "tst_crash.moc"
