#include "app/Application.h"

#include "app/LoginWindow.h"
#include "app/MainWindow.h"
#include "app/ProgressWindow.h"
#include "app/QtFileChooser.h"
#include "app/QtPrintSink.h"
#include "app/X11Colormap.h"
#include "base/AppDirectory.h"
#include "base/DateText.h"
#include "base/DeskSettings.h"
#include "base/TipsFile.h"
#include "core/catalogue/CategoryStore.h"
#include "core/circulation/LoanDates.h"
#include "core/exchange/BackgroundCopy.h"
#include "data/Backups.h"
#include "data/LibraryLocation.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/Texts.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTime>

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
const char *const kDailyCopyFailed =
    QT_TRANSLATE_NOOP("lendora::Application", "今天的自动备份没有完成。\n%1");
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
const char *const kClockBehind =
    QT_TRANSLATE_NOOP("lendora::Application", "电脑的日期(%1)早于数据库中最近的借还日期(%2)。\n"
                                              "请检查并改正电脑的日期,否则借还日期和罚款会出错。");
const char *const kUnchoosableCategories =
    QT_TRANSLATE_NOOP("lendora::Application",
                      "以下类别的代码不是一个字符,在图书窗口中不能选择:\n%1\n"
                      "要把图书归入这些类别,请在“图书类别”中添加一个字符代码的类别代替它们。");
const char *const kWaitingForCheck =
    QT_TRANSLATE_NOOP("lendora::Application", "正在检查数据库文件,检查完成后才能保存,请稍候...");
const char *const kCheckFailed = QT_TRANSLATE_NOOP(
    "lendora::Application", "上次程序没有正常退出,检查数据库文件 %1 时发现它已损坏:\n%2\n\n"
                            "为保护现有记录,程序不再保存任何改动(借书、还书、续借等),"
                            "查询仍可使用。");
const char *const kOfferBackup = QT_TRANSLATE_NOOP(
    "lendora::Application", "最新的备份是 %1。\n"
                            "要恢复,请在 系统设置 → 备份与恢复 中选择它。现在打开该窗口吗?");
const char *const kNoBackup = QT_TRANSLATE_NOOP(
    "lendora::Application", "没有找到备份。请退出程序,请管理员修复或更换数据库文件。");
const QString kBackupWindow = QStringLiteral("FrmBackup");
const QString kTipsWindow = QStringLiteral("FrmHelp");
int nextInstance = 0;
}  // namespace

Application::Application(Environment env, QObject *parent)
    : QObject(parent), m_env(std::move(env)), m_instance(++nextInstance),
      m_database(QStringLiteral("shared#") + QString::number(m_instance))
{
    initResources();
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
    registerWindows();
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
    warnIfClockBehind();
    if (!hasEnded())
        warnOfUnchoosableCategories();
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
        m_windows.show(kTipsWindow);
    if (m_env.dailyBackup) {
        // A library still being checked, or found damaged, is not copied over good backups.
        if (m_database.isChecking())
            m_backUpWhenChecked = true;
        else if (!m_database.checkFailed())
            backUpDaily();
    }
}

void Application::watchFileCheck()
{
    SharedDatabase::CheckHandlers handlers;
    handlers.hold = m_env.beforeFileCheck;
    handlers.waiting = [this](bool waiting) {
        if (!waiting) {
            m_waitingNote.reset();
            return;
        }
        if (m_waitingNote)
            return;
        // Not modal: the desk stays usable while the write waits.
        m_waitingNote = std::make_unique<QLabel>(tr(kWaitingForCheck));
        m_waitingNote->setObjectName(QStringLiteral("lblWaitingForCheck"));
        m_waitingNote->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint
                                      | Qt::WindowDoesNotAcceptFocus);
        m_waitingNote->setAttribute(Qt::WA_ShowWithoutActivating);
        m_waitingNote->setMargin(16);
        m_waitingNote->show();
    };
    handlers.ended = [this](bool passed, const QString &found) { fileCheckEnded(passed, found); };
    m_database.setCheckHandlers(std::move(handlers));
}

void Application::fileCheckEnded(bool passed, const QString &found)
{
    if (hasEnded())
        return;
    if (passed) {
        if (std::exchange(m_backUpWhenChecked, false))
            backUpDaily();
        return;
    }
    m_backUpWhenChecked = false;
    const QString what = tr(kCheckFailed).arg(m_database.location(), found);
    const QStringList copies = Backups(m_env.appDir).list();
    if (copies.isEmpty()) {
        prompter().message(
            {what + QStringLiteral("\n") + tr(kNoBackup), appTitle(), Buttons::Ok, Icon::Error});
        return;
    }
    const QString newest = QDir::toNativeSeparators(copies.first());
    if (prompter().confirm({what + QStringLiteral("\n") + tr(kOfferBackup).arg(newest), appTitle(),
                            Buttons::OkCancel, Icon::Error}))
        m_windows.show(kBackupWindow);
}

void Application::backUpDaily()
{
    if (!m_database.copies())
        return;
    const Backups backups(m_env.appDir);
    if (m_dailyCopy || backups.madeOn(today()))
        return;
    m_dailyCopy = new BackgroundCopy(this);
    connect(m_dailyCopy, &BackgroundCopy::finished, this,
            [this](bool ok, const QString &, const QString &error) {
                if (!ok)
                    prompter().message({tr(kDailyCopyFailed).arg(error), hintTitle()});
            });
    // Old copies go on the copy's thread: a clerk who quits at once must not leave them.
    const int keep = settings().backupKeep();
    m_dailyCopy->start(m_database.copies()->copier(),
                       backups.pathFor(today(), QTime::currentTime()),
                       [backups, keep] { backups.prune(keep); });
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

void Application::warnIfClockBehind()
{
    // A clock set back would store returns before their lending and fines out of reason.
    const QDate newest = LoanDates(m_database).newest();
    const QDate now = today();
    if (newest.isValid() && now < newest)
        prompter().message(
            {tr(kClockBehind).arg(DateText::toText(now), DateText::toText(newest)), appTitle()});
}

void Application::warnOfUnchoosableCategories()
{
    QStringList entries;
    for (const Category &category : CategoryStore(m_database).unchoosable())
        entries << category.code + QLatin1Char('-') + category.name;
    if (!entries.isEmpty())
        prompter().message(
            {tr(kUnchoosableCategories).arg(entries.join(QLatin1Char('\n'))), appTitle()});
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
