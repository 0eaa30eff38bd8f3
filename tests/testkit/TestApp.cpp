#include "TestApp.h"

#include "app/LoginWindow.h"
#include "app/MainWindow.h"
#include "base/AccountFile.h"
#include "base/AppDirectory.h"
#include "base/DeskSettings.h"
#include "data/postgres/PostgresBackend.h"
#include "data/postgres/ServerAddress.h"
#include "data/sqlite/DatabaseFile.h"
#include "data/sqlite/SqliteBackend.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMutex>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QWaitCondition>

namespace lendora::testkit {

namespace {
int nextConnection = 0;

// Runs one statement on the server's maintenance database; false with a test failure.
bool onMaintenance(const QString &url, const QString &sql)
{
    QString problem;
    const std::optional<ServerAddress> address = ServerAddress::parse(url, &problem);
    const QString name = QStringLiteral("testkit-maintenance");
    bool ok = false;
    if (address) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        address->applyTo(db);
        QSqlQuery query(db);
        ok = db.open() && query.exec(sql);
        problem = db.isOpen() ? query.lastError().text() : db.lastError().text();
    }
    QSqlDatabase::removeDatabase(name);
    if (!ok)
        QTest::qFail(qPrintable(sql + QStringLiteral(": ") + problem), __FILE__, __LINE__);
    return ok;
}
}  // namespace

struct TestApp::CheckGate {
    QMutex mutex;
    QWaitCondition released;
    bool held = false;
};

TestApp::TestApp(QDate today)
    : m_today(today), m_printer(m_dir.path()), m_checkGate(std::make_shared<CheckGate>())
{
    AppDirectory::seed(QStringLiteral(LENDORA_SHIPPED_DIR), m_dir.path());
    Environment env;
    env.appDir = m_dir.path();
    env.prompter = &m_prompter;
    env.launcher = &m_launcher;
    env.files = &m_files;
    env.printer = &m_printer;
    env.progress = &m_progress;
    env.today = [this] { return m_today; };
    m_app = std::make_unique<Application>(env);
    m_app->database().setCheckHold([gate = m_checkGate] {
        QMutexLocker locker(&gate->mutex);
        while (gate->held)
            gate->released.wait(&gate->mutex);
    });
    m_dbName = QStringLiteral("testkit-db-%1").arg(++nextConnection);
    m_serverMaintenance = qEnvironmentVariable("LENDORA_TEST_SERVER");
    if (!m_serverMaintenance.isEmpty()) {
        const QString database = QStringLiteral("lendora_test_%1_%2")
                                     .arg(QCoreApplication::applicationPid())
                                     .arg(nextConnection);
        if (onMaintenance(m_serverMaintenance,
                          QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' LOCALE 'C.UTF-8'"
                                         " TEMPLATE template0")
                              .arg(database))) {
            m_serverDatabase = database;
            m_serverLibrary =
                ServerAddress::parse(m_serverMaintenance, nullptr)->withDatabase(database).url();
        }
    }
}

TestApp::~TestApp()
{
    releaseFileCheck();
    if (m_app && !m_app->hasEnded())
        m_app->end(Application::Ending::ExitCommand);
    m_app.reset();
    if (QSqlDatabase::contains(m_dbName)) {
        {
            QSqlDatabase db = QSqlDatabase::database(m_dbName, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_dbName);
    }
    if (!m_serverDatabase.isEmpty())
        onMaintenance(m_serverMaintenance,
                      QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(m_serverDatabase));
}

void TestApp::holdFileCheck()
{
    QMutexLocker locker(&m_checkGate->mutex);
    m_checkGate->held = true;
}

void TestApp::releaseFileCheck()
{
    QMutexLocker locker(&m_checkGate->mutex);
    m_checkGate->held = false;
    m_checkGate->released.wakeAll();
}

QString TestApp::appDir() const
{
    return m_dir.path();
}

bool TestApp::start()
{
    m_started = true;
    // Written now, so a settings file the test wrote keeps the desk on the server.
    if (!m_serverLibrary.isEmpty())
        DeskSettings::inFolder(m_dir.path()).setDatabase(m_serverLibrary);
    // The program reads the file's header before it opens the library; closing that read
    // drops every lock this process holds on the file, the test's connection's too. The
    // test's connection opens again when next used.
    if (QSqlDatabase::contains(m_dbName))
        QSqlDatabase::database(m_dbName, false).close();
    return m_app->start();
}

void TestApp::login()
{
    if (!m_started && !start()) {
        QTest::qFail("the application ended during start-up", __FILE__, __LINE__);
        return;
    }
    if (window(QStringLiteral("Frmmain")))
        return;  // logged in already
    if (!window(QStringLiteral("FrmLogon"))) {
        QTest::qFail("no login window is shown", __FILE__, __LINE__);
        return;
    }
    // The account in force, read the way the program reads it.
    const LoginWindow *logon = m_app->loginWindow();
    const Account account =
        AccountFile::read(logon->accountPath()).value_or(AccountFile::builtIn());
    type(QStringLiteral("FrmLogon"), QStringLiteral("txtUserName"), account.userName);
    type(QStringLiteral("FrmLogon"), QStringLiteral("txtPassword"), account.password);
    click(QStringLiteral("FrmLogon"), QStringLiteral("cmdOK"));
    QWidget *main = window(QStringLiteral("Frmmain"));
    if (!main) {
        QTest::qFail("the login did not show the main window", __FILE__, __LINE__);
        return;
    }
    // A tips window that opened stays open, behind the main window, so the clerk's next
    // steps (and focus checks) happen in the main window.
    main->raise();
    main->activateWindow();
    if (!QTest::qWaitForWindowActive(main))
        qWarning("the main window did not become active after the login");
}

std::unique_ptr<Backend> TestApp::libraryBackend() const
{
    if (!m_serverLibrary.isEmpty())
        return std::make_unique<PostgresBackend>(*ServerAddress::parse(m_serverLibrary, nullptr));
    return std::make_unique<SqliteBackend>(DatabaseFile::pathIn(m_dir.path()));
}

bool TestApp::onServer()
{
    return qEnvironmentVariableIsSet("LENDORA_TEST_SERVER");
}

bool TestApp::ended() const
{
    return m_app->hasEnded();
}

QWidget *TestApp::topLevel(const QString &objectName) const
{
    for (QWidget *w : m_app->topLevelWindows()) {
        if (w->objectName() == objectName)
            return w;
    }
    return nullptr;
}

QWidget *TestApp::window(const QString &objectName) const
{
    QWidget *w = topLevel(objectName);
    return w && w->isVisible() ? w : nullptr;
}

QObject *TestApp::findObject(const QString &window, const QString &name) const
{
    QWidget *w = topLevel(window);
    if (!w)
        return nullptr;
    if (name == window)
        return w;
    return w->findChild<QObject *>(name);
}

void TestApp::reportMissing(const QString &window, const QString &name, bool wrongKind)
{
    const QString text =
        wrongKind ? QStringLiteral("%1.%2 is not of the kind asked for").arg(window, name)
                  : QStringLiteral("no control %1 in window %2").arg(name, window);
    QTest::qFail(qPrintable(text), __FILE__, __LINE__);
}

// Between two of the clerk's steps the event loop runs; windows closed by the last step are
// gone by then, so asking for one again opens it afresh.
static void settleClosedWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestApp::trigger(const QString &menuAction)
{
    settleClosedWindows();
    auto *action = control<QAction>(QStringLiteral("Frmmain"), menuAction);
    if (action)
        action->trigger();
}

void TestApp::type(const QString &window, const QString &box, const QString &text)
{
    QWidget *w = control<QWidget>(window, box);
    if (auto *combo = qobject_cast<QComboBox *>(w); combo && combo->isEditable())
        w = combo->lineEdit();
    auto *edit = qobject_cast<QLineEdit *>(w);
    if (!edit) {
        QTest::qFail(qPrintable(QStringLiteral("%1.%2 is not a text box").arg(window, box)),
                     __FILE__, __LINE__);
        return;
    }
    edit->setFocus();
    if (!edit->isReadOnly() && edit->isEnabled())
        edit->clear();
    // Keys for ASCII; everything else arrives as an input method commits it (Chinese text
    // has no keys of its own).
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n =
            i + 1 < text.size() && text.at(i).isHighSurrogate() && text.at(i + 1).isLowSurrogate()
                ? 2
                : 1;
        if (text.at(i).unicode() < 0x80) {
            QTest::keyClick(edit, text.at(i).toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(text.mid(i, n));
            QApplication::sendEvent(edit, &commit);
        }
        i += n;
    }
}

void TestApp::enter(const QString &window, const QString &box)
{
    QWidget *w = control<QWidget>(window, box);
    if (auto *combo = qobject_cast<QComboBox *>(w); combo && combo->isEditable())
        w = combo->lineEdit();
    if (w)
        QTest::keyClick(w, Qt::Key_Return);
}

void TestApp::click(const QString &window, const QString &button)
{
    settleClosedWindows();
    if (auto *b = control<QAbstractButton>(window, button))
        QTest::mouseClick(b, Qt::LeftButton);
}

QString TestApp::text(const QString &window, const QString &control) const
{
    QObject *o = findObject(window, control);
    if (auto *edit = qobject_cast<QLineEdit *>(o))
        return edit->text();
    if (auto *label = qobject_cast<QLabel *>(o))
        return label->text();
    if (auto *button = qobject_cast<QAbstractButton *>(o))
        return button->text();
    if (auto *combo = qobject_cast<QComboBox *>(o))
        return combo->currentText();
    if (auto *widget = qobject_cast<QWidget *>(o))
        return widget->windowTitle();
    reportMissing(window, control, o != nullptr);
    return {};
}

QSqlDatabase TestApp::db() const
{
    if (QSqlDatabase::contains(m_dbName))
        return QSqlDatabase::database(m_dbName);
    if (!m_serverLibrary.isEmpty()) {
        const ServerAddress address = *ServerAddress::parse(m_serverLibrary, nullptr);
        QString error;
        if (!PostgresBackend(address).create(&error))
            QTest::qFail(qPrintable(QStringLiteral("cannot set up the database: ") + error),
                         __FILE__, __LINE__);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_dbName);
        address.applyTo(db);
        if (!db.open())
            QTest::qFail(qPrintable(db.lastError().text()), __FILE__, __LINE__);
        return db;
    }
    const QString path = DatabaseFile::pathIn(m_dir.path());
    if (!QFileInfo::exists(path)) {
        QString error;
        if (!DatabaseFile::create(path, &error))
            QTest::qFail(qPrintable(QStringLiteral("cannot create the database: ") + error),
                         __FILE__, __LINE__);
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_dbName);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open())
        QTest::qFail(qPrintable(db.lastError().text()), __FILE__, __LINE__);
    return db;
}

QVariant TestApp::scalar(const QString &sql, const QVariantList &values) const
{
    QSqlQuery query(db());
    query.prepare(sql);
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (!query.exec()) {
        QTest::qFail(qPrintable(sql + QStringLiteral(": ") + query.lastError().text()), __FILE__,
                     __LINE__);
        return {};
    }
    if (!query.next())
        return {};
    // Dates as the file holds them, ISO text, whichever engine holds the library.
    const QVariant value = query.value(0);
    if (value.typeId() == QMetaType::QDate && !value.isNull())
        return value.toDate().toString(Qt::ISODate);
    return value;
}

void TestApp::exec(const QString &sql, const QVariantList &values) const
{
    QSqlQuery query(db());
    // A server prepares no schema statement: those run as they are.
    bool ran = false;
    if (values.isEmpty()) {
        ran = query.exec(sql);
    } else {
        query.prepare(sql);
        for (int i = 0; i < values.size(); ++i)
            query.bindValue(i, values.at(i));
        ran = query.exec();
    }
    if (!ran)
        QTest::qFail(qPrintable(sql + QStringLiteral(": ") + query.lastError().text()), __FILE__,
                     __LINE__);
}

}  // namespace lendora::testkit
