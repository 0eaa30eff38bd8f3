#include "app/WindowList.h"

#include "app/AboutWindow.h"
#include "app/ReadmeWindow.h"
#include "gui/catalogue/AddBookWindow.h"
#include "gui/catalogue/BookListWindow.h"
#include "gui/catalogue/CategoryWindow.h"
#include "gui/catalogue/UpdateBookWindow.h"
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
#include "gui/widgets/WindowContext.h"
#include "gui/widgets/WindowRegistry.h"

namespace lendora {

namespace {
const QString kReader = QStringLiteral("FrmReader");
const QString kReaderHistory = QStringLiteral("FrmReaderHistory");
const QString kReadme = QStringLiteral("FrmReadme");
const QString kBookLabels = QStringLiteral("FrmBookLabels");
const QString kReaderCards = QStringLiteral("FrmReaderCards");
}  // namespace

WindowList::WindowList(WindowContext &context, WindowRegistry &windows, QObject *parent)
    : QObject(parent), m_context(context), m_windows(windows)
{}

void WindowList::registerAll()
{
    m_windows.add("FrmAddnew", [this] { return new AddBookWindow(m_context); });
    m_windows.add("FrmLendora", [this] {
        auto *window = new BookListWindow(m_context);
        connect(window, &BookListWindow::labelsAsked, this, &WindowList::showBookLabels);
        return window;
    });
    m_windows.add("FrmUpdateBook", [this] { return new UpdateBookWindow(m_context); });
    m_windows.add("FrmImportBooks",
                  [this] { return new ImportWindow(m_context, Import::Kind::Books); });
    m_windows.add("FrmImportReaders",
                  [this] { return new ImportWindow(m_context, Import::Kind::Readers); });
    m_windows.add("FrmSetBook", [this] { return new CategoryWindow(m_context); });
    m_windows.add("FrmBasicSet", [this] { return new BasicSettingsWindow(m_context); });
    m_windows.add("FrmBackup", [this] {
        auto *window = new BackupWindow(m_context);
        // The other windows show rows of the library that is gone: they are closed, and the
        // desk reads its reader again.
        connect(window, &BackupWindow::restored, this, [this, window] {
            for (QWidget *open : m_windows.openWindows()) {
                if (open != window)
                    open->close();
            }
            emit deskStale();
        });
        return window;
    });
    m_windows.add<ReaderWindow::Opening>(kReader, [this](const ReaderWindow::Opening &opening) {
        auto *window = new ReaderWindow(m_context, opening);
        // The main window follows the reader of its own lending tab, not this one.
        connect(window, &ReaderWindow::readerFound, this, &WindowList::deskStale);
        connect(window, &ReaderWindow::cardAsked, this, &WindowList::showReaderCards);
        connect(window, &ReaderWindow::historyAsked, this, &WindowList::showReaderHistory);
        return window;
    });
    m_windows.add("FrmBookLabels", [this] { return new BookLabelsWindow(m_context); });
    m_windows.add("FrmReaderCards", [this] { return new ReaderCardsWindow(m_context); });
    m_windows.add("FrmBookQuery", [this] { return new BookQueryWindow(m_context); });
    m_windows.add("FrmLendQuery", [this] { return new LoanQueryWindow(m_context); });
    m_windows.add("FrmOverdue", [this] { return new OverdueWindow(m_context); });
    m_windows.add("FrmDaySheet", [this] { return new DaySheetWindow(m_context); });
    m_windows.add("FrmStatistics", [this] { return new StatisticsWindow(m_context); });
    m_windows.add<QString>(kReaderHistory, [this](const QString &readerNumber) {
        return new ReaderHistoryWindow(m_context, readerNumber);
    });
    m_windows.add("FrmAbout", [this] { return new AboutWindow(m_context); });
    m_windows.add("FrmHelp", [this] { return new TipsWindow(m_context); });
    m_windows.add<QString>(
        kReadme, [this](const QString &text) { return new ReadmeWindow(m_context, text); });
}

void WindowList::showReader(ReaderFormMode mode, const QString &number)
{
    m_windows.show(kReader, ReaderWindow::Opening{mode, number});
}

void WindowList::showReaderHistory(const QString &readerNumber)
{
    if (QWidget *open = m_windows.find(kReaderHistory))
        open->close();
    m_windows.show(kReaderHistory, readerNumber);
}

void WindowList::showReadme(const QString &text)
{
    m_windows.show(kReadme, text);
}

void WindowList::showBookLabels(const QStringList &bookNumbers)
{
    if (auto *labels = qobject_cast<BookLabelsWindow *>(m_windows.show(kBookLabels)))
        labels->pickBooks(bookNumbers);
}

void WindowList::showReaderCards(const QString &readerNumber)
{
    if (auto *cards = qobject_cast<ReaderCardsWindow *>(m_windows.show(kReaderCards)))
        cards->chooseReader(readerNumber);
}

void WindowList::showBackup()
{
    m_windows.show(QStringLiteral("FrmBackup"));
}

void WindowList::showTips()
{
    m_windows.show(QStringLiteral("FrmHelp"));
}

}  // namespace lendora
