#include "core/settings/PrinterSettings.h"

namespace lendora {

QString PrinterSettings::printerFor(PrinterKind kind) const
{
    switch (kind) {
    case PrinterKind::Receipt:
        return receiptPrinter;
    case PrinterKind::Label:
        return labelPrinter;
    case PrinterKind::Card:
        return cardPrinter;
    case PrinterKind::Page:
        break;
    }
    return pagePrinter;
}

void PrinterSettings::setPrinterFor(PrinterKind kind, const QString &queue)
{
    switch (kind) {
    case PrinterKind::Receipt:
        receiptPrinter = queue;
        return;
    case PrinterKind::Label:
        labelPrinter = queue;
        return;
    case PrinterKind::Card:
        cardPrinter = queue;
        return;
    case PrinterKind::Page:
        pagePrinter = queue;
        return;
    }
}

PrinterSettings PrinterSettings::load(const DeskSettings &settings)
{
    PrinterSettings loaded;
    for (const PrinterKind kind :
         {PrinterKind::Receipt, PrinterKind::Label, PrinterKind::Card, PrinterKind::Page})
        loaded.setPrinterFor(kind, settings.printerFor(kind));
    loaded.labelStock = settings.labelStock();
    return loaded;
}

bool PrinterSettings::save(const DeskSettings &settings, const PrinterSettings &before) const
{
    for (const PrinterKind kind :
         {PrinterKind::Receipt, PrinterKind::Label, PrinterKind::Card, PrinterKind::Page}) {
        const QString now = printerFor(kind).trimmed();
        if (now != before.printerFor(kind).trimmed() && !settings.setPrinterFor(kind, now))
            return false;
    }
    if (labelStock.trimmed() != before.labelStock.trimmed() && !settings.setLabelStock(labelStock))
        return false;
    return true;
}

}  // namespace lendora
