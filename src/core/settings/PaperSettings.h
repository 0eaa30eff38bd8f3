#pragma once

#include <QString>

namespace lendora {

// What the desk prints on and with, kept in setting.ini beside the window style. A missing or
// unreadable key means its default; save() writes only the keys whose value changed, so a
// file the clerk never touched here keeps every line as it was.
struct PaperSettings {
    enum class ReceiptPaper { Roll80mm, A5 };

    QString libraryName = defaultLibraryName();  // heads every notice and receipt
    ReceiptPaper receiptPaper = ReceiptPaper::Roll80mm;
    bool receiptAfterLend = false;
    bool receiptAfterReturn = false;

    static QString defaultLibraryName();
    static PaperSettings load(const QString &settingsPath);
    // False when a changed key could not be written (then the file keeps its old lines for
    // that key and every key after it).
    bool save(const QString &settingsPath, const PaperSettings &before) const;

    bool operator==(const PaperSettings &) const = default;
};

}  // namespace lendora
