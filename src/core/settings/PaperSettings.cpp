#include "core/settings/PaperSettings.h"

namespace lendora {

PaperSettings PaperSettings::load(const DeskSettings &settings)
{
    PaperSettings paper;
    paper.libraryName = settings.libraryName();
    paper.receiptPaper = settings.receiptPaper();
    paper.receiptAfterLend = settings.receiptAfterLend();
    paper.receiptAfterReturn = settings.receiptAfterReturn();
    return paper;
}

bool PaperSettings::save(const DeskSettings &settings, const PaperSettings &before) const
{
    // In the order the keys were always written, each only when it changed.
    if (libraryName.trimmed() != before.libraryName.trimmed()
        && !settings.setLibraryName(libraryName))
        return false;
    if (receiptPaper != before.receiptPaper && !settings.setReceiptPaper(receiptPaper))
        return false;
    if (receiptAfterLend != before.receiptAfterLend
        && !settings.setReceiptAfterLend(receiptAfterLend))
        return false;
    return receiptAfterReturn == before.receiptAfterReturn
           || settings.setReceiptAfterReturn(receiptAfterReturn);
}

}  // namespace lendora
