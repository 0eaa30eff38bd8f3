#pragma once

#include "gui/labels/SheetWindow.h"

#include <QStringList>
#include <memory>

namespace Ui {
class BookLabelsWindow;
}

namespace lendora {

struct LabelBook;

// FrmBookLabels: barcode labels for books (a range of numbers, the books entered on some days,
// the rows picked in the book list, or a list file) on a sheet or a roll of labels.
class BookLabelsWindow : public SheetWindow {
    Q_OBJECT
public:
    explicit BookLabelsWindow(WindowContext &context);
    ~BookLabelsWindow() override;

    // The books picked in the book list, in its order: offered as what to print, and chosen.
    void pickBooks(const QStringList &ids);

protected:
    std::optional<SheetOrder> order() override;
    QString pdfName() const override;
    void stockUsed(const LabelStock &stock) override;
    PrinterKind paperOf(const LabelStock &stock) const override;

private:
    void showStock(const LabelStock &stock);
    void showMeasures(const LabelStock &stock);
    void stockChosen();
    void measuresChanged();
    std::optional<LabelStock> chosenStock() const;
    void browse();
    // The books the controls name, in print order; nullopt once the clerk has been told why
    // there are none.
    std::optional<QList<LabelBook>> books();

    std::unique_ptr<Ui::BookLabelsWindow> m_ui;
    QStringList m_picked;
};

}  // namespace lendora
