// The desk at the scale of a large library. Drives the real windows offscreen on a copy of a
// generated library, as a clerk would, and reports for each desk operation the median and
// 95th percentile of
//   - the whole handler through the window (the clerk's key or click until its handler
//     returns), and the same with the repaint that follows (what the clerk then sees),
//   - the store calls inside it (the SQL the program runs, through Qt SQL),
//   - the floor: the same SQL, captured from the program, run directly through the SQLite C
//     API with prepared statements on the same file,
// and the ratios store/floor and handler/floor; start-up to the first window (separate
// processes), peak memory with the book list open, and whether the index route of partial
// matching returns exactly the rows of the plain query on the whole library.
//
//   lendora_bench <library-dir> [--runs N] [--startups N] [--seed S] [--parts smclqpxw]
//                 [--database postgresql://...]
//
// Parts: s start-up, m memory, c circulation, l book list, q queries, p the overdue list and
// paper, x the index route compared with the plain query, w the log's size through 20,000
// lends with every grid open (default: all).
//
// <library-dir> holds mdb/Lendora.mdb (lendora_generate writes one); it is copied into a
// temporary application directory and never changed.
//
// With --database the desk works on that server library instead, which the benchmark changes
// (lends, returns, renewals): give it a copy of a library moved from <library-dir>
// (`CREATE DATABASE bench TEMPLATE library`). The inputs are drawn from the file, so the two
// must hold the same rows. There is no floor on a server, nor the file's own parts (the
// file's cold and unclean starts, its log).

#include "Floor.h"
#include "SqlTrace.h"
#include "TestApp.h"

#include "app/Application.h"
#include "app/LoginWindow.h"
#include "app/MainWindow.h"
#include "app/Prompter.h"
#include "base/AccountFile.h"
#include "base/DateText.h"
#include "base/DeskSettings.h"
#include "core/circulation/LoanStore.h"
#include "core/circulation/OverdueList.h"
#include "core/query/BookCriteria.h"
#include "core/query/LoanCriteria.h"
#include "core/settings/LibraryRules.h"
#include "data/GridModel.h"
#include "data/GridSource.h"
#include "data/sqlite/DatabaseFile.h"
#include "gui/catalogue/PickLists.h"
#include "gui/widgets/Launcher.h"
#include "reports/DocumentRenderer.h"
#include "reports/OverdueNotices.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QScrollBar>
#include <QSet>
#include <QSignalBlocker>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTabWidget>
#include <QTableView>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <set>

using namespace lendora;
using bench::Floor;
using bench::SqlTrace;
using bench::TracedStatement;
using Clock = std::chrono::steady_clock;

namespace {

const QDate kToday(2026, 12, 7);  // the generator's today
const QString M = QStringLiteral("Frmmain");
const QString B = QStringLiteral("FrmBookQuery");
const QString L = QStringLiteral("FrmLendQuery");
// The server library the desk works on; empty: the file.
QString g_server;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

long long monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

// A line of /proc/self/status in kB (VmRSS, VmHWM).
long statusKb(const char *key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(std::strlen(key) + 1));
    }
    return -1;
}

// splitmix64, as the generator: the same draws on every machine.
struct Random {
    quint64 state;
    quint64 next()
    {
        quint64 z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return n <= 0 ? 0 : int(next() % quint64(n)); }
    template <class T>
    void shuffle(QList<T> &list)
    {
        for (qsizetype i = list.size() - 1; i > 0; --i)
            list.swapItemsAt(i, below(int(i + 1)));
    }
};

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double p95(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t rank = size_t(std::ceil(0.95 * double(v.size())));
    return v[std::min(v.size(), std::max<size_t>(rank, 1)) - 1];
}

// ---- the clerk's side in a child process (start-up, memory) ---------------------------------

class QuietPrompter : public Prompter {
public:
    void message(const Prompt &p) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(p.text));
    }
    bool confirm(const Prompt &p) override
    {
        message(p);
        return false;
    }
    QString input(const QString &, const QString &, const QString &) override { return {}; }
};

class NoLauncher : public Launcher {
public:
    bool openDocument(const QString &) override { return false; }
    bool openUrl(const QUrl &) override { return false; }
};

Environment childEnvironment(const QString &appDir, Prompter *prompter, Launcher *launcher)
{
    return Environment{appDir, prompter, launcher, [] { return kToday; }};
}

// The first start on a library of the previous schema version upgrades it in place.
int childOpen(const QString &appDir)
{
    QuietPrompter prompter;
    NoLauncher launcher;
    Application app(childEnvironment(appDir, &prompter, &launcher));
    const auto start = Clock::now();
    const bool ok = app.start();
    const double ms = msSince(start);
    if (ok)
        app.end(Application::Ending::ExitCommand);
    std::printf("%d %.3f\n", ok ? 1 : 0, ms);
    return ok ? 0 : 1;
}

// From the moment the parent started this process to the login window shown and painted.
int childStartup(const QString &appDir, long long spawnedNs, long long mainNs, long long qtNs)
{
    SqlTrace::start();
    QuietPrompter prompter;
    NoLauncher launcher;
    Application app(childEnvironment(appDir, &prompter, &launcher));
    const bool ok = app.start();
    const long long startedNs = monotonicNs();
    QCoreApplication::processEvents();
    const long long shownNs = monotonicNs();
    // After an unclean end the whole-file check goes on beside the login window.
    while (ok && app.database().isChecking())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const long long checkedNs = monotonicNs();
    const std::vector<TracedStatement> statements = SqlTrace::stop();
    if (ok)
        app.end(Application::Ending::ExitCommand);
    std::string error;
    const double floorMs =
        g_server.isEmpty()
            ? Floor::openAndRun(DatabaseFile::pathIn(appDir).toStdString(), statements, &error)
            : 0;
    if (!error.empty())
        std::fprintf(stderr, "start-up floor: %s\n", error.c_str());
    const auto ms = [&](long long from, long long to) { return double(to - from) / 1e6; };
    std::printf("%d %.3f %.3f %.3f %.3f %.3f %.3f %.3f\n", ok ? 1 : 0, ms(spawnedNs, shownNs),
                ms(spawnedNs, mainNs), ms(mainNs, qtNs), ms(qtNs, startedNs),
                ms(startedNs, shownNs), floorMs, ms(spawnedNs, checkedNs));
    return ok ? 0 : 1;
}

// Memory with the book list open on the whole catalogue, then scrolled page by page.
int childMemory(const QString &appDir, int pages)
{
    QuietPrompter prompter;
    NoLauncher launcher;
    Application app(childEnvironment(appDir, &prompter, &launcher));
    if (!app.start())
        return 1;
    LoginWindow *login = app.loginWindow();
    const Account account =
        AccountFile::read(login->accountPath()).value_or(AccountFile::builtIn());
    login->findChild<QLineEdit *>(QStringLiteral("txtUserName"))->setText(account.userName);
    login->findChild<QLineEdit *>(QStringLiteral("txtPassword"))->setText(account.password);
    login->findChild<QAbstractButton *>(QStringLiteral("cmdOK"))->click();
    QCoreApplication::processEvents();
    const long loggedIn = statusKb("VmRSS");

    const auto start = Clock::now();
    app.mainWindow()->findChild<QAction *>(QStringLiteral("mnuLendora"))->trigger();
    QCoreApplication::processEvents();
    const double openMs = msSince(start);
    const long opened = statusKb("VmRSS");
    QWidget *list = app.windows().find(QStringLiteral("FrmLendora"));
    auto *grid = list ? list->findChild<QTableView *>(QStringLiteral("DataGrid1")) : nullptr;
    if (!grid)
        return 1;
    const int firstRows = grid->model()->rowCount();
    // Dragging the scroll bar to its end fetches the next rows, as the clerk scrolls.
    for (int i = 0; i < pages; ++i) {
        grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
        QCoreApplication::processEvents();
    }
    const int scrolledRows = grid->model()->rowCount();
    std::printf("%ld %ld %ld %ld %d %d %.3f\n", loggedIn, opened, statusKb("VmRSS"),
                statusKb("VmHWM"), firstRows, scrolledRows, openMs);
    app.end(Application::Ending::ExitCommand);
    return 0;
}

// Drops a file's pages from the page cache, as after a reboot (its pages are clean).
void evict(const QString &path)
{
    for (const QString &name : {path, path + QStringLiteral("-wal")}) {
        const int fd = ::open(QFile::encodeName(name).constData(), O_RDONLY);
        if (fd < 0)
            continue;
        ::fdatasync(fd);
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

// Runs this program again in a child mode; its standard output.
QByteArray runChild(const QStringList &arguments, long long *spawnedNs = nullptr)
{
    int out[2];
    if (pipe(out) != 0)
        return {};
    std::vector<QByteArray> bytes;
    for (const QString &a : arguments)
        bytes.push_back(a.toLocal8Bit());
    std::vector<char *> argv;
    static char self[] = "/proc/self/exe";
    argv.push_back(self);
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    const long long spawned = monotonicNs();
    if (spawnedNs)
        *spawnedNs = spawned;
    qputenv("LENDORA_BENCH_SPAWNED", QByteArray::number(spawned));
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        close(out[0]);
        close(out[1]);
        execv("/proc/self/exe", argv.data());
        _exit(127);
    }
    close(out[1]);
    QByteArray output;
    char buffer[4096];
    ssize_t n;
    while ((n = read(out[0], buffer, sizeof buffer)) > 0)
        output.append(buffer, n);
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return output;
}

// ---- the desk in this process ---------------------------------------------------------------

struct Series {
    QString name;
    std::vector<double> handler, shown, store, floor;
    int failures = 0;
    QString failure;

    void fail(const QString &why)
    {
        if (failures++ == 0)
            failure = why;
    }
};

QStringList column(sqlite3 *db, const char *sql)
{
    QStringList values;
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", sql, sqlite3_errmsg(db));
        return values;
    }
    while (sqlite3_step(stmt) == SQLITE_ROW)
        values << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    return values;
}

// `length` characters (code points) of `text` from a random place.
QString piece(Random &random, const QString &text, int length)
{
    const QList<uint> points = text.toUcs4();
    if (points.size() <= length)
        return text;
    const int from = random.below(int(points.size()) - length + 1);
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(points.constData() + from), length);
}

class Desk {
public:
    Desk(testkit::TestApp &t, Floor &floor, int runs, quint64 seed)
        : t(t), m_floor(floor), m_runs(runs), m_random{seed},
          m_grid(t.app().database(), QStringLiteral("bench-grid")),
          m_queryGrid(t.app().database(), QStringLiteral("bench-query-grid"))
    {
        if (g_server.isEmpty()) {
            const QVariant handle = t.app().database().db().driver()->handle();
            m_programShared = *static_cast<sqlite3 *const *>(handle.constData());
        }
        drawInputs();
    }

    QList<Series> results;

    void circulation();
    void bookList();
    void queries();
    void paper();
    void compareRoutes();
    // Every row the program's own query finds, where the desk works (file or server).
    std::set<std::string> routedRows(const BoundQuery &q, int keyColumns, double *ms) const;
    void logSize();

private:
    struct Op {
        QString name;
        std::function<QStringList()> draw;                  // one input
        std::function<void(const QStringList &)> prepare;   // the clerk's untimed steps
        std::function<void(const QStringList &)> act;       // the timed step
        std::function<QString(const QStringList &)> check;  // empty when it did its work
        std::function<void(const QStringList &)> store;     // the store calls, timed
        std::function<void(const QStringList &)> after;     // untimed clean-up
        bool writes = false;  // floor from one capture with its inputs swapped
    };
    void run(const Op &op);
    std::vector<TracedStatement> capture(const Op &op, const QStringList &input);
    void drawInputs();
    QStringList take(QStringList &pool);

    void tab(int index)
    {
        t.control<QTabWidget>(M, QStringLiteral("SSTab1"))->setCurrentIndex(index);
    }
    QString lastMessage() const
    {
        const QStringList texts = t.prompter().texts();
        return texts.isEmpty() ? QString() : texts.last();
    }
    static void settle() { QCoreApplication::processEvents(); }

    testkit::TestApp &t;
    Floor &m_floor;
    int m_runs;
    Random m_random;
    sqlite3 *m_programShared = nullptr;
    GridSource m_grid;       // stands for the main window's Adodc1
    GridSource m_queryGrid;  // stands for a query window's Adodc1

    QStringList m_readersWithLoans, m_readersWithout, m_books, m_freeBooks, m_openLoans, m_renewals,
        m_titles, m_readerNames, m_publishers;
};

QStringList Desk::take(QStringList &pool)
{
    if (pool.isEmpty())
        return {};
    return pool.takeLast().split(QLatin1Char('|'));
}

void Desk::drawInputs()
{
    sqlite3 *db = m_floor.shared();
    m_readersWithLoans = column(db, "select 读者编号 from lentInfo where 还书日期 is null"
                                    " group by 读者编号 having count(*) between 1 and 4");
    m_readersWithout = column(db, "select 读者编号 from readerInfo where 读者编号 not in"
                                  " (select 读者编号 from lentInfo where 还书日期 is null)"
                                  " and rowid % 7 = 0");
    m_books = column(db, "select 书籍编号 from bookInfo where rowid % 997 = 0");
    m_freeBooks =
        column(db, "select 书籍编号 from bookInfo where 是否借出 = 0 and rowid % 499 = 0");
    // Loans not lent today, so a swapped date never meets the day a write puts in.
    m_openLoans = column(db, "select 书籍编号 || '|' || 借书日期 || '|' || 读者编号 from lentInfo"
                             " where 还书日期 is null and 借书日期 <> '2026-12-07'");
    m_titles = column(db, "select 书籍名称 from bookInfo where rowid % 983 = 0");
    m_readerNames = column(db, "select 读者姓名 from readerInfo where rowid % 97 = 0");
    m_publishers = column(db, "select 出版社 from bookInfo where rowid % 991 = 0");
    for (QStringList *pool : {&m_readersWithLoans, &m_readersWithout, &m_books, &m_freeBooks,
                              &m_openLoans, &m_titles, &m_readerNames, &m_publishers})
        m_random.shuffle(*pool);
    // Renewals take readers whose every open loan was not lent today; returns take other loans.
    QSet<QString> renewalReaders;
    for (int i = 0; i < m_openLoans.size() && renewalReaders.size() < 4 * m_runs + 8; ++i)
        renewalReaders.insert(m_openLoans.at(i).section(QLatin1Char('|'), 2));
    QStringList returns;
    for (const QString &loan : std::as_const(m_openLoans)) {
        if (!renewalReaders.contains(loan.section(QLatin1Char('|'), 2)))
            returns << loan;
    }
    m_openLoans = returns;
    const QStringList todays =
        column(db, "select distinct 读者编号 from lentInfo where 还书日期 is null"
                   " and 借书日期 = '2026-12-07'");
    for (const QString &reader : renewalReaders) {
        if (!todays.contains(reader))
            m_renewals << reader;
    }
    std::sort(m_renewals.begin(), m_renewals.end());
    m_random.shuffle(m_renewals);
}

std::vector<TracedStatement> Desk::capture(const Op &op, const QStringList &input)
{
    op.prepare(input);
    SqlTrace::start();
    op.act(input);
    settle();
    std::vector<TracedStatement> statements = SqlTrace::stop();
    if (op.after)
        op.after(input);
    return statements;
}

void Desk::run(const Op &op)
{
    // LENDORA_BENCH_ONLY=<part of a name> runs just those operations (for profiling).
    const QString only = qEnvironmentVariable("LENDORA_BENCH_ONLY");
    if (!only.isEmpty() && !op.name.contains(only))
        return;
    Series s;
    s.name = op.name;
    std::fprintf(stderr, "  %s\n", qPrintable(op.name));
    // Writes: one capture, then the floor runs it again with each iteration's own inputs.
    QStringList captured;
    std::vector<TracedStatement> writes;
    const bool floored = g_server.isEmpty();
    if (op.writes && floored) {
        captured = op.draw();
        writes = capture(op, captured);
        if (const QString why = op.check(captured); !why.isEmpty())
            s.fail(QStringLiteral("capture: ") + why);
    }
    // One warm-up of each side, not counted.
    for (int i = -1; i < m_runs; ++i) {
        const QStringList forHandler = op.draw();
        const QStringList forStore = op.draw();
        const QStringList forFloor = op.draw();
        if (forHandler.isEmpty() || forStore.isEmpty() || forFloor.isEmpty()) {
            s.fail(QStringLiteral("ran out of inputs"));
            break;
        }

        t.prompter().clear();
        op.prepare(forHandler);
        t.prompter().clear();
        auto start = Clock::now();
        op.act(forHandler);
        const double handlerMs = msSince(start);
        settle();
        const double shownMs = msSince(start);
        if (const QString why = op.check(forHandler); !why.isEmpty())
            s.fail(forHandler.join(QLatin1Char('/')) + QStringLiteral(": ") + why);
        if (op.after)
            op.after(forHandler);

        start = Clock::now();
        op.store(forStore);
        const double storeMs = msSince(start);

        double floorMs = 0;
        if (floored && op.writes) {
            std::map<std::string, std::string> swap;
            for (int k = 0; k < captured.size() && k < forFloor.size(); ++k)
                swap[captured.at(k).toStdString()] = forFloor.at(k).toStdString();
            floorMs = m_floor.run(writes, m_programShared, swap);
        } else if (floored) {
            t.prompter().clear();
            floorMs = m_floor.run(capture(op, forFloor), m_programShared);
        }
        if (floorMs < 0)
            s.fail(QStringLiteral("floor: ") + QString::fromStdString(m_floor.lastError()));
        if (i >= 0) {
            s.handler.push_back(handlerMs);
            s.shown.push_back(shownMs);
            s.store.push_back(storeMs);
            if (floored)
                s.floor.push_back(floorMs);
        }
    }
    results << s;
}

void Desk::circulation()
{
    const auto type = [this](const QString &box, const QString &text) { t.type(M, box, text); };
    const auto none = [this](const QStringList &) -> QString {
        return t.prompter().texts().isEmpty() ? QString() : lastMessage();
    };
    const auto expect = [this](const QString &text) {
        return [this, text](const QStringList &) {
            return lastMessage() == text ? QString()
                                         : QStringLiteral("said \"%1\"").arg(lastMessage());
        };
    };
    const auto readerLoans = [this](const QString &reader, bool count) {
        m_grid.run(LoanStore::openLoansSql(*t.app().database().dialect()), {reader});
        m_grid.rowCount();
        if (count)
            LibraryRules(t.app().database()).read();
    };

    tab(0);
    run({QStringLiteral("Reader lookup on the lending tab (with InitDataGrid)"),
         [this] { return take(m_readersWithLoans); },
         [=, this](const QStringList &in) { type(QStringLiteral("txtReaderID"), in[0]); },
         [this](const QStringList &) { t.enter(M, QStringLiteral("txtReaderID")); },
         none,
         [=, this](const QStringList &in) {
             QString name;
             LoanStore(t.app().database()).findReader(in[0], &name);
             readerLoans(in[0], true);
         },
         {},
         false});

    type(QStringLiteral("txtReaderID"), m_readersWithout.constLast());
    t.enter(M, QStringLiteral("txtReaderID"));
    run({QStringLiteral("Book lookup"),
         [this] { return take(m_books); },
         [=, this](const QStringList &in) { type(QStringLiteral("txtBookID"), in[0]); },
         [this](const QStringList &) { t.enter(M, QStringLiteral("txtBookID")); },
         [this](const QStringList &) {
             // A book on loan is told so; anything else is a fault.
             const QString said = lastMessage();
             return said.isEmpty() || said == QStringLiteral("该书已经借出,请选择其它图书!")
                        ? QString()
                        : said;
         },
         [this](const QStringList &in) {
             LoanStore::BookDetails book;
             QString missing;
             LoanStore(t.app().database()).findBook(in[0], &book, &missing);
         },
         {},
         false});

    // The three writes are measured as the scanner clerk makes them: Enter on the button the
    // lookup left the focus on. A mouse click adds the button's pressed-state repaints.
    Op lend{QStringLiteral("Lend"),
            [this] {
                const QStringList reader = take(m_readersWithout);
                const QStringList book = take(m_freeBooks);
                return reader.isEmpty() || book.isEmpty() ? QStringList() : reader + book;
            },
            [=, this](const QStringList &in) {
                type(QStringLiteral("txtReaderID"), in[0]);
                t.enter(M, QStringLiteral("txtReaderID"));
                type(QStringLiteral("txtBookID"), in[1]);
                t.enter(M, QStringLiteral("txtBookID"));
            },
            [this](const QStringList &) { t.enter(M, QStringLiteral("cmdLendBook")); },
            expect(QStringLiteral("借出完毕!")),
            [=, this](const QStringList &in) {
                // The lend counts the reader's loans and reads the rules itself.
                LoanStore(t.app().database()).lend(in[0], in[1], kToday);
                readerLoans(in[0], false);
            },
            {},
            true};
    run(lend);
    lend.name = QStringLiteral("Lend, with a mouse click instead");
    lend.act = [this](const QStringList &) { t.click(M, QStringLiteral("cmdLendBook")); };
    run(lend);

    tab(2);
    run({QStringLiteral("Return lookup"),
         [this] { return take(m_openLoans); },
         [=, this](const QStringList &in) {
             type(QStringLiteral("txtReadIDReturn"), in[2]);
             type(QStringLiteral("txtBookIDReturn"), in[0]);
         },
         [this](const QStringList &) { t.enter(M, QStringLiteral("txtBookIDReturn")); },
         none,
         [this](const QStringList &in) {
             LoanStore::ReturnQuote quote;
             QString missing;
             LoanStore(t.app().database()).quoteReturn(in[0], kToday, &quote, &missing, nullptr);
         },
         {},
         false});

    run({QStringLiteral("Return"),
         [this] { return take(m_openLoans); },
         [=, this](const QStringList &in) {
             type(QStringLiteral("txtReadIDReturn"), in[2]);
             type(QStringLiteral("txtBookIDReturn"), in[0]);
             t.enter(M, QStringLiteral("txtBookIDReturn"));
         },
         [this](const QStringList &) { t.enter(M, QStringLiteral("cmdReturn")); },
         expect(QStringLiteral("归还完毕!")),
         [this](const QStringList &in) {
             LoanStore store(t.app().database());
             LoanStore::ReturnQuote quote;
             if (store.quoteReturn(in[0], kToday, &quote, nullptr, nullptr)
                 == LoanStore::Found::Yes)
                 store.returnBook(quote);
         },
         {},
         true});

    tab(1);
    run({QStringLiteral("Renewal-tab lookup"),
         [this] { return take(m_readersWithLoans); },
         [=, this](const QStringList &in) { type(QStringLiteral("txtReaderIDRenew"), in[0]); },
         [this](const QStringList &) { t.enter(M, QStringLiteral("txtReaderIDRenew")); },
         none,
         [=, this](const QStringList &in) {
             QString name;
             LoanStore(t.app().database()).findReader(in[0], &name);
             readerLoans(in[0], false);
         },
         {},
         false});

    // A renewal moves the loan the grid shows first; its book and date come from that row.
    const auto shownLoan = [this](const QString &reader) {
        m_grid.run(LoanStore::openLoansSql(*t.app().database().dialect()), {reader});
        const GridModel *model = m_grid.model();
        const QSqlRecord row = model->record(0);
        return QStringList{reader, row.value(QStringLiteral("书籍编号")).toString(),
                           row.value(QStringLiteral("借书日期")).toString()};
    };
    run({QStringLiteral("Renewal"),
         [=, this] {
             const QStringList reader = take(m_renewals);
             return reader.isEmpty() ? reader : shownLoan(reader[0]);
         },
         [=, this](const QStringList &in) {
             type(QStringLiteral("txtReaderIDRenew"), in[0]);
             t.enter(M, QStringLiteral("txtReaderIDRenew"));
         },
         [this](const QStringList &) { t.enter(M, QStringLiteral("cmdOK")); },
         expect(QStringLiteral("续借完毕!")),
         [this](const QStringList &in) {
             LoanStore(t.app().database()).renew(in[1], in[0], in[2], kToday);
         },
         {},
         true});
    tab(0);
}

void Desk::bookList()
{
    // The window's own query, as it runs it, for the store side.
    QString sql;
    int opened = 0;
    run({QStringLiteral("Opening the book list (first rows shown)"),
         [&opened] { return QStringList{QString::number(++opened)}; }, [](const QStringList &) {},
         [this](const QStringList &) { t.trigger(QStringLiteral("mnuLendora")); },
         [this](const QStringList &) {
             QWidget *list = t.window(QStringLiteral("FrmLendora"));
             auto *grid =
                 list ? list->findChild<QTableView *>(QStringLiteral("DataGrid1")) : nullptr;
             return grid && grid->model()->rowCount() > 0 ? QString()
                                                          : QStringLiteral("no rows shown");
         },
         [this, &sql](const QStringList &in) {
             if (sql.isEmpty()) {
                 t.trigger(QStringLiteral("mnuLendora"));
                 settle();
                 sql = t.window(QStringLiteral("FrmLendora"))->findChild<GridSource *>()->sql();
                 t.window(QStringLiteral("FrmLendora"))->close();
                 settle();
             }
             // The window makes its grid source afresh each time it opens.
             GridSource source(t.app().database(), QStringLiteral("bench-list-") + in[0]);
             source.run(sql);
         },
         [this](const QStringList &) {
             if (QWidget *list = t.window(QStringLiteral("FrmLendora")))
                 list->close();
             QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
         },
         false});
}

void Desk::queries()
{
    const auto bookFind = [this](const QString &box, bool partial) {
        return Op{{},
                  {},
                  [this, box](const QStringList &in) { t.type(B, box, in[0]); },
                  [this](const QStringList &) { t.click(B, QStringLiteral("cmdFind")); },
                  [this](const QStringList &) {
                      return lastMessage() == QStringLiteral("查询结果如下!!") ? QString()
                                                                               : lastMessage();
                  },
                  [this, box, partial](const QStringList &in) {
                      BookCriteria c;
                      (box == QStringLiteral("txtBookName")      ? c.title
                       : box == QStringLiteral("txtBookConcern") ? c.publisher
                                                                 : c.bookId) = in[0];
                      c.partial = partial;
                      const BoundQuery q = c.query(*t.app().database().dialect());
                      m_queryGrid.run(q.sql, q.values, q.countSql, q.countValues);
                  },
                  {},
                  false};
    };
    // The boxes typed in, each with its own input.
    const auto loanFind = [this](const QStringList &boxes, bool partial) {
        return Op{{},
                  {},
                  [this, boxes](const QStringList &in) {
                      for (int i = 0; i < boxes.size(); ++i)
                          t.type(L, boxes.at(i), in.value(i));
                  },
                  [this](const QStringList &) { t.click(L, QStringLiteral("cmdFind")); },
                  [this](const QStringList &) {
                      return lastMessage() == QStringLiteral("查询结果如下!!") ? QString()
                                                                               : lastMessage();
                  },
                  [this, boxes, partial](const QStringList &in) {
                      LoanCriteria c;
                      for (int i = 0; i < boxes.size(); ++i) {
                          const QString &box = boxes.at(i);
                          (box == QStringLiteral("txtBookName")     ? c.title
                           : box == QStringLiteral("txtReaderName") ? c.readerName
                           : box == QStringLiteral("txtReaderID")   ? c.readerId
                                                                    : c.bookId) = in.value(i);
                      }
                      c.partial = partial;
                      const BoundQuery q =
                          c.query(*t.app().database().dialect(), t.app().database().db());
                      m_queryGrid.run(q.sql, q.values, q.countSql, q.countValues);
                  },
                  [this, boxes](const QStringList &) {
                      for (const QString &box : boxes)
                          t.type(L, box, QString());
                  },
                  false};
    };
    // `length` characters from a random place of the next value of `pool`; 0: all of it.
    const auto pieces = [this](QStringList &pool, int length) {
        return [this, &pool, length] {
            const QStringList value = take(pool);
            return value.isEmpty() || !length ? value
                                              : QStringList{piece(m_random, value[0], length)};
        };
    };
    const auto titles = [this, pieces](int length) { return pieces(m_titles, length); };
    const auto names = [this, pieces](int length) { return pieces(m_readerNames, length); };
    const QStringList rare = {"龙虎", "鹰隼", "琴瑟", "麒麟", "凤凰", "鸳鸯", "蝴蝶", "骆驼"};
    int rareAt = 0;

    t.trigger(QStringLiteral("mnuBookQuery"));
    Op op = bookFind(QStringLiteral("txtBookName"), false);
    op.name = QStringLiteral("Book query, exact title");
    op.draw = titles(0);
    run(op);

    t.control<QCheckBox>(B, QStringLiteral("chkMoHu"))->setChecked(true);
    op = bookFind(QStringLiteral("txtBookName"), true);
    op.name = QStringLiteral("Book query, partial title, 4 characters");
    op.draw = titles(4);
    run(op);
    op.name = QStringLiteral("Book query, partial title, 3 characters");
    op.draw = titles(3);
    run(op);
    op.name = QStringLiteral("Book query, partial title, 2 characters");
    op.draw = titles(2);
    run(op);
    op.name = QStringLiteral("Book query, partial title, 2 characters found nowhere");
    op.draw = [&] { return QStringList{rare.at(rareAt++ % rare.size())}; };
    run(op);
    t.type(B, QStringLiteral("txtBookName"), QString());
    op = bookFind(QStringLiteral("txtBookID"), true);
    op.name = QStringLiteral("Book query, partial book number, 6 characters");
    op.draw = [this] {
        const QStringList book = take(m_books);
        return book.isEmpty() ? book : QStringList{book[0].left(6)};
    };
    run(op);
    op.name = QStringLiteral("Book query, partial book number, 2 characters");
    op.draw = pieces(m_books, 2);
    run(op);
    t.type(B, QStringLiteral("txtBookID"), QString());
    op = bookFind(QStringLiteral("txtBookName"), true);
    op.name = QStringLiteral("Book query, partial title, 1 character");
    op.draw = titles(1);
    run(op);
    t.type(B, QStringLiteral("txtBookName"), QString());
    op = bookFind(QStringLiteral("txtBookConcern"), true);
    op.name = QStringLiteral("Book query, partial publisher, 2 characters");
    op.draw = pieces(m_publishers, 2);
    run(op);
    t.type(B, QStringLiteral("txtBookConcern"), QString());
    t.window(B)->close();

    const QString title = QStringLiteral("txtBookName");
    const QString name = QStringLiteral("txtReaderName");
    t.trigger(QStringLiteral("mnuLendQuery"));
    op = loanFind({QStringLiteral("txtReaderID")}, false);
    op.name = QStringLiteral("Loan query, exact reader number");
    op.draw = [this] { return take(m_readersWithLoans); };
    run(op);
    op = loanFind({title}, false);
    op.name = QStringLiteral("Loan query, exact title");
    op.draw = titles(0);
    run(op);

    t.control<QCheckBox>(L, QStringLiteral("chkMoHu"))->setChecked(true);
    op = loanFind({title}, true);
    op.name = QStringLiteral("Loan query, partial title, 4 characters");
    op.draw = titles(4);
    run(op);
    op.name = QStringLiteral("Loan query, partial title, 2 characters");
    op.draw = titles(2);
    run(op);
    op.name = QStringLiteral("Loan query, partial title, 1 character");
    op.draw = titles(1);
    run(op);
    op.name = QStringLiteral("Loan query, partial title, 2 characters found nowhere");
    op.draw = [&] { return QStringList{rare.at(rareAt++ % rare.size())}; };
    run(op);
    op = loanFind({QStringLiteral("txtBookID")}, true);
    op.name = QStringLiteral("Loan query, partial book number, 6 characters");
    op.draw = [this] {
        const QStringList book = take(m_books);
        return book.isEmpty() ? book : QStringList{book[0].mid(1, 6)};
    };
    run(op);
    op = loanFind({name}, true);
    op.name = QStringLiteral("Loan query, partial reader name, 2 characters");
    op.draw = names(2);
    run(op);
    op.name = QStringLiteral("Loan query, partial reader name, 1 character");
    op.draw = names(1);
    run(op);
    op = loanFind({title, name}, true);
    op.name = QStringLiteral("Loan query, partial title and reader name, 2 characters each");
    op.draw = [titles, names] { return titles(2)() + names(2)(); };
    run(op);
    op.name = QStringLiteral("Loan query, partial title and reader name, 1 character each");
    op.draw = [titles, names] { return titles(1)() + names(1)(); };
    run(op);
    t.window(L)->close();
}

// Every row of a query through the C API: the book numbers (or loan keys) it finds.
std::set<std::string> allRows(sqlite3 *db, const BoundQuery &q, int keyColumns, double *ms)
{
    std::set<std::string> keys;
    sqlite3_stmt *stmt = nullptr;
    const QByteArray sql = q.sql.toUtf8();
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", sql.constData(), sqlite3_errmsg(db));
        return keys;
    }
    for (int i = 0; i < q.values.size(); ++i) {
        const QByteArray v = q.values.at(i).toString().toUtf8();
        sqlite3_bind_text(stmt, i + 1, v.constData(), int(v.size()), SQLITE_TRANSIENT);
    }
    const auto start = Clock::now();
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        std::string key;
        for (int c = 0; c < keyColumns; ++c) {
            const unsigned char *text = sqlite3_column_text(stmt, c);
            key += text ? reinterpret_cast<const char *>(text) : "<null>";
            key += '|';
        }
        keys.insert(key);
    }
    *ms = msSince(start);
    sqlite3_finalize(stmt);
    return keys;
}

// The same through Qt SQL, for a server library: rows found by the program's own query there.
std::set<std::string> allRows(const QSqlDatabase &db, const BoundQuery &q, int keyColumns,
                              double *ms)
{
    std::set<std::string> keys;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(q.sql);
    for (const QVariant &value : q.values)
        query.addBindValue(value);
    const auto start = Clock::now();
    if (!query.exec()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(q.sql), qPrintable(query.lastError().text()));
        return keys;
    }
    while (query.next()) {
        std::string key;
        for (int c = 0; c < keyColumns; ++c) {
            const QVariant value = query.value(c);
            key += value.isNull() ? std::string("<null>") : value.toString().toStdString();
            key += '|';
        }
        keys.insert(key);
    }
    *ms = msSince(start);
    return keys;
}

// The plain query, as the desk has always written partial matching.
BoundQuery plainBooks(const QString &column, const QString &text)
{
    return {QStringLiteral("select 书籍编号 from bookInfo where ") + column
                + QStringLiteral(" like '%' || ? || '%' escape '\\'"),
            {SqlCondition::escapeLike(text)}};
}

void Desk::logSize()
{
    // Every window with a grid open, each grid read part way down: none may hold the log.
    struct Opened {
        QString menu;
        QString window;
        QString box;  // a text typed and searched for, partly
        QString text;
    };
    const QList<Opened> windows = {
        {QStringLiteral("mnuLendora"), QStringLiteral("FrmLendora"), {}, {}},
        {QStringLiteral("mnuBookQuery"), B, QStringLiteral("txtBookName"), QStringLiteral("学")},
        {QStringLiteral("mnuLendQuery"), L, QStringLiteral("txtBookName"), QStringLiteral("国")},
        {QStringLiteral("mnuOverdue"), QStringLiteral("FrmOverdue"), {}, {}},
        {QStringLiteral("mnuDaySheet"), QStringLiteral("FrmDaySheet"), {}, {}},
        {QStringLiteral("mnuSetBook"), QStringLiteral("FrmSetBook"), {}, {}},
    };
    int grids = 0;
    for (const Opened &w : windows) {
        t.trigger(w.menu);
        settle();
        if (!w.box.isEmpty()) {
            if (auto *partly =
                    t.window(w.window)->findChild<QCheckBox *>(QStringLiteral("chkMoHu")))
                partly->setChecked(true);
            t.type(w.window, w.box, w.text);
            t.click(w.window, QStringLiteral("cmdFind"));
        }
        settle();
        for (QTableView *grid : t.window(w.window)->findChildren<QTableView *>()) {
            QScrollBar *bar = grid->verticalScrollBar();
            bar->setValue(bar->maximum() / 2);
            ++grids;
        }
    }
    settle();

    sqlite3 *db = m_floor.shared();
    QStringList books = column(db, "select 书籍编号 from bookInfo where 是否借出 = 0"
                                   " and rowid % 37 = 0 limit 20000");
    const QStringList readers = column(db, "select 读者编号 from readerInfo where 读者编号 not in"
                                           " (select 读者编号 from lentInfo where 还书日期 is null)"
                                           " limit 5000");
    const QString log = DatabaseFile::pathIn(t.appDir()) + QStringLiteral("-wal");
    qint64 largest = 0;
    int lent = 0, refused = 0;
    const auto start = Clock::now();
    LoanStore store(t.app().database());
    for (int i = 0; i < books.size() && i / 4 < readers.size(); ++i) {
        // Four books to each reader, under the limit of five.
        if (store.lend(readers.at(i / 4), books.at(i), kToday) == LoanStore::LendResult::Lent)
            ++lent;
        else
            ++refused;
        if (i % 100 == 0) {
            settle();  // the grids' timers run between the clerk's actions
            largest = std::max(largest, QFileInfo(log).size());
        }
    }
    largest = std::max(largest, QFileInfo(log).size());
    std::printf("\n### The write-ahead log through %d lends with every grid open\n\n"
                "%d grid windows open (%d grids, each scrolled half way); %d lends (%d refused)"
                " in %.1f s; the log at most %.1f MB, %.1f MB at the end\n",
                lent, int(windows.size()), grids, lent, refused, msSince(start) / 1000,
                double(largest) / 1e6, double(QFileInfo(log).size()) / 1e6);
    std::fflush(stdout);
    for (const Opened &w : windows) {
        if (QWidget *open = t.window(w.window))
            open->close();
    }
    settle();
}

void Desk::paper()
{
    const QString overdue = QStringLiteral("FrmOverdue");
    const auto asOf = [](int daysBack) {
        return [daysBack] { return QStringList{DateText::toText(kToday.addDays(-daysBack))}; };
    };
    // Opening the window lists today's overdue loans at once: the clerk's first rows.
    Op op{QStringLiteral("Overdue list, window opened (today's list)"),
          asOf(0),
          [this, overdue](const QStringList &) {
              if (QWidget *w = t.window(overdue))
                  w->close();
              settle();
          },
          [this](const QStringList &) { t.trigger(QStringLiteral("mnuOverdue")); },
          [this, overdue](const QStringList &) {
              auto *grid =
                  t.window(overdue) ? t.control<QTableView>(overdue, "DataGrid1") : nullptr;
              return grid && grid->model()->rowCount() > 0 ? QString()
                                                           : QStringLiteral("no rows listed");
          },
          [this](const QStringList &in) {
              OverdueList list(t.app().database());
              list.find({DateText::fromText(in[0]), QString(), 1});
          },
          {},
          false};
    run(op);
    // A date chosen in the open window: the list again, as of that day.
    op.name = QStringLiteral("Overdue list, another date picked");
    op.draw = asOf(20);
    op.prepare = [this, overdue](const QStringList &) {
        if (!t.window(overdue))
            t.trigger(QStringLiteral("mnuOverdue"));
        t.control<QDateEdit>(overdue, "dtpAsOf")->setDate(kToday);
    };
    op.act = [this, overdue](const QStringList &in) {
        auto *picker = t.control<QDateEdit>(overdue, "dtpAsOf");
        const QSignalBlocker quiet(picker);
        picker->setDate(DateText::fromText(in[0]));
        t.click(overdue, QStringLiteral("cmdFind"));
    };
    run(op);
    if (QWidget *w = t.window(overdue))
        w->close();

    // Notices for the first 1,000 readers of today's list, laid out and written as one PDF.
    std::vector<double> build, write;
    int pages = 0;
    const std::optional<QList<OverdueList::Entry>> all =
        OverdueList(t.app().database()).find({kToday, QString(), 1});
    QList<OverdueList::Entry> entries;
    QSet<QString> readers;
    for (const OverdueList::Entry &entry : all.value_or(QList<OverdueList::Entry>())) {
        if (!readers.contains(entry.readerId) && readers.size() == 1000)
            continue;
        readers.insert(entry.readerId);
        entries << entry;
    }
    const QString pdf = QDir(t.appDir()).filePath(QStringLiteral("notices.pdf"));
    for (int i = 0; i < 3; ++i) {
        auto start = Clock::now();
        const Document document =
            OverdueNotices::build(entries, QStringLiteral("城东区图书馆"), kToday);
        build.push_back(msSince(start));
        start = Clock::now();
        if (!DocumentRenderer::writePdf(document, pdf, nullptr, &pages))
            pages = -1;
        write.push_back(msSince(start));
    }
    std::printf("\n### Overdue notices to PDF (3 runs)\n\n"
                "%lld readers, %lld books, %d pages, %.1f MB\n\n"
                "| step | median ms | p95 ms |\n|---|---:|---:|\n"
                "| the notices laid out as one document | %.0f | %.0f |\n"
                "| the document drawn and written as PDF | %.0f | %.0f |\n",
                qlonglong(readers.size()), qlonglong(entries.size()), pages,
                double(QFileInfo(pdf).size()) / 1e6, median(build), p95(build), median(write),
                p95(write));
}

std::set<std::string> Desk::routedRows(const BoundQuery &q, int keyColumns, double *ms) const
{
    return g_server.isEmpty() ? allRows(m_floor.shared(), q, keyColumns, ms)
                              : allRows(t.app().database().db(), q, keyColumns, ms);
}

void Desk::compareRoutes()
{
    std::fprintf(stderr, "  comparing the index route with the plain query\n");
    QStringList texts = {"%",        "_",        "'",        " ",       "\\",      "50%",
                         "a_b",      "出版社",   "大学出版", "B000012", "b000012", "000",
                         "数据库",   "据库原理", "红楼",     "楼",      "现代数",  "(第二版)",
                         "深入浅出", "龙虎",     "Ab%_'x"};
    texts << "B"
          << "b0"
          << "1"
          << "社"
          << "("
          << "二";
    for (int i = 0; i < 12; ++i) {
        const QStringList title = take(m_titles);
        if (!title.isEmpty())
            texts << piece(m_random, title[0], i < 6 ? 3 + i % 3 : 1 + i % 2);
    }
    int mismatches = 0;
    std::printf("\n### Index route against the plain query, on the whole library%s\n\n",
                g_server.isEmpty() ? "" : " (routed: the server; plain: the file)");
    std::printf("| column | text | rows | plain ms | routed ms | same rows "
                "|\n|---|---|---:|---:|---:|---|\n");
    for (const QString &column :
         {QStringLiteral("书籍名称"), QStringLiteral("出版社"), QStringLiteral("书籍编号")}) {
        for (const QString &text : std::as_const(texts)) {
            BookCriteria c;
            c.partial = true;
            (column == QStringLiteral("书籍名称") ? c.title
             : column == QStringLiteral("出版社") ? c.publisher
                                                  : c.bookId) = text;
            double plainMs = 0, routedMs = 0;
            const std::set<std::string> plain =
                allRows(m_floor.shared(), plainBooks(column, text), 1, &plainMs);
            const std::set<std::string> routed =
                routedRows(c.query(*t.app().database().dialect()), 1, &routedMs);
            const bool same = plain == routed;
            mismatches += same ? 0 : 1;
            std::printf("| %s | `%s` | %zu | %.1f | %.1f | %s |\n", qPrintable(column),
                        qPrintable(text), plain.size(), plainMs, routedMs, same ? "yes" : "**NO**");
        }
    }
    // The loan query: short titles and reader names, alone and together, against the same
    // join with the plain comparison.
    std::printf("\n| loan query | text | loans | plain ms | routed ms | same rows "
                "|\n|---|---|---:|---:|---:|---|\n");
    const QString plainLoans = LoanStore::loanRowsSql() + LoanStore::loanJoinSql();
    const QString like = QStringLiteral(" like '%' || ? || '%' escape '\\'");
    // Drawn afresh: the timed searches may have used the pools up.
    const QStringList titles =
        column(m_floor.shared(), "select 书籍名称 from bookInfo where rowid % 4999 = 0");
    const QStringList names =
        column(m_floor.shared(), "select 读者姓名 from readerInfo where rowid % 499 = 0");
    for (int i = 0; i < 12 && i < titles.size() && i < names.size(); ++i) {
        const QStringList title{titles.at(i)};
        const QStringList name{names.at(i)};
        LoanCriteria c;
        c.partial = true;
        BoundQuery plain{plainLoans, {}};
        if (i % 3 != 1) {
            c.title = i == 0 ? QStringLiteral("龙虎") : piece(m_random, title[0], 1 + i % 2);
            plain.sql += QStringLiteral(" and bookInfo.书籍名称") + like;
            plain.values << SqlCondition::escapeLike(c.title);
        }
        if (i % 3 != 0) {
            c.readerName = piece(m_random, name[0], 1 + i % 2);
            plain.sql += QStringLiteral(" and readerInfo.读者姓名") + like;
            plain.values << SqlCondition::escapeLike(c.readerName);
        }
        double plainMs = 0, routedMs = 0;
        const std::set<std::string> plainRows = allRows(m_floor.shared(), plain, 3, &plainMs);
        const std::set<std::string> routed = routedRows(
            c.query(*t.app().database().dialect(), t.app().database().db()), 3, &routedMs);
        const bool same = plainRows == routed;
        mismatches += same ? 0 : 1;
        std::printf("| %s | `%s` | %zu | %.1f | %.1f | %s |\n",
                    c.title.isEmpty()        ? "reader name"
                    : c.readerName.isEmpty() ? "title"
                                             : "title and reader name",
                    qPrintable(QStringList({c.title, c.readerName}).join(QLatin1Char(' '))),
                    plainRows.size(), plainMs, routedMs, same ? "yes" : "**NO**");
    }
    std::printf("\n%s\n", mismatches
                              ? "MISMATCHES FOUND"
                              : "Every routed query returned exactly the rows of the plain query.");
    std::fflush(stdout);
}

void printResults(const QList<Series> &results)
{
    std::printf("\n| operation | handler median | handler p95 | with repaint median |"
                " store median | store p95 | floor median | floor p95 | store/floor |"
                " handler/floor |\n|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (const Series &s : results) {
        const double floorMedian = median(s.floor);
        const auto ratio = [&](double v) {
            return floorMedian > 0 ? QString::number(v / floorMedian, 'f', 1) : QStringLiteral("-");
        };
        const auto floorText = [&](double v) {
            return s.floor.empty() ? QStringLiteral("-") : QString::number(v, 'f', 3);
        };
        std::printf("| %s | %.2f | %.2f | %.2f | %.2f | %.2f | %s | %s | %s | %s |\n",
                    qPrintable(s.name), median(s.handler), p95(s.handler), median(s.shown),
                    median(s.store), p95(s.store), qPrintable(floorText(floorMedian)),
                    qPrintable(floorText(p95(s.floor))), qPrintable(ratio(median(s.store))),
                    qPrintable(ratio(median(s.handler))));
    }
    for (const Series &s : results) {
        if (s.failures)
            std::printf("\n%s: %d failures, first: %s\n", qPrintable(s.name), s.failures,
                        qPrintable(s.failure));
    }
    std::fflush(stdout);
}

double loadAverage()
{
    double load = -1;
    if (FILE *f = std::fopen("/proc/loadavg", "r")) {
        if (std::fscanf(f, "%lf", &load) != 1)
            load = -1;
        std::fclose(f);
    }
    return load;
}

}  // namespace

int main(int argc, char *argv[])
{
    const long long mainNs = monotonicNs();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    SqlTrace::install();
    QApplication qapp(argc, argv);
    const long long qtNs = monotonicNs();
    const QStringList args = qapp.arguments();
    const auto option = [&](const char *name, long long fallback) {
        const int at = int(args.indexOf(QString::fromLatin1(name)));
        return at > 0 && at + 1 < args.size() ? args.at(at + 1).toLongLong() : fallback;
    };

    const int serverAt = int(args.indexOf(QStringLiteral("--database")));
    if (serverAt > 0 && serverAt + 1 < args.size())
        g_server = args.at(serverAt + 1);
    if (args.size() >= 3 && args.at(1) == QStringLiteral("--child-open"))
        return childOpen(args.at(2));
    if (args.size() >= 3 && args.at(1) == QStringLiteral("--child-startup"))
        return childStartup(args.at(2), qgetenv("LENDORA_BENCH_SPAWNED").toLongLong(), mainNs,
                            qtNs);
    if (args.size() >= 4 && args.at(1) == QStringLiteral("--child-memory"))
        return childMemory(args.at(2), args.at(3).toInt());
    if (args.size() < 2 || args.at(1).startsWith(QStringLiteral("--"))) {
        std::fprintf(stderr, "usage: lendora_bench <library-dir> [--runs N] [--startups N]"
                             " [--seed S] [--parts smclqpxw] [--database postgresql://...]\n");
        return 2;
    }
    const int runs = int(option("--runs", 30));
    const int startups = int(option("--startups", 10));
    const quint64 seed = quint64(option("--seed", 20261207));
    const int partsAt = int(args.indexOf(QStringLiteral("--parts")));
    const QString parts = partsAt > 0 && partsAt + 1 < args.size() ? args.at(partsAt + 1)
                                                                   : QStringLiteral("smclqpxw");
    const auto part = [&](char c) { return parts.contains(QLatin1Char(c)); };

    const QString source = DatabaseFile::pathIn(args.at(1));
    if (!QFile::exists(source)) {
        std::fprintf(stderr, "no library at %s\n", qPrintable(source));
        return 1;
    }
    testkit::TestApp t(kToday);
    const bool onFile = g_server.isEmpty();
    // On a server the inputs come from the file itself, which nothing writes to.
    const QString path = onFile ? DatabaseFile::pathIn(t.appDir()) : source;
    if (onFile) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        std::fprintf(stderr, "copying %s\n", qPrintable(source));
        if (!QFile::copy(source, path)
            || (QFile::exists(source + QStringLiteral("-wal"))
                && !QFile::copy(source + QStringLiteral("-wal"), path + QStringLiteral("-wal")))) {
            std::fprintf(stderr, "cannot copy the library\n");
            return 1;
        }
    } else {
        DeskSettings::inFolder(t.appDir()).setDatabase(g_server);
    }
    std::printf("# Lendora desk benchmark\n\nlibrary: %s (%.0f MB)%s, SQLite %s, %ld cores,"
                " load average %.2f at the start, %d runs per operation\n",
                qPrintable(source), double(QFileInfo(source).size()) / 1e6,
                onFile ? "" : qPrintable(QStringLiteral(", moved to ") + g_server),
                sqlite3_libversion(), sysconf(_SC_NPROCESSORS_ONLN), loadAverage(), runs);

    // The first start on the copy (an older schema is upgraded in place here).
    const QByteArray opened = runChild({QStringLiteral("--child-open"), t.appDir()});
    if (onFile)
        std::printf("first start on the copy (includes any schema upgrade): %s ms, file now"
                    " %.0f MB\n",
                    opened.trimmed().split(' ').value(1).constData(),
                    double(QFileInfo(path).size()) / 1e6);
    else
        std::printf("first start on the server library: %s ms\n",
                    opened.trimmed().split(' ').value(1).constData());

    std::vector<double> total, beforeMain, qtInit, startUp, paint, floor;
    for (int i = 0; part('s') && i < startups + 1; ++i) {
        const QList<QByteArray> f =
            runChild({QStringLiteral("--child-startup"), t.appDir()}).trimmed().split(' ');
        if (f.size() < 7 || f[0] != "1") {
            std::fprintf(stderr, "start-up run failed\n");
            continue;
        }
        if (i == 0)
            continue;  // warms the file
        total.push_back(f[1].toDouble());
        beforeMain.push_back(f[2].toDouble());
        qtInit.push_back(f[3].toDouble());
        startUp.push_back(f[4].toDouble());
        paint.push_back(f[5].toDouble());
        floor.push_back(f[6].toDouble());
    }
    if (part('s'))
        std::printf(
            "\n### Start-up to the first window (login window shown), %zu runs\n\n"
            "| part | median ms | p95 ms |\n|---|---:|---:|\n"
            "| whole: process start to the login window painted | %.1f | %.1f |\n"
            "| exec and libraries, to main() | %.1f | %.1f |\n"
            "| QApplication | %.1f | %.1f |\n"
            "| Application::start (checks, main window, database, login window) | %.1f | %.1f |\n"
            "| first paint | %.1f | %.1f |\n",
            total.size(), median(total), p95(total), median(beforeMain), p95(beforeMain),
            median(qtInit), p95(qtInit), median(startUp), p95(startUp), median(paint), p95(paint));
    if (part('s') && onFile)
        std::printf("| floor: open + the start-up's SQL through the C API | %.2f | %.2f |\n",
                    median(floor), p95(floor));

    if (part('s') && onFile) {
        // The database file out of the page cache (only this file; the libraries stay warm).
        std::vector<double> cold;
        for (int i = 0; i < 3; ++i) {
            evict(path);
            const QList<QByteArray> f =
                runChild({QStringLiteral("--child-startup"), t.appDir()}).trimmed().split(' ');
            if (f.size() >= 7 && f[0] == "1")
                cold.push_back(f[1].toDouble());
        }
        std::printf(
            "| whole, with the database file out of the page cache (%zu runs) | %.1f | %.1f |\n",
            cold.size(), median(cold), p95(cold));
        // After a run that did not end cleanly the login comes at once; the whole file is
        // checked beside it, and writes wait for the check.
        std::vector<double> unclean, checked;
        for (int i = 0; i < 2; ++i) {
            QFile marker(DatabaseFile::markerPath(path));
            if (!marker.open(QIODevice::WriteOnly))
                break;
            marker.close();
            const QList<QByteArray> f =
                runChild({QStringLiteral("--child-startup"), t.appDir()}).trimmed().split(' ');
            if (f.size() >= 8 && f[0] == "1") {
                unclean.push_back(f[1].toDouble());
                checked.push_back(f[7].toDouble());
            }
        }
        std::printf("| after an unclean end: to the login window, the check running beside (%zu"
                    " runs, file in the page cache) | %.0f | %.0f |\n"
                    "| after an unclean end: to the end of the whole-file check (quick_check)"
                    " | %.0f | %.0f |\n",
                    unclean.size(), median(unclean), p95(unclean), median(checked), p95(checked));
        evict(path);
        QFile marker(DatabaseFile::markerPath(path));
        if (marker.open(QIODevice::WriteOnly)) {
            marker.close();
            const QList<QByteArray> f =
                runChild({QStringLiteral("--child-startup"), t.appDir()}).trimmed().split(' ');
            if (f.size() >= 8 && f[0] == "1")
                std::printf("| after an unclean end, file out of the page cache (1 run): to the"
                            " login window | %.0f | |\n"
                            "| the same: to the end of the whole-file check | %.0f | |\n",
                            f[1].toDouble(), f[7].toDouble());
        }
    }

    const QList<QByteArray> memory =
        !part('m') ? QList<QByteArray>()
                   : runChild({QStringLiteral("--child-memory"), t.appDir(), QStringLiteral("40")})
                         .trimmed()
                         .split(' ');
    if (memory.size() >= 7) {
        std::printf("\n### Memory with the book list open on the whole catalogue\n\n"
                    "| moment | RSS MB | rows fetched |\n|---|---:|---:|\n"
                    "| logged in, main window shown | %.1f | |\n"
                    "| book list open (%.0f ms to the first rows shown) | %.1f | %d |\n"
                    "| after scrolling to the end 40 times | %.1f | %d |\n"
                    "| peak (VmHWM) | %.1f | |\n",
                    memory[0].toDouble() / 1024, memory[6].toDouble(), memory[1].toDouble() / 1024,
                    memory[4].toInt(), memory[2].toDouble() / 1024, memory[5].toInt(),
                    memory[3].toDouble() / 1024);
    }
    std::fflush(stdout);

    t.login();
    if (!t.window(M)) {
        std::fprintf(stderr, "the main window did not open\n");
        return 1;
    }
    Floor floorSide(path.toStdString());
    Desk desk(t, floorSide, runs, seed);
    std::fprintf(stderr, "desk operations:\n");
    if (part('c'))
        desk.circulation();
    if (part('l'))
        desk.bookList();
    if (part('q'))
        desk.queries();
    if (part('p'))
        desk.paper();
    if (part('w') && onFile)
        desk.logSize();
    std::printf("\n### Desk operations (ms)\n");
    printResults(desk.results);
    if (part('x'))
        desk.compareRoutes();
    std::printf("\nload average %.2f at the end; peak RSS of this process %.0f MB\n", loadAverage(),
                double(statusKb("VmHWM")) / 1024);
    return 0;
}
