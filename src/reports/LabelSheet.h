#pragma once

#include "core/catalogue/LabelBooks.h"
#include "core/readers/CardReaders.h"
#include "core/settings/LabelStock.h"
#include "reports/Document.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <optional>

namespace lendora {

class JobControl;

// Sheets of book labels and reader cards, laid out as documents for the print sink or a PDF.
// Every barcode is made by libzint; a job says how far the sheets have got and may stop them.
class LabelSheet {
    Q_DECLARE_TR_FUNCTIONS(LabelSheet)

public:
    // The labels of `books` in order, the first `skip` places of the first sheet left empty (a
    // half-used sheet). nullopt when the job was cancelled, or with the reason in `error` when
    // a number cannot be made a barcode.
    static std::optional<Document> bookLabels(const QList<LabelBook> &books, const QString &library,
                                              const LabelStock &stock, int skip, JobControl *job,
                                              QString *error);
    // A card for each reader, in order.
    static std::optional<Document> readerCards(const QList<CardReader> &readers,
                                               const QString &library, const LabelStock &stock,
                                               JobControl *job, QString *error);
};

}  // namespace lendora
