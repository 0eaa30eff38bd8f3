#pragma once

#include "gui/labels/SheetWindow.h"

#include <memory>

namespace Ui {
class ReaderCardsWindow;
}

namespace lendora {

struct CardReader;

// FrmReaderCards: reader cards with the barcode of the number (a range of numbers, one
// reader, or a list file), one a page for a card printer or ten to an A4 sheet.
class ReaderCardsWindow : public SheetWindow {
    Q_OBJECT
public:
    explicit ReaderCardsWindow(WindowContext &context);
    ~ReaderCardsWindow() override;

    // The reader the reader window shows: chosen as the one to print for.
    void chooseReader(const QString &number);

protected:
    std::optional<SheetOrder> order() override;
    QString pdfName() const override;
    PrinterKind paperOf(const LabelStock &stock) const override;

private:
    void browse();
    std::optional<QList<CardReader>> readers();

    std::unique_ptr<Ui::ReaderCardsWindow> m_ui;
};

}  // namespace lendora
