#include "app/Application.h"

#include "app/DailyBackup.h"
#include "app/FileCheckWatch.h"
#include "app/LoginWindow.h"
#include "app/MainWindow.h"
#include "app/ProgressWindow.h"
#include "app/QtFileChooser.h"
#include "app/QtPrintSink.h"
#include "app/StartupChecks.h"
#include "app/X11Colormap.h"
#include "base/AppDirectory.h"
#include "base/DeskSettings.h"
#include "base/TipsFile.h"
#include "core/exchange/BackgroundCopy.h"
#include "data/LibraryLocation.h"
#include "gui/circulation/CirculationDesk.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/Texts.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>

#include <utility>

// The compiled-in resources (logo, skin images) live in a static library, so they are pulled in
// by name; Q_INIT_RESOURCE must be used outside any namespace.
static void initResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(lendora);
        return true;
    }();
    Q_UNUSED(done);
}

namespace lendora {

namespace {
const char *const kAlreadyRunning = QT_TRANSLATE_NOOP("lendora::Application", "本程式已运行!");
const char *const kStartingCaption = QT_TRANSLATE_NOOP("lendora::Application", "程式初始化。。。");
const char *const kCheckingDatabase =
    QT_TRANSLATE_NOOP("lendora::Application", "上次程序没有正常退出,正在检查数据库文件,请稍候...");
const char *const kUpgradingDatabase = QT_TRANSLATE_NOOP(
    "lendora::Application", "正在升级数据库结构,图书和借阅记录多时需要几分钟,请稍候...");
const char *const kFolderNotWritable =
    QT_TRANSLATE_NOOP("lendora::Application", "数据库文件夹 %1 不能写入,借还记录无法保存。\n"
                                              "请让管理员给予写入权限后再启动程序。");
const char *const kFileNotWritable =
    QT_TRANSLATE_NOOP("lendora::Application", "数据库文件 %1 不能写入,借还记录无法保存。\n"
                                              "请让管理员给予写入权限后再启动程序。");
int nextInstance = 0;
}  // namespace

Application::Application(Environment env, QObject *parent)
    : QObject(parent), m_env(std::move(env)), m_instance(++nextInstance),
      m_database(QStringLiteral("shared#") + QString::number(m_instance))
{
    initResources();
    m_copy = new BackgroundCopy(this);
    if (!m_env.files) {
        m_realFiles = std::make_unique<QtFileChooser>();
        m_env.files = m_realFiles.get();
    }
    if (!m_env.printer) {
        m_realPrinter =
            std::make_unique<QtPrintSink>(*m_env.prompter, [this] { return settings(); });
        m_env.printer = m_realPrinter.get();
    }
    if (!m_env.progress) {
        m_realProgress = std::make_unique<ProgressWindow>();
        m_env.progress = m_realProgress.get();
    }
    if (m_env.dailyBackup)
        m_dailyBackup = new DailyBackup(
            {m_database, *m_copy, prompter(), m_env.appDir, [this] { return today(); }}, this);
    m_windowList.registerAll();
    // Windows a screen capture of a bare X server shows as they are painted.
    QCoreApplication::instance()->installEventFilter(new X11Colormap(this));
    // The window that found the library gone tells the clerk; the desk then ends before
    // anything else is written.
    m_database.setLostHandler([this](const DbError &) {
        QMetaObject::invokeMethod(
            this, [this] { end(Ending::DatabaseLost); }, Qt::QueuedConnection);
    });
}

Application::~Application()
{
    m_windows.deleteAll();
    delete m_copy;  // waits for a copy under way
    delete m_login.data();
    delete m_main.data();
    m_database.close();
}

MainWindow *Application::mainWindow() const
{
    return m_main.data();
}

LoginWindow *Application::loginWindow() const
{
    return m_login.data();
}

QString Application::filePath(const QString &relative) const
{
    return QDir(m_env.appDir).filePath(relative);
}

QString Application::databasePath() const
{
    return LibraryLocation::fileIn(m_env.appDir);
}

bool Application::takeSingleCopyLock()
{
    // A folder the lock cannot be made in does not stop the program.
    return m_lock.take(filePath(QStringLiteral("lendora.lock")))
           != SingleCopyLock::Result::HeldByOther;
}

bool Application::start()
{
    m_init = std::make_unique<QWidget>();
    m_init->setObjectName(QStringLiteral("FrmInit"));
    m_init->setWindowTitle(tr(kStartingCaption));
    if (!takeSingleCopyLock()) {
        prompter().message({tr(kAlreadyRunning), appTitle()});
        end(Ending::SecondCopy);
        return false;
    }
    // The main window loads hidden first: the style is applied and the database open before
    // anybody logs in.
    m_main = new MainWindow(*this, m_styles);
    m_windows.centreOver(m_main);
    m_main->load();
    // Events run during the load and behind a message: a signal may have ended the program.
    if (hasEnded() || !openDatabase())
        return false;
    StartupChecks checks(m_database, prompter());
    checks.clock(today());
    if (!hasEnded())
        checks.categories();
    if (hasEnded())
        return false;
    m_main->showVersionInTitle();
    m_login = new LoginWindow(*this);
    connectWindows();
    m_login->show();
    // The login's style runs events too. An ending there came before the event loop, which
    // its exit cannot stop: the caller must not start the loop.
    return !hasEnded();
}

void Application::loggedIn()
{
    m_login->hide();
    m_main->show();
    if (TipsFile::inFolder(m_env.appDir).opensAtStart())
        m_windowList.showTips();
    if (m_dailyBackup)
        m_dailyBackup->loggedIn();
}

void Application::watchFileCheck()
{
    m_fileCheck = std::make_unique<FileCheckWatch>(
        FileCheckWatch::Needs{m_database, prompter(), m_env.appDir,
                              [this](bool passed) {
                                  if (hasEnded())
                                      return false;
                                  if (m_dailyBackup)
                                      m_dailyBackup->checkEnded(passed);
                                  return true;
                              },
                              [this] { m_windowList.showBackup(); }});
}

void Application::connectWindows()
{
    connect(m_login, &LoginWindow::loggedIn, this, &Application::loggedIn);
    connect(m_login, &LoginWindow::cancelled, this, [this] { end(Ending::LoginCancelled); });
    connect(m_login, &LoginWindow::tooManyAttempts, this, [this] { end(Ending::TooManyAttempts); });
    connect(m_main, &MainWindow::exitCommand, this, [this] { end(Ending::ExitCommand); });
    connect(m_main, &MainWindow::closed, this, [this] { end(Ending::MainWindowClosed); });
    connect(m_main, &MainWindow::readerAsked, &m_windowList,
            [this](ReaderFormMode mode) { m_windowList.showReader(mode); });
    connect(m_main, &MainWindow::readmeAsked, &m_windowList, &WindowList::showReadme);
    connect(&m_main->desk(), &CirculationDesk::newReaderAsked, &m_windowList,
            [this](const QString &readerId) {
                m_windowList.showReader(ReaderFormMode::Add, readerId);
            });
    connect(&m_windowList, &WindowList::deskStale, this, [this] {
        if (m_main)
            m_main->desk().InitDataGrid(false);
    });
}

bool Application::openDatabase()
{
    LibraryLocation located =
        LibraryLocation::find(m_env.appDir, m_env.database, LibraryLocation::Use::Desk);
    if (!located.found()) {
        prompter().message({located.problem(), appTitle()});
        end(Ending::DatabaseRefused);
        return false;
    }
    // SQLite opens a file it cannot write read-only without a word, and a folder it cannot
    // write fails with its own text at the first statement: say what the clerk can mend.
    if (const QString part = located.isServer() ? QString()
                                                : AppDirectory::unwritablePart(
                                                    located.filePath(), AppDirectory::canWrite);
        !part.isEmpty()) {
        const char *text = QFileInfo(part).isDir() ? kFolderNotWritable : kFileNotWritable;
        prompter().message({tr(text).arg(QDir::toNativeSeparators(part)), appTitle()});
        end(Ending::DatabaseRefused);
        return false;
    }
    // After a run that did not end cleanly the whole file is checked before it is used, and
    // an older library gains its new indexes: seconds or minutes on a large one. Say so
    // rather than seem to hang. The check after an unclean end runs beside the desk where it
    // can; the login comes at once, and writes wait for the check.
    std::unique_ptr<Backend> backend = located.take();
    watchFileCheck();
    std::unique_ptr<QLabel> checking;
    const bool upgrading = backend->upgradesOnOpening();
    if (upgrading || backend->checksBeforeOpening()) {
        checking = std::make_unique<QLabel>(tr(upgrading ? kUpgradingDatabase : kCheckingDatabase));
        checking->setObjectName(QStringLiteral("lblCheckingDatabase"));
        checking->setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
        checking->setMargin(24);
        checking->show();
        QCoreApplication::processEvents();
        if (hasEnded())
            return false;
    }
    QString problem;
    QString notice;
    const bool opened = m_database.open(std::move(backend), &problem, &notice);
    checking.reset();
    if (!opened) {
        prompter().message({problem, appTitle()});
        end(Ending::DatabaseRefused);
        return false;
    }
    if (located.isServer())
        m_main->showLibrary(m_database.location());
    // The desk runs, but the clerk should know (a schema step the old rows did not allow).
    if (!notice.isEmpty())
        prompter().message({notice, appTitle()});
    return true;
}

void Application::applyWindowStyle(QWidget *window)
{
    if (systemLook())
        m_styles.removeSkin();
    else
        m_styles.applySkin(window);
    QCoreApplication::processEvents();
}

bool Application::systemLook() const
{
    return !m_main || m_main->systemLookChecked();
}

QList<QWidget *> Application::topLevelWindows() const
{
    QList<QWidget *> all;
    if (m_main)
        all << m_main.data();
    if (m_login)
        all << m_login.data();
    all << m_windows.openWindows();
    return all;
}

void Application::end(Ending how)
{
    if (hasEnded())
        return;
    m_ending = how;
    m_database.close();
    m_windows.hideAll();
    if (m_login)
        m_login->hide();
    if (m_main)
        m_main->hide();
    m_lock.release();
    emit endedNow();
    QCoreApplication::exit(0);
}

}  // namespace lendora
