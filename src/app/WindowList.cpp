#include "app/Application.h"
#include "query/BookQueryWindow.h"
#include "query/LoanQueryWindow.h"
#include "readers/ReaderWindow.h"

// The secondary windows, each registered by its own name with the one line that makes it.
// The main menu and other windows open them through the registry.

namespace lendora {

void Application::registerWindows()
{
    m_windows.add("FrmReader", [this] { return new ReaderWindow(*this); });
    m_windows.add("FrmBookQuery", [this] { return new BookQueryWindow(*this); });
    m_windows.add("FrmLendQuery", [this] { return new LoanQueryWindow(*this); });
}

}  // namespace lendora
