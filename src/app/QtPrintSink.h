#pragma once

#include "base/DeskSettings.h"
#include "reports/PrintSink.h"

#include <QCoreApplication>
#include <QSet>
#include <functional>

class QPrinter;

namespace lendora {

class Prompter;

// The real printer: the printer setting.ini names for the paper, without a dialog; the print
// dialog where none is named, or where the named one is gone or stopped (said once, naming it).
class QtPrintSink : public PrintSink {
    Q_DECLARE_TR_FUNCTIONS(QtPrintSink)

public:
    // How the clerk picks a printer, false when cancelled: the print dialog unless given.
    using Ask = std::function<bool(QPrinter &printer)>;

    QtPrintSink(Prompter &prompter, std::function<DeskSettings()> settings, Ask ask = {});

    using PrintSink::print;
    bool print(const Document &document, PrinterKind paper, const QString &pdfPath) override;
    QStringList printerNames() const override;
    // What follows the choice of printer. A PDF the dialog's "print to file" names is drawn
    // whole and renamed into place; a failure is told the clerk, naming the file.
    bool printTo(QPrinter &printer, const Document &document, PrinterKind paper);

private:
    // Why the named queue cannot print now; empty when it can.
    static QString unavailable(const QString &queue);

    Prompter &m_prompter;
    std::function<DeskSettings()> m_settings;
    Ask m_ask;
    QSet<QString> m_told;  // queues the clerk was told cannot print, until one prints again
};

}  // namespace lendora
