#include "app/MainWindow.h"

#include "app/Application.h"
#include "app/FixedOuterSize.h"
#include "app/Version.h"
#include "ui_MainWindow.h"

#include <QCloseEvent>
#include <QDateEdit>
#include <QGuiApplication>
#include <QScreen>

namespace lendora {

namespace {
// Outer size held at 10215 x 7200 twips.
const QSize kOuterSize(twips(10215), twips(7200));
}  // namespace

MainWindow::MainWindow(Application &app) : m_app(app), m_ui(std::make_unique<Ui::MainWindow>())
{
    m_ui->setupUi(this);
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

void MainWindow::InitDataGrid(bool renewTab)
{
    Q_UNUSED(renewTab);  // the circulation tabs fill this in
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
