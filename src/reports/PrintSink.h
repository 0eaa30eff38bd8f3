#pragma once

#include "base/PrinterKind.h"
#include "reports/Document.h"

#include <QString>
#include <QStringList>

namespace lendora {

// Every printout goes through this, so tests can catch it as a file instead of paper.
class PrintSink {  // paper and PDF
public:
    virtual ~PrintSink() = default;
    // Prints a laid-out document on the kind of paper it is for: straight to the printer
    // chosen for that paper, or to the one the clerk picks when none is chosen or the chosen
    // one cannot print; with a non-empty pdfPath, to that PDF file. False when cancelled or
    // failed.
    virtual bool print(const Document &document, PrinterKind paper, const QString &pdfPath) = 0;
    // A page of A4.
    bool print(const Document &document, const QString &pdfPath = {})
    {
        return print(document, PrinterKind::Page, pdfPath);
    }
    bool print(const Document &document, PrinterKind paper) { return print(document, paper, {}); }

    // The names of the print queues there are, to choose from.
    virtual QStringList printerNames() const { return {}; }
};

}  // namespace lendora
