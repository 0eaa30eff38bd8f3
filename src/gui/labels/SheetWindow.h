#pragma once

#include "core/settings/LabelStock.h"
#include "core/settings/PrinterSettings.h"
#include "reports/Document.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

class QLabel;
class QPushButton;

namespace lendora {

class JobControl;
class WindowContext;

// What a sheet window gathered from its controls and the library before the work: how the
// document is made on the worker (from copies: the window may be gone meanwhile), and what
// it is.
struct SheetOrder {
    std::function<std::optional<Document>(JobControl &job, QString *error)> make;
    QString title;  // of the work, as its progress shows it
    LabelStock stock;
    int count = 0;    // labels or cards
    int qrCodes = 0;  // of them, numbers printed as QR codes
};

// The part the label and card windows share: a preview of the sheets, printing them, and
// saving them as a PDF, each made on a worker through the progress seam.
class SheetWindow : public QWidget {
    Q_OBJECT
protected:
    struct Controls {
        QPushButton *preview, *print, *pdf, *previousPage, *nextPage;
        QLabel *note, *image, *page;
    };

    explicit SheetWindow(WindowContext &context);
    // After setupUi: the shared buttons and the preview.
    void wireSheets(const Controls &controls);

    // The order as the controls stand, read from the library; nullopt once the clerk has been
    // told what is wrong.
    virtual std::optional<SheetOrder> order() = 0;
    // The file name a PDF is offered under.
    virtual QString pdfName() const = 0;
    // The stock went on paper or into a PDF.
    virtual void stockUsed(const LabelStock &stock) { Q_UNUSED(stock); }
    // Whatever the clerk changes makes the preview out of date.
    void forgetPreview();
    // The paper a stock goes on: a roll to the label or card printer, a sheet to the A4 one.
    virtual PrinterKind paperOf(const LabelStock &stock) const = 0;
    bool eventFilter(QObject *watched, QEvent *event) override;

    WindowContext &m_context;

private:
    enum class Purpose { Preview, Print, Pdf };

    void start(Purpose purpose);
    void showPage(int page);

    Controls m_controls{};
    bool m_running = false;
    std::optional<Document> m_preview;
    int m_page = 0;
    bool m_drawing = false;  // a page is being put in the preview
};

}  // namespace lendora
