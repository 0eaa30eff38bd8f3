#pragma once

#include "gui/widgets/FileChooser.h"

namespace lendora {

// The real file dialogs, over the active window.
class QtFileChooser : public FileChooser {
public:
    QString openFileName(const QString &caption, const QString &filter) override;
    QString saveFileName(const QString &caption, const QString &suggestedPath,
                         const QString &filter, QString *chosenFilter = nullptr) override;
};

}  // namespace lendora
