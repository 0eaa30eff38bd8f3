#pragma once

#include "reports/Document.h"

#include <QString>

namespace lendora {

// Every printout goes through this, so tests can catch it as a file instead of paper.
class PrintSink {  // paper and PDF
public:
    virtual ~PrintSink() = default;
    // prints a laid-out document: to the printer the clerk picks, or, with a non-empty
    // pdfPath, to that PDF file; false when cancelled or failed
    virtual bool print(const Document &document, const QString &pdfPath = {}) = 0;
};

}  // namespace lendora
