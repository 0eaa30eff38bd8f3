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

    bool print(const Document &document, const QString &pdfPath = {}) override;

    QStringList printed;        // every job as a PDF file path (jobs sent "to the printer" are
                                // written as PDFs under appDir()/printed/ in order)
    QList<Document> documents;  // the same jobs as laid out, to assert on without the PDF
    bool succeed = true;        // false: the clerk cancels; nothing is written

    QString appDir() const { return m_appDir; }

private:
    QString nextPrinterFile() const;

    QString m_appDir;
};

}  // namespace lendora::testkit
