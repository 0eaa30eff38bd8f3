#include "app/AboutWindow.h"
#include "app/Application.h"
#include "app/LoginWindow.h"
#include "app/MainWindow.h"
#include "app/ReadmeWindow.h"
#include "gui/catalogue/AddBookWindow.h"
#include "gui/catalogue/BookListWindow.h"
#include "gui/catalogue/CategoryWindow.h"
#include "gui/catalogue/UpdateBookWindow.h"
#include "gui/circulation/CirculationDesk.h"
#include "gui/circulation/DaySheetWindow.h"
#include "gui/circulation/OverdueWindow.h"
#include "gui/exchange/ImportWindow.h"
#include "gui/labels/BookLabelsWindow.h"
#include "gui/labels/ReaderCardsWindow.h"
#include "gui/query/BookQueryWindow.h"
#include "gui/query/LoanQueryWindow.h"
#include "gui/query/StatisticsWindow.h"
#include "gui/readers/ReaderHistoryWindow.h"
#include "gui/readers/ReaderWindow.h"
#include "gui/settings/BackupWindow.h"
#include "gui/settings/BasicSettingsWindow.h"
#include "gui/tips/TipsWindow.h"

// The secondary windows, each registered by its own name with the one line that makes it, and
// the wiring between windows that know nothing of each other. The main menu and other windows
// open them through the registry.

namespace lendora {

void Application::registerWindows()
{
    m_windows.add("FrmAddnew", [this] { return new AddBookWindow(*this); });
    m_windows.add("FrmLendora", [this] {
        auto *window = new BookListWindow(*this);
        connect(window, &BookListWindow::labelsAsked, this, [this](const QStringList &ids) {
            if (auto *labels = qobject_cast<BookLabelsWindow *>(
                    m_windows.show(QStringLiteral("FrmBookLabels"))))
                labels->pickBooks(ids);
        });
        return window;
    });
    m_windows.add("FrmUpdateBook", [this] { return new UpdateBookWindow(*this); });
    m_windows.add("FrmImportBooks",
                  [this] { return new ImportWindow(*this, Import::Kind::Books); });
    m_windows.add("FrmImportReaders",
                  [this] { return new ImportWindow(*this, Import::Kind::Readers); });
    m_windows.add("FrmSetBook", [this] { return new CategoryWindow(*this); });
    m_windows.add("FrmBasicSet", [this] { return new BasicSettingsWindow(*this); });
    m_windows.add("FrmBackup", [this] {
        auto *window = new BackupWindow(*this);
        // The other windows show rows of the library that is gone: they are closed, and the
        // desk reads its reader again.
        connect(window, &BackupWindow::restored, this, [this, window] {
            for (QWidget *open : m_windows.openWindows()) {
                if (open != window)
                    open->close();
            }
            if (m_main)
                m_main->desk().InitDataGrid(false);
        });
        return window;
    });
    m_windows.add("FrmReader", [this](const QVariant &opening) {
        auto *window = new ReaderWindow(*this, opening.value<ReaderWindow::Opening>());
        // The main window follows the reader of its own lending tab, not this one.
        connect(window, &ReaderWindow::readerFound, this, [this] {
            if (m_main)
                m_main->desk().InitDataGrid(false);
        });
        connect(window, &ReaderWindow::cardAsked, this, [this](const QString &number) {
            if (auto *cards = qobject_cast<ReaderCardsWindow *>(
                    m_windows.show(QStringLiteral("FrmReaderCards"))))
                cards->chooseReader(number);
        });
        return window;
    });
    m_windows.add("FrmBookLabels", [this] { return new BookLabelsWindow(*this); });
    m_windows.add("FrmReaderCards", [this] { return new ReaderCardsWindow(*this); });
    m_windows.add("FrmBookQuery", [this] { return new BookQueryWindow(*this); });
    m_windows.add("FrmLendQuery", [this] { return new LoanQueryWindow(*this); });
    m_windows.add("FrmOverdue", [this] { return new OverdueWindow(*this); });
    m_windows.add("FrmDaySheet", [this] { return new DaySheetWindow(*this); });
    m_windows.add("FrmStatistics", [this] { return new StatisticsWindow(*this); });
    m_windows.add("FrmReaderHistory", [this](const QVariant &opening) {
        return new ReaderHistoryWindow(*this, opening.toString());
    });
    m_windows.add("FrmAbout", [this] { return new AboutWindow(*this); });
    m_windows.add("FrmHelp", [this] { return new TipsWindow(*this); });
    m_windows.add("FrmReadme", [this](const QVariant &opening) {
        return new ReadmeWindow(*this, opening.toString());
    });
}

void Application::connectWindows()
{
    connect(m_login, &LoginWindow::loggedIn, this, &Application::loggedIn);
    connect(m_login, &LoginWindow::cancelled, this, [this] { end(Ending::LoginCancelled); });
    connect(m_login, &LoginWindow::tooManyAttempts, this, [this] { end(Ending::TooManyAttempts); });
    connect(m_main, &MainWindow::exitCommand, this, [this] { end(Ending::ExitCommand); });
    connect(m_main, &MainWindow::closed, this, [this] { end(Ending::MainWindowClosed); });
    connect(&m_main->desk(), &CirculationDesk::newReaderAsked, this,
            [this](const QString &readerId) {
                m_windows.show(
                    QStringLiteral("FrmReader"),
                    QVariant::fromValue(ReaderWindow::Opening{ReaderFormMode::Add, readerId}));
            });
}

}  // namespace lendora
