#include "core/settings/PrinterSettings.h"

#include "base/KeyValueFile.h"

namespace lendora {

namespace {
const QString kReceiptPrinter = QStringLiteral("ReceiptPrinter");
const QString kLabelPrinter = QStringLiteral("LabelPrinter");
const QString kCardPrinter = QStringLiteral("CardPrinter");
const QString kPagePrinter = QStringLiteral("PagePrinter");
const QString kLabelStock = QStringLiteral("LabelStock");
}  // namespace

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

PrinterSettings PrinterSettings::load(const QString &settingsPath)
{
    PrinterSettings settings;
    settings.receiptPrinter = GetKeyValue(settingsPath, kReceiptPrinter).trimmed();
    settings.labelPrinter = GetKeyValue(settingsPath, kLabelPrinter).trimmed();
    settings.cardPrinter = GetKeyValue(settingsPath, kCardPrinter).trimmed();
    settings.pagePrinter = GetKeyValue(settingsPath, kPagePrinter).trimmed();
    settings.labelStock = GetKeyValue(settingsPath, kLabelStock).trimmed();
    return settings;
}

bool PrinterSettings::save(const QString &settingsPath, const PrinterSettings &before) const
{
    const struct {
        const QString &key;
        QString now, was;
    } keys[] = {
        {kReceiptPrinter, receiptPrinter.trimmed(), before.receiptPrinter.trimmed()},
        {kLabelPrinter, labelPrinter.trimmed(), before.labelPrinter.trimmed()},
        {kCardPrinter, cardPrinter.trimmed(), before.cardPrinter.trimmed()},
        {kPagePrinter, pagePrinter.trimmed(), before.pagePrinter.trimmed()},
        {kLabelStock, labelStock.trimmed(), before.labelStock.trimmed()},
    };
    for (const auto &key : keys) {
        if (key.now == key.was)
            continue;
        if (SetKeyValue(settingsPath, key.key, key.now) != TextFile::WriteResult::Written)
            return false;
    }
    return true;
}

}  // namespace lendora
