#include "gui/widgets/StyleEngine.h"

#include "base/TextFile.h"

#include <QFile>

namespace lendora {

bool StyleEngine::loadSkin(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    m_sheet = TextFile::decode(file.readAll());
    return true;
}

void StyleEngine::applySkin(QWidget *window)
{
    if (!window)
        return;
    // Skins paint the window's own background through this property, whatever its class.
    window->setProperty("lendoraWindow", true);
    window->setAttribute(Qt::WA_StyledBackground);
    window->setStyleSheet(m_sheet);
    if (!isStyled(window))
        m_styled << window;
}

void StyleEngine::removeSkin()
{
    for (const auto &window : m_styled) {
        if (window)
            window->setStyleSheet(QString());
    }
    m_styled.clear();
}

bool StyleEngine::isStyled(const QWidget *window) const
{
    for (const auto &w : m_styled) {
        if (w == window)
            return true;
    }
    return false;
}

}  // namespace lendora
