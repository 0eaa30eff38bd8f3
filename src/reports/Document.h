#pragma once

#include "reports/Barcode.h"
#include "reports/Chart.h"

#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>
#include <variant>

namespace lendora {

struct Heading {
    QString text;
    int level = 1;  // 1 (largest) to 3
    Qt::Alignment alignment = Qt::AlignLeft;
    bool operator==(const Heading &) const = default;
};

struct Paragraph {
    QString text;  // plain text; '\n' starts a new line
    Qt::Alignment alignment = Qt::AlignLeft;
    bool bold = false;
    bool operator==(const Paragraph &) const = default;
};

struct TableColumn {
    QString heading;  // no header row when every column's heading is empty
    Qt::Alignment alignment = Qt::AlignLeft;
    qreal width = 1;  // relative to the other columns
    bool operator==(const TableColumn &) const = default;
};

struct Table {
    QList<TableColumn> columns;
    QList<QStringList> rows;  // cells as text; a short row leaves its last cells empty
    bool operator==(const Table &) const = default;
};

// A chart with its figures beside it: the chart on the left down to the foot of the page, the
// table on the right. Rows that do not fit beside it go on over the next pages at full width.
// Without rows the chart takes the whole width.
struct ChartBlock {
    static constexpr qreal kDefaultShare = 0.58;
    Chart chart;
    Table table;
    qreal chartShare = kDefaultShare;  // of the text width, when there is a table beside it
    bool operator==(const ChartBlock &) const = default;
};

struct PageBreak {
    bool operator==(const PageBreak &) const = default;
};

// One line of text at a fixed place of a sheet, cut short with "…" when wider than its box.
struct SheetText {
    QString text;
    QRectF box;  // millimetres from the paper's top left
    qreal pointSize = 8;
    bool bold = false;
    Qt::Alignment alignment = Qt::AlignHCenter;  // across the box; always centred down it
    bool operator==(const SheetText &) const = default;
};

struct SheetBarcode {
    Barcode barcode;
    QRectF box;  // millimetres from the paper's top left
    bool operator==(const SheetBarcode &) const = default;
};

// A page of things at fixed places, such as a sheet of labels or a card: always a page of its
// own, whatever the document's margins.
struct Sheet {
    QList<SheetText> texts;
    QList<SheetBarcode> barcodes;
    QList<QRectF> frames;  // thin outlines to cut along, millimetres from the top left
    bool operator==(const Sheet &) const = default;
};

using Block = std::variant<Heading, Paragraph, Table, ChartBlock, PageBreak, Sheet>;

// Something printable, laid out before it meets a printer or a PDF file.
struct Document {
    QString title;  // the PDF's title and the print job's name
    QPageSize pageSize = QPageSize(QPageSize::A4);
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins = {20, 20, 20, 20};  // millimetres
    qreal fontSize = 10.5;                 // points, of body text; headings scale from it
    // A roll: a document that fits on one page is cut just below its last line, so a receipt
    // printer feeds no more paper than it needs. The page size is then the longest piece.
    bool rollPaper = false;
    QList<Block> blocks;

    // A paper size not in the standard list, such as a receipt roll.
    static QPageSize paper(qreal widthMm, qreal heightMm);

    QPageLayout pageLayout() const;

    Document &addHeading(const QString &text, int level = 1,
                         Qt::Alignment alignment = Qt::AlignLeft);
    Document &addParagraph(const QString &text, Qt::Alignment alignment = Qt::AlignLeft,
                           bool bold = false);
    Document &addTable(const QList<TableColumn> &columns, const QList<QStringList> &rows);
    Document &addChart(const Chart &chart, const Table &table = {},
                       qreal chartShare = ChartBlock::kDefaultShare);
    Document &addPageBreak();
    Document &addSheet(const Sheet &sheet);

    bool operator==(const Document &) const = default;
};

}  // namespace lendora
