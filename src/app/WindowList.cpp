#include "app/AboutWindow.h"
#include "app/Application.h"
#include "catalogue/AddBookWindow.h"
#include "catalogue/BookListWindow.h"
#include "catalogue/CategoryWindow.h"
#include "catalogue/UpdateBookWindow.h"
#include "query/BookQueryWindow.h"
#include "query/LoanQueryWindow.h"
#include "readers/ReaderWindow.h"
#include "settings/BasicSettingsWindow.h"
#include "tips/TipsWindow.h"

// The secondary windows, each registered by its own name with the one line that makes it.
// The main menu and other windows open them through the registry.

namespace lendora {

void Application::registerWindows()
{
    m_windows.add("FrmAddnew", [this] { return new AddBookWindow(*this); });
    m_windows.add("FrmLendora", [this] { return new BookListWindow(*this); });
    m_windows.add("FrmUpdateBook", [this] { return new UpdateBookWindow(*this); });
    m_windows.add("FrmSetBook", [this] { return new CategoryWindow(*this); });
    m_windows.add("FrmBasicSet", [this] { return new BasicSettingsWindow(*this); });
    m_windows.add("FrmReader", [this] { return new ReaderWindow(*this); });
    m_windows.add("FrmBookQuery", [this] { return new BookQueryWindow(*this); });
    m_windows.add("FrmLendQuery", [this] { return new LoanQueryWindow(*this); });
    m_windows.add("FrmAbout", [this] { return new AboutWindow(*this); });
    m_windows.add("FrmHelp", [this] { return new TipsWindow(*this); });
}

}  // namespace lendora
