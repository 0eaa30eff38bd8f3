#include "app/MainWindow.h"

#include "app/Application.h"
#include "app/Version.h"
#include "base/KeyValueFile.h"
#include "base/NumberText.h"
#include "circulation/CurrentLoans.h"
#include "circulation/LendingTab.h"
#include "circulation/LoanLimit.h"
#include "circulation/RenewalTab.h"
#include "circulation/ReturnTab.h"
#include "data/GridSource.h"
#include "settings/LibraryRules.h"
#include "ui_MainWindow.h"
#include "widgets/FixedOuterSize.h"
#include "widgets/Launcher.h"
#include "widgets/Prompter.h"
#include "widgets/Texts.h"

#include <QCloseEvent>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>

namespace lendora {

namespace {
const QString kBadSetting = QStringLiteral("不正确的设定值!");
// The two differ in their leading ".", and are shown as they stand.
const QString kTypeStyleMissing = QStringLiteral("文件 .\\style\\type-style.skn 不存在!");
const QString kLightStyleMissing = QStringLiteral("文件 \\style\\light-hearted.skn 不存在!");
const QString kSkinUnreadable = QStringLiteral("界面风格文件 %1 无法读取!");
const QString kHelpMissing = QStringLiteral("帮助文件 readme.txt 未找到!");
const QString kHelpNotOpened = QStringLiteral("无法打开帮助文件 readme.txt!");

const QString kSettingsFile = QStringLiteral("setting.ini");
const QString kStyleKey = QStringLiteral("LoadStyle");
const QString kHelpFile = QStringLiteral("readme.txt");
const QString kLoansUnreadable = QStringLiteral("无法读取该读者的借阅记录,请稍后再试。\n%1");

// Outer size held at 10215 x 7200 twips.
const QSize kOuterSize(twips(10215), twips(7200));
}  // namespace

struct MainWindow::SkinStyle {
    QAction *item;
    QString file;  // below the application directory
    QString missing;
    QString value;  // LoadStyle
};

MainWindow::MainWindow(Application &app) : m_app(app), m_ui(std::make_unique<Ui::MainWindow>())
{
    m_ui->setupUi(this);
    buildTabs();
    FixedOuterSize::holdWindow(this, kOuterSize);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    connectMenu();
}

MainWindow::~MainWindow() = default;

void MainWindow::connectMenu()
{
    // Each command shows its window as a single modeless instance; a command whose window
    // nobody registered does nothing.
    const struct {
        QAction *action;
        const char *window;
        int readerMode;
    } commands[] = {
        {m_ui->meuAddNewBook, "FrmAddnew", -1},   {m_ui->mnuLendora, "FrmLendora", -1},
        {m_ui->mnuBookQuery, "FrmBookQuery", -1}, {m_ui->mnuLendQuery, "FrmLendQuery", -1},
        {m_ui->meuReaderSort, "FrmReader", 0},    {m_ui->mnuSetBasic, "FrmBasicSet", -1},
        {m_ui->mnuSetBook, "FrmSetBook", -1},     {m_ui->meuReaderSet, "FrmReader", 2},
        {m_ui->meuHowToUse, "FrmHelp", -1},       {m_ui->meuAbout, "FrmAbout", -1},
    };
    for (const auto &command : commands) {
        const QString window = QString::fromLatin1(command.window);
        const int readerMode = command.readerMode;
        connect(command.action, &QAction::triggered, this, [this, window, readerMode] {
            if (readerMode >= 0)
                m_app.ReaderFormMode = readerMode;
            m_app.windows().show(window);
        });
    }
    connect(m_ui->meuExit, &QAction::triggered, this,
            [this] { m_app.end(Application::Ending::ExitCommand); });
    connect(m_ui->meuUseHelper, &QAction::triggered, this, &MainWindow::showHelp);

    // A checkable action flips its own mark before it reports the trigger; the commands set
    // the marks themselves (a missing skin must leave them as they were), so undo the flip.
    const struct {
        QAction *action;
        void (MainWindow::*command)();
    } styles[] = {
        {m_ui->meuWinStyle, &MainWindow::chooseSystemLook},
        {m_ui->meuTypeStyle, &MainWindow::chooseTypeStyle},
        {m_ui->meuLight, &MainWindow::chooseLightStyle},
    };
    for (const auto &style : styles) {
        QAction *action = style.action;
        const auto command = style.command;
        connect(action, &QAction::triggered, this, [this, action, command](bool checked) {
            action->setChecked(!checked);
            (this->*command)();
        });
    }
}

QString MainWindow::settingsPath() const
{
    return m_app.filePath(kSettingsFile);
}

void MainWindow::LoadSetting()
{
    const double style = NumberText::leadingValue(GetKeyValue(settingsPath(), kStyleKey));
    if (style == 0)
        return;  // the system look, marked at design time
    if (style == 1)
        chooseTypeStyle();
    else if (style == 2)
        chooseLightStyle();
    else
        m_app.prompter().message({kBadSetting, kAppTitle});
}

void MainWindow::chooseSystemLook()
{
    m_ui->meuTypeStyle->setChecked(false);
    m_ui->meuLight->setChecked(false);
    m_app.styles().removeSkin();
    m_ui->meuWinStyle->setChecked(true);
    // A read-only settings file keeps the old choice; the style holds for this run.
    SetKeyValue(settingsPath(), kStyleKey, QStringLiteral("0"));
}

void MainWindow::chooseTypeStyle()
{
    chooseSkin({m_ui->meuTypeStyle, QStringLiteral("style/type-style.skn"), kTypeStyleMissing,
                QStringLiteral("1")});
}

void MainWindow::chooseLightStyle()
{
    chooseSkin({m_ui->meuLight, QStringLiteral("style/light-hearted.skn"), kLightStyleMissing,
                QStringLiteral("2")});
}

void MainWindow::chooseSkin(const SkinStyle &style)
{
    const QString path = m_app.filePath(style.file);
    if (!QFileInfo(path).isFile()) {
        m_app.prompter().message({style.missing, kAppTitle});
        return;
    }
    // Read before anything changes, so a skin that cannot be read leaves the style in force.
    if (!m_app.styles().loadSkin(path)) {
        m_app.prompter().message({kSkinUnreadable.arg(QDir::toNativeSeparators(path)), kAppTitle});
        return;
    }
    for (QAction *item : {m_ui->meuWinStyle, m_ui->meuTypeStyle, m_ui->meuLight}) {
        if (item != style.item)
            item->setChecked(false);
    }
    m_app.styles().applySkin(this);
    style.item->setChecked(true);
    SetKeyValue(settingsPath(), kStyleKey, style.value);
}

void MainWindow::showHelp()
{
    const QString path = m_app.filePath(kHelpFile);
    if (!QFileInfo(path).isFile()) {
        m_app.prompter().message({kHelpMissing, kAppTitle});
        return;
    }
    if (!m_app.launcher().openDocument(path))
        m_app.prompter().message({kHelpNotOpened, kAppTitle});
}

bool MainWindow::load()
{
    LoadSetting();
    const QDate today = m_app.today();
    if (auto *lendDate = findChild<QDateEdit *>(QStringLiteral("dtpLendDate")))
        lendDate->setDate(today);
    if (auto *changeDate = findChild<QDateEdit *>(QStringLiteral("dtpLendDateChange")))
        changeDate->setDate(today);
    if (!m_app.openDatabase())
        return false;
    setWindowTitle(windowTitle() + QStringLiteral(" Ver") + GetVersionText());
    return true;
}

void MainWindow::buildTabs()
{
    m_adodc1 =
        new GridSource(m_app.databasePath(), m_app.connectionName(QStringLiteral("Adodc1")), this);
    m_adodc1->setObjectName(QStringLiteral("Adodc1"));
    m_loans = new CurrentLoans(m_adodc1, this);

    m_lending = new LendingTab(m_app, *this, m_ui->tabLend);
    m_ui->lendPageLayout->addWidget(m_lending);
    m_renewal = new RenewalTab(m_app, *this, *m_loans, m_ui->tabRenew);
    m_ui->renewPageLayout->addWidget(m_renewal);
    m_return = new ReturnTab(m_app, *this, m_ui->tabReturn);
    m_ui->returnPageLayout->addWidget(m_return);
    m_loans->prepare(m_lending->grid());
    m_loans->prepare(m_renewal->grid());

    auto *image = new QLabel(m_ui->menubar);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(QPixmap(QStringLiteral(":/icons/lendora-32.png")));
    image->setFixedSize(32, 32);
    image->setContentsMargins(0, 0, 0, 0);
    m_ui->menubar->setCornerWidget(image, Qt::TopRightCorner);
}

void MainWindow::InitDataGrid(bool renewTab)
{
    const QString readerId = renewTab ? m_renewal->readerId() : m_lending->readerId();
    const bool ran = m_loans->run(readerId);
    m_loans->bind(renewTab ? m_renewal->grid() : m_lending->grid());
    if (!ran)
        m_app.prompter().message({kLoansUnreadable.arg(m_adodc1->lastError()), kHintTitle});
    if (renewTab)
        return;
    if (!ran) {
        // No count is better than a wrong one: the limit is checked again when lending.
        m_lending->showCounters(-1, QString());
        return;
    }
    const int openLoans = m_loans->rowCount();
    // The rules are read at every refresh: a changed limit applies at once.
    const std::optional<Rules> rules = LibraryRules(m_app.database()).read();
    const LoanLimit::Remaining remaining =
        LoanLimit::remaining(rules ? rules->bookLimit : QVariant(), openLoans);
    m_lending->showCounters(openLoans, remaining.problem == LoanLimit::Problem::None
                                           ? NumberText::fromInt(remaining.value)
                                           : QString());
}

bool MainWindow::systemLookChecked() const
{
    return m_ui->meuWinStyle->isChecked();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    m_app.closeSequence();
}

}  // namespace lendora
