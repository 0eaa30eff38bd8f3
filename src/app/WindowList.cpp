#include "app/Application.h"
#include "tips/TipsWindow.h"

// The secondary windows, each registered by its own name with the one line that makes it.
// The main menu and other windows open them through the registry.

namespace lendora {

void Application::registerWindows()
{
    m_windows.add("FrmHelp", [this] { return new TipsWindow(*this); });
}

}  // namespace lendora
