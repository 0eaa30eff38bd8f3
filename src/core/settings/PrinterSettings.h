#pragma once

#include <QString>

namespace lendora {

// The kinds of paper the desk prints on, each with a printer of its own.
enum class PrinterKind { Receipt, Label, Card, Page };

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

    static PrinterSettings load(const QString &settingsPath);
    // False when a changed key could not be written.
    bool save(const QString &settingsPath, const PrinterSettings &before) const;

    bool operator==(const PrinterSettings &) const = default;
};

}  // namespace lendora
