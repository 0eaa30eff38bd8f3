#include "reports/LabelSheet.h"

#include "base/JobControl.h"

#include <algorithm>

namespace lendora {

namespace {
constexpr qreal kPointsPerMm = 72 / 25.4;
// The narrowest bar drawn wider than this makes a short number's code needlessly long.
constexpr qreal kWidestModuleMm = 0.5;
// The share of a line's height its text takes.
constexpr qreal kTextShare = 0.72;

qreal pointsFor(qreal lineMm, qreal most)
{
    return std::min(lineMm * kPointsPerMm * kTextShare, most);
}

// The rows of a box from the top, by shares of its height.
QList<QRectF> rows(const QRectF &box, std::initializer_list<qreal> shares)
{
    qreal total = 0;
    for (qreal share : shares)
        total += share;
    QList<QRectF> cut;
    qreal top = box.top();
    for (qreal share : shares) {
        const qreal height = box.height() * share / total;
        cut << QRectF(box.left(), top, box.width(), height);
        top += height;
    }
    return cut;
}

// A linear code as wide as its bars need, up to the box's width, centred in it.
QRectF linearBox(const Barcode &barcode, const QRectF &box)
{
    const qreal width = std::min(box.width(), barcode.modulesAcross * kWidestModuleMm);
    return QRectF(box.center().x() - width / 2, box.top(), width, box.height());
}

QRectF squareAtLeft(const QRectF &box, qreal side)
{
    return QRectF(box.left(), box.center().y() - side / 2, side, side);
}

std::optional<Barcode> barcodeOf(const QString &number, QString *error)
{
    QString why;
    std::optional<Barcode> barcode = Barcode::make(number, &why);
    if (!barcode && error)
        *error = LabelSheet::tr("编号 %1 无法印成条码:%2").arg(number, why);
    return barcode;
}

void bookLabel(Sheet &sheet, const QRectF &cell, const LabelBook &book, const Barcode &barcode,
               const QString &library)
{
    const qreal padding = std::clamp(std::min(cell.width(), cell.height()) * 0.06, 1.0, 2.5);
    const QRectF inner = cell.adjusted(padding, padding, -padding, -padding);
    if (barcode.kind == Barcode::Kind::Code128) {
        const QList<QRectF> row = rows(inner, {0.17, 0.44, 0.19, 0.2});
        sheet.texts << SheetText{library, row.at(0), pointsFor(row.at(0).height(), 8)};
        sheet.barcodes << SheetBarcode{barcode, linearBox(barcode, row.at(1))};
        sheet.texts << SheetText{book.id, row.at(2), pointsFor(row.at(2).height(), 10), true};
        sheet.texts << SheetText{book.name, row.at(3), pointsFor(row.at(3).height(), 9)};
        return;
    }
    // A QR code at the left, the texts beside it.
    const qreal side = std::min(inner.height(), inner.width() * 0.45);
    sheet.barcodes << SheetBarcode{barcode, squareAtLeft(inner, side)};
    const qreal gap = padding;
    const QRectF texts(inner.left() + side + gap, inner.top(), inner.width() - side - gap,
                       inner.height());
    const QList<QRectF> row = rows(texts, {0.3, 0.35, 0.35});
    sheet.texts << SheetText{library, row.at(0), pointsFor(row.at(0).height(), 8), false,
                             Qt::AlignLeft};
    sheet.texts << SheetText{book.id, row.at(1), pointsFor(row.at(1).height(), 10), true,
                             Qt::AlignLeft};
    sheet.texts << SheetText{book.name, row.at(2), pointsFor(row.at(2).height(), 9), false,
                             Qt::AlignLeft};
}

void readerCard(Sheet &sheet, const QRectF &cell, const CardReader &reader, const Barcode &barcode,
                const QString &library)
{
    const qreal padding = 4;
    const QRectF inner = cell.adjusted(padding, padding, -padding, -padding);
    const QList<QRectF> row = rows(inner, {0.15, 0.1, 0.04, 0.13, 0.13, 0.13, 0.04, 0.2, 0.08});
    sheet.texts << SheetText{library, row.at(0), pointsFor(row.at(0).height(), 12), true};
    sheet.texts << SheetText{LabelSheet::tr("读者证"), row.at(1), pointsFor(row.at(1).height(), 9)};
    const QString fields[] = {LabelSheet::tr("读者姓名:%1").arg(reader.name),
                              LabelSheet::tr("读者编号:%1").arg(reader.number),
                              LabelSheet::tr("所在部门:%1").arg(reader.department)};
    if (barcode.kind == Barcode::Kind::Code128) {
        for (int i = 0; i < 3; ++i)
            sheet.texts << SheetText{fields[i], row.at(3 + i), pointsFor(row.at(3).height(), 10),
                                     false, Qt::AlignLeft};
        const QRectF codeRow = row.at(7).united(row.at(8));
        const QList<QRectF> code = rows(codeRow, {0.7, 0.3});
        sheet.barcodes << SheetBarcode{barcode, linearBox(barcode, code.at(0))};
        sheet.texts << SheetText{reader.number, code.at(1), pointsFor(code.at(1).height(), 8)};
        return;
    }
    // A QR code at the right of the fields, from their top to the foot of the card.
    const QRectF below(inner.left(), row.at(3).top(), inner.width(),
                       inner.bottom() - row.at(3).top());
    const qreal side = std::min(below.height(), inner.width() * 0.4);
    sheet.barcodes << SheetBarcode{
        barcode, QRectF(below.right() - side, below.center().y() - side / 2, side, side)};
    for (int i = 0; i < 3; ++i) {
        QRectF field = row.at(3 + i);
        field.setRight(below.right() - side - padding);
        sheet.texts << SheetText{fields[i], field, pointsFor(row.at(3).height(), 10), false,
                                 Qt::AlignLeft};
    }
}

Document sheetDocument(const QString &title, const LabelStock &stock)
{
    Document document;
    document.title = title;
    document.pageSize = Document::paper(stock.page.width(), stock.page.height());
    document.margins = {0, 0, 0, 0};
    return document;
}

// Lays out `count` things a page at a time: `place(sheet, cell, i)` puts the i-th into its
// cell; false stops (a barcode refused).
template <class Place>
std::optional<Document> layOut(Document document, const LabelStock &stock, int skip, int count,
                               bool frames, JobControl *job, const QString &step, Place place)
{
    const int perPage = std::max(stock.perPage(), 1);
    skip = std::clamp(skip, 0, perPage - 1);
    Sheet sheet;
    int slot = skip;
    for (int i = 0; i < count; ++i) {
        if (job) {
            if (job->cancelled())
                return std::nullopt;
            job->report(step, i, count);
        }
        const QRectF cell = stock.cell(slot);
        if (frames)
            sheet.frames << cell;
        if (!place(sheet, cell, i))
            return std::nullopt;
        if (++slot == perPage) {
            document.addSheet(sheet);
            sheet = Sheet();
            slot = 0;
        }
    }
    if (slot > 0 && count > 0)
        document.addSheet(sheet);
    if (job)
        job->report(step, count, count);
    return document;
}
}  // namespace

std::optional<Document> LabelSheet::bookLabels(const QList<LabelBook> &books,
                                               const QString &library, const LabelStock &stock,
                                               int skip, JobControl *job, QString *error)
{
    return layOut(sheetDocument(tr("图书条码"), stock), stock, stock.roll ? 0 : skip,
                  int(books.size()), false, job, tr("正在生成图书条码"),
                  [&](Sheet &sheet, const QRectF &cell, int i) {
                      const LabelBook &book = books.at(i);
                      const std::optional<Barcode> barcode = barcodeOf(book.id, error);
                      if (barcode)
                          bookLabel(sheet, cell, book, *barcode, library);
                      return barcode.has_value();
                  });
}

std::optional<Document> LabelSheet::readerCards(const QList<CardReader> &readers,
                                                const QString &library, const LabelStock &stock,
                                                JobControl *job, QString *error)
{
    return layOut(sheetDocument(tr("读者证"), stock), stock, 0, int(readers.size()), !stock.roll,
                  job, tr("正在生成读者证"), [&](Sheet &sheet, const QRectF &cell, int i) {
                      const CardReader &reader = readers.at(i);
                      const std::optional<Barcode> barcode = barcodeOf(reader.number, error);
                      if (barcode)
                          readerCard(sheet, cell, reader, *barcode, library);
                      return barcode.has_value();
                  });
}

}  // namespace lendora
