#pragma once

#include "reports/Document.h"

#include <QCoreApplication>
#include <QFont>
#include <QLineF>
#include <QList>
#include <QRectF>
#include <QString>

class QPagedPaintDevice;

namespace lendora {

// Draws a Document page by page onto a PDF writer or a printer.
class DocumentRenderer {
    Q_DECLARE_TR_FUNCTIONS(DocumentRenderer)

public:
    // One line of text as placed: device pixels from the top left of the printable area.
    struct TextRun {
        QString text;
        QFont font;
        QRectF rect;
    };
    struct PlacedChart {
        Chart chart;
        QRectF rect;  // the whole area the chart draws in
    };
    struct Page {
        QList<TextRun> texts;
        QList<QLineF> rules;  // table borders
        QList<PlacedChart> charts;
    };

    // Applies the document's page layout to the device and places every block; empty (with
    // the reason in error) when the device refuses that page layout.
    static QList<Page> layOut(const Document &document, QPagedPaintDevice *device,
                              QString *error = nullptr);
    // Lays out and draws every page; the device must not be painted on yet.
    static bool render(const Document &document, QPagedPaintDevice *device,
                       QString *error = nullptr, int *pages = nullptr);
    // Replaces the file only once the whole document has been drawn.
    static bool writePdf(const Document &document, const QString &path, QString *error = nullptr,
                         int *pages = nullptr);
};

}  // namespace lendora
