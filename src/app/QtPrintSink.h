#pragma once

#include "reports/PrintSink.h"

#include <QCoreApplication>

class QPrinter;

namespace lendora {

class Prompter;

// The real printer: the print dialog, then the printer the clerk picked, or the PDF file
// picked with its "print to file".
class QtPrintSink : public PrintSink {
    Q_DECLARE_TR_FUNCTIONS(QtPrintSink)

public:
    explicit QtPrintSink(Prompter &prompter) : m_prompter(prompter) {}

    bool print(const Document &document, const QString &pdfPath = {}) override;
    // What follows the dialog. A PDF goes through a work file and a rename, never straight
    // to its name: a failure leaves no half file, and the clerk is told which file it was.
    bool printTo(QPrinter &printer, const Document &document);

private:
    Prompter &m_prompter;
};

}  // namespace lendora
