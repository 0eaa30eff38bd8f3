#pragma once

#include "base/DeskSettings.h"

#include <QString>

namespace lendora {

// What the desk prints on and with, as one value the basic settings window edits: the four
// keys of setting.ini that DeskSettings reads with their defaults. save() writes only the keys
// whose value changed, so a file the clerk never touched here keeps every line as it was.
struct PaperSettings {
    using ReceiptPaper = DeskSettings::ReceiptPaper;

    QString libraryName = DeskSettings::defaultLibraryName();  // heads every notice and receipt
    ReceiptPaper receiptPaper = ReceiptPaper::Roll80mm;
    bool receiptAfterLend = false;
    bool receiptAfterReturn = false;

    static PaperSettings load(const DeskSettings &settings);
    // False when a changed key could not be written (then the file keeps its old lines for
    // that key and every key after it).
    bool save(const DeskSettings &settings, const PaperSettings &before) const;

    bool operator==(const PaperSettings &) const = default;
};

}  // namespace lendora
