#pragma once

#include "reports/Document.h"

#include <QCoreApplication>
#include <QFont>
#include <QImage>
#include <QLineF>
#include <QList>
#include <QRectF>
#include <QString>

class QPagedPaintDevice;

namespace lendora {

class JobControl;

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
    struct PlacedBarcode {
        Barcode barcode;
        QRectF rect;
    };
    struct Page {
        QList<TextRun> texts;
        QList<QLineF> rules;  // table borders
        QList<PlacedChart> charts;
        QList<PlacedBarcode> barcodes;
        QList<QRectF> frames;  // a sheet's outlines to cut along
    };

    // Applies the document's page layout to the device and places every block; empty (with
    // the reason in error) when the device refuses that page layout.
    static QList<Page> layOut(const Document &document, QPagedPaintDevice *device,
                              QString *error = nullptr);
    // Lays out and draws every page; the device must not be painted on yet. With a `job`, says
    // how far it has got page by page and stops when the job is cancelled (false, with the
    // reason in error).
    static bool render(const Document &document, QPagedPaintDevice *device,
                       QString *error = nullptr, int *pages = nullptr, JobControl *job = nullptr);
    // The first page as an image of `dpi` dots an inch, for a preview on the screen.
    static QImage firstPageImage(const Document &document, int dpi);
    // Replaces the file only once the whole document has been drawn: a failed or cancelled
    // job leaves no file under the name.
    static bool writePdf(const Document &document, const QString &path, QString *error = nullptr,
                         int *pages = nullptr, JobControl *job = nullptr);
};

}  // namespace lendora
