#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace lendora {

// The skin engine: loads one skin (a Qt style sheet), applies it to windows, and removes it
// from every window it styled. A window it styles carries the property lendoraWindow, so a
// skin reaches the window's own background as *[lendoraWindow="true"].
class StyleEngine {
public:
    // Makes the skin in `path` the current one; false when it cannot be read.
    bool loadSkin(const QString &path);
    void applySkin(QWidget *window);
    void removeSkin();

    QString currentSkin() const { return m_sheet; }
    bool isStyled(const QWidget *window) const;

private:
    QString m_sheet;
    QList<QPointer<QWidget>> m_styled;
};

}  // namespace lendora
