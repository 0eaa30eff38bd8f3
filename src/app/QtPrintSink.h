#pragma once

#include "reports/PrintSink.h"

#include <QCoreApplication>

namespace lendora {

// The real printer: the print dialog, then the printer the clerk picked.
class QtPrintSink : public PrintSink {
    Q_DECLARE_TR_FUNCTIONS(QtPrintSink)

public:
    bool print(const Document &document, const QString &pdfPath = {}) override;
};

}  // namespace lendora
