#include "app/QtFileChooser.h"

#include <QApplication>
#include <QFileDialog>

namespace lendora {

QString QtFileChooser::openFileName(const QString &caption, const QString &filter)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, QString(), filter);
}

QString QtFileChooser::saveFileName(const QString &caption, const QString &suggestedPath,
                                    const QString &filter, QString *chosenFilter)
{
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), caption, suggestedPath,
                                        filter, chosenFilter);
}

}  // namespace lendora
