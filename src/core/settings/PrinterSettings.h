#pragma once

#include "base/DeskSettings.h"

#include <QString>

namespace lendora {

// The printer chosen for each kind of paper (a print queue's name; empty: ask each time), and
// the label stock used last, kept in setting.ini. As with PaperSettings, a missing key means
// its default and save() writes only the keys that changed.
struct PrinterSettings {
    QString receiptPrinter;
    QString labelPrinter;
    QString cardPrinter;
    QString pagePrinter;
    QString labelStock;  // LabelStock::toText() of the stock used last; empty: the first

    QString printerFor(PrinterKind kind) const;
    void setPrinterFor(PrinterKind kind, const QString &queue);

    static PrinterSettings load(const DeskSettings &settings);
    // False when a changed key could not be written.
    bool save(const DeskSettings &settings, const PrinterSettings &before) const;

    bool operator==(const PrinterSettings &) const = default;
};

}  // namespace lendora
