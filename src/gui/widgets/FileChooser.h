#pragma once

#include <QString>

namespace lendora {

// Every file dialog goes through this, so windows can be driven by tests.
class FileChooser {  // the file dialogs
public:
    virtual ~FileChooser() = default;
    virtual QString openFileName(const QString &caption, const QString &filter) = 0;
    // "" when cancelled. `filter` lists the file types, ";;" between them, the first offered
    // first; `chosenFilter`, when given, receives the one the clerk left chosen.
    virtual QString saveFileName(const QString &caption, const QString &suggestedPath,
                                 const QString &filter, QString *chosenFilter = nullptr) = 0;
};

}  // namespace lendora
