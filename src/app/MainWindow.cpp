#include "app/MainWindow.h"

#include "app/Application.h"
#include "app/FixedOuterSize.h"
#include "app/Prompter.h"
#include "app/Texts.h"
#include "app/Version.h"
#include "circulation/CurrentLoans.h"
#include "circulation/LendingTab.h"
#include "circulation/LoanLimit.h"
#include "circulation/RenewalTab.h"
#include "circulation/ReturnTab.h"
#include "data/GridSource.h"
#include "data/NumberText.h"
#include "settings/LibraryRules.h"
#include "ui_MainWindow.h"

#include <QCloseEvent>
#include <QDateEdit>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>

// The resources live in a static library: nothing would pull them in otherwise.
static void loadResources()
{
    Q_INIT_RESOURCE(lendora);
}

namespace lendora {

namespace {
const QString kLoansUnreadable = QStringLiteral("无法读取该读者的借阅记录,请稍后再试。\n%1");

// Outer size held at 10215 x 7200 twips.
const QSize kOuterSize(twips(10215), twips(7200));
}  // namespace

MainWindow::MainWindow(Application &app) : m_app(app), m_ui(std::make_unique<Ui::MainWindow>())
{
    m_ui->setupUi(this);
    buildTabs();
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    FixedOuterSize::hold(this, kOuterSize);
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
        {m_ui->meuAddNewBook, "FrmAddnew", -1},  {m_ui->mnuLendora, "FrmLendora", -1},
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
}

bool MainWindow::load()
{
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
    m_adodc1 = new GridSource(m_app.databasePath(), m_app.connectionName(QStringLiteral("Adodc1")),
                              this);
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

    loadResources();
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
