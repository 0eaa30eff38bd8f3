#pragma once

#include "reports/PrintSink.h"

#include <QList>
#include <QStringList>

namespace lendora::testkit {

// Prints to PDF files a test can open: a job to the printer becomes <appDir>/printed/001.pdf,
// 002.pdf, ... (the next number free there), a job with a pdfPath goes to that path.
class FakePrinter : public PrintSink {
public:
    explicit FakePrinter(QString appDir);

    using PrintSink::print;
    bool print(const Document &document, PrinterKind paper, const QString &pdfPath) override;
    QStringList printerNames() const override { return queues; }

    QStringList printed;        // every job as a PDF file path (jobs sent "to the printer" are
                                // written as PDFs under appDir()/printed/ in order)
    QList<Document> documents;  // the same jobs as laid out, to assert on without the PDF
    // The same jobs again: the paper each was for, and the printer it went to: the queue
    // setting.ini names for that paper ("" where the clerk would have been asked, and for a
    // job written to a pdfPath).
    QList<PrinterKind> papers;
    QStringList printers;
    bool succeed = true;  // false: the clerk cancels; nothing is written
    QStringList queues;   // the print queues there are, as the settings page lists them

    QString appDir() const { return m_appDir; }

private:
    QString nextPrinterFile() const;

    QString m_appDir;
};

}  // namespace lendora::testkit
