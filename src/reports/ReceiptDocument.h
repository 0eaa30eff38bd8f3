#pragma once

#include "core/circulation/Receipts.h"
#include "core/settings/PaperSettings.h"
#include "reports/Document.h"

#include <QCoreApplication>

namespace lendora {

// Receipts for the reader to take away: on an 80 mm roll (cut after the last line) or on A5.
class ReceiptDocument {
    Q_DECLARE_TR_FUNCTIONS(ReceiptDocument)

public:
    static Document loan(const LoanReceipt &receipt, const QString &libraryName,
                         PaperSettings::ReceiptPaper paper);
    static Document fine(const FineReceipt &receipt, const QString &libraryName,
                         PaperSettings::ReceiptPaper paper);
};

}  // namespace lendora
