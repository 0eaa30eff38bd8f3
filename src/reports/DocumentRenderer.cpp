#include "reports/DocumentRenderer.h"

#include "base/JobControl.h"
#include "reports/PrintFont.h"

#include <QBuffer>
#include <QDir>
#include <QFontMetricsF>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextLayout>
#include <algorithm>
#include <numeric>
#include <utility>

namespace lendora {

namespace {

constexpr qreal kMmPerInch = 25.4;
constexpr qreal kFitSlack = 0.5;  // device pixels of rounding a fit may exceed
constexpr qreal kCellPaddingMm = 1.2;
constexpr qreal kRuleMm = 0.2;
constexpr qreal kRollTailMm = 3;  // below the last line of a roll, so the cut misses it
// Less than this is too low for a chart's bars and labels to read; it starts a new page.
constexpr qreal kMinChartMm = 60;
constexpr qreal kChartGapMm = 6;  // between a chart and the table beside it
// Spacing between blocks, in body lines.
constexpr qreal kAfterHeading = 0.4;
constexpr qreal kAfterParagraph = 0.4;
constexpr qreal kAfterTable = 0.8;
constexpr qreal kBeforeHeading = 0.8;

qreal headingScale(int level)
{
    switch (std::clamp(level, 1, 3)) {
    case 1:
        return 1.6;
    case 2:
        return 1.3;
    default:
        return 1.1;
    }
}

bool hasHeader(const Table &table)
{
    return std::any_of(table.columns.cbegin(), table.columns.cend(),
                       [](const TableColumn &c) { return !c.heading.isEmpty(); });
}

struct Line {
    QString text;  // empty for a blank line
    qreal x = 0;   // from the left of the box, after alignment
    qreal width = 0;
};

struct TextBox {
    QFont font;
    qreal lineHeight = 0;
    QList<Line> lines;
    qreal height() const { return lineHeight * lines.size(); }
};

struct Row {
    QList<TextBox> cells;
    qreal height = 0;
};

class Layouter {
public:
    // `margins`: the device's own, in millimetres: where its painter's origin lies on the paper.
    Layouter(const Document &document, QPaintDevice *device, const QMarginsF &margins)
        : m_document(document), m_device(device), m_margins(margins),
          m_dotsPerMm(device->logicalDpiY() / kMmPerInch), m_width(device->width()),
          m_height(device->height()),
          m_bodyLine(QFontMetricsF(printFont(document.fontSize, false), device).lineSpacing())
    {}

    QList<DocumentRenderer::Page> run()
    {
        m_pages = {DocumentRenderer::Page()};
        for (qsizetype i = 0; i < m_document.blocks.size(); ++i) {
            const Block &block = m_document.blocks.at(i);
            const Block *next =
                i + 1 < m_document.blocks.size() ? &m_document.blocks.at(i + 1) : nullptr;
            if (const auto *heading = std::get_if<Heading>(&block))
                placeHeading(*heading, next);
            else if (const auto *paragraph = std::get_if<Paragraph>(&block))
                placeParagraph(*paragraph);
            else if (const auto *table = std::get_if<Table>(&block))
                placeTable(*table);
            else if (const auto *chart = std::get_if<ChartBlock>(&block))
                placeChart(*chart, next);
            else if (const auto *sheet = std::get_if<Sheet>(&block))
                placeSheet(*sheet);
            else
                newPage();
        }
        return m_pages;
    }

private:
    bool fits(qreal height) const { return m_y + height <= m_height + kFitSlack; }

    void newPage()
    {
        m_pages.append(DocumentRenderer::Page());
        m_afterHeading = false;
        m_y = 0;
        m_gap = 0;
    }

    // Starts a new page unless the height fits below what is there (or nothing is there).
    void makeRoom(qreal height)
    {
        const qreal gap = m_y > 0 ? m_gap : 0;
        m_gap = 0;
        if (m_y > 0 && !fits(gap + height))
            newPage();
        else
            m_y += gap;
    }

    TextBox wrap(const QString &text, const QFont &font, qreal width, Qt::Alignment alignment) const
    {
        TextBox box{font, QFontMetricsF(font, m_device).lineSpacing(), {}};
        const qreal available = std::max<qreal>(width, 1);
        const Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
        QTextOption option;
        // Chinese breaks between characters; a long call number or ISBN breaks anywhere.
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        for (const QString &piece : text.split(QLatin1Char('\n'))) {
            if (piece.trimmed().isEmpty()) {
                box.lines.append(Line());
                continue;
            }
            QTextLayout layout(piece, font, m_device);
            layout.setTextOption(option);
            layout.beginLayout();
            for (QTextLine tl = layout.createLine(); tl.isValid(); tl = layout.createLine()) {
                tl.setLineWidth(available);
                Line line{piece.mid(tl.textStart(), tl.textLength()), 0, tl.naturalTextWidth()};
                while (!line.text.isEmpty() && line.text.back().isSpace())
                    line.text.chop(1);
                if (horizontal & Qt::AlignRight)
                    line.x = available - line.width;
                else if (horizontal & Qt::AlignHCenter)
                    line.x = (available - line.width) / 2;
                line.x = std::max<qreal>(line.x, 0);
                box.lines.append(line);
            }
            layout.endLayout();
        }
        return box;
    }

    TextBox headingBox(const Heading &heading) const
    {
        const QFont font = printFont(m_document.fontSize * headingScale(heading.level), true);
        return wrap(heading.text, font, m_width, heading.alignment);
    }

    TextBox paragraphBox(const Paragraph &paragraph) const
    {
        return wrap(paragraph.text, printFont(m_document.fontSize, paragraph.bold), m_width,
                    paragraph.alignment);
    }

    // Left edges of the columns, then the right edge of the last; across the whole width
    // unless a width is given.
    QList<qreal> columnEdges(const Table &table, qreal left = 0, qreal width = -1) const
    {
        if (width < 0)
            width = m_width;
        qsizetype count = table.columns.size();
        for (const QStringList &row : table.rows)
            count = std::max(count, row.size());
        QList<qreal> weights;
        for (qsizetype i = 0; i < count; ++i) {
            const qreal w = i < table.columns.size() ? table.columns.at(i).width : 1;
            weights.append(w > 0 ? w : 1);
        }
        const qreal total = std::accumulate(weights.cbegin(), weights.cend(), qreal(0));
        QList<qreal> edges{left};
        for (qreal w : weights)
            edges.append(edges.back() + width * w / total);
        return edges;
    }

    Row tableRow(const Table &table, const QStringList &cells, const QList<qreal> &edges,
                 bool header) const
    {
        const qreal padding = kCellPaddingMm * m_dotsPerMm;
        const QFont font = printFont(m_document.fontSize, header);
        Row row;
        for (qsizetype i = 0; i + 1 < edges.size(); ++i) {
            const Qt::Alignment alignment =
                i < table.columns.size() ? table.columns.at(i).alignment : Qt::AlignLeft;
            row.cells.append(
                wrap(cells.value(i), font, edges.at(i + 1) - edges.at(i) - 2 * padding, alignment));
            row.height = std::max(row.height, row.cells.back().height());
        }
        row.height += 2 * padding;
        return row;
    }

    QStringList headings(const Table &table) const
    {
        QStringList texts;
        for (const TableColumn &column : table.columns)
            texts.append(column.heading);
        return texts;
    }

    // What should share the page with a heading above it: a whole paragraph when the two fit
    // on one page together, else the first line or row.
    qreal leadHeight(const Block &block, qreal headingHeight) const
    {
        if (const auto *heading = std::get_if<Heading>(&block))
            return headingBox(*heading).lineHeight;
        if (const auto *paragraph = std::get_if<Paragraph>(&block)) {
            const TextBox box = paragraphBox(*paragraph);
            return headingHeight + box.height() <= m_height ? box.height() : box.lineHeight;
        }
        if (const auto *table = std::get_if<Table>(&block))
            return tableLead(*table, columnEdges(*table));
        if (std::get_if<ChartBlock>(&block))
            return minChartHeight();
        return 0;
    }

    qreal minChartHeight() const { return std::min(kMinChartMm * m_dotsPerMm, m_height); }

    qreal tableLead(const Table &table, const QList<qreal> &edges) const
    {
        qreal height = hasHeader(table) ? tableRow(table, headings(table), edges, true).height : 0;
        if (!table.rows.isEmpty())
            height += tableRow(table, table.rows.first(), edges, false).height;
        return height;
    }

    void addRun(const TextBox &box, const Line &line, qreal left)
    {
        if (!line.text.isEmpty())
            m_pages.back().texts.append(
                {line.text, box.font, QRectF(left + line.x, m_y, line.width, box.lineHeight)});
        m_y += box.lineHeight;
    }

    // Line by line, so that a block taller than a page still goes on over the next.
    void placeBox(const TextBox &box)
    {
        for (const Line &line : box.lines) {
            if (m_y > 0 && !fits(box.lineHeight))
                newPage();
            addRun(box, line, 0);
        }
    }

    void placeRow(const Row &row, const QList<qreal> &edges)
    {
        const qreal padding = kCellPaddingMm * m_dotsPerMm;
        const qreal top = m_y;
        for (qsizetype i = 0; i < row.cells.size(); ++i) {
            m_y = top + padding;
            for (const Line &line : row.cells.at(i).lines)
                addRun(row.cells.at(i), line, edges.at(i) + padding);
        }
        const qreal bottom = top + row.height;
        QList<QLineF> &rules = m_pages.back().rules;
        rules.append(QLineF(edges.front(), top, edges.back(), top));
        rules.append(QLineF(edges.front(), bottom, edges.back(), bottom));
        for (qreal x : edges)
            rules.append(QLineF(x, top, x, bottom));
        m_y = bottom;
    }

    void placeHeading(const Heading &heading, const Block *next)
    {
        const TextBox box = headingBox(heading);
        const qreal after = kAfterHeading * m_bodyLine;
        const qreal lead = next ? leadHeight(*next, box.height() + after) : 0;
        m_gap = std::max(m_gap, kBeforeHeading * m_bodyLine);
        makeRoom(box.height() + (lead > 0 ? after + lead : 0));
        placeBox(box);
        m_gap = after;
        m_afterHeading = true;
    }

    void placeParagraph(const Paragraph &paragraph)
    {
        const TextBox box = paragraphBox(paragraph);
        // Moved whole to the next page when it does not fit, unless that would leave its heading
        // alone or it cannot fit on any page.
        const bool flow = std::exchange(m_afterHeading, false) || box.height() > m_height;
        makeRoom(flow ? box.lineHeight : box.height());
        placeBox(box);
        m_gap = kAfterParagraph * m_bodyLine;
    }

    void placeTable(const Table &table)
    {
        m_afterHeading = false;
        const QList<qreal> edges = columnEdges(table);
        if (edges.size() < 2)
            return;
        makeRoom(tableLead(table, edges));
        placeRows(table, edges, 0);
        m_gap = kAfterTable * m_bodyLine;
    }

    // The header, then the rows from the first given, going on over new pages as needed.
    void placeRows(const Table &table, const QList<qreal> &edges, qsizetype first)
    {
        const bool header = hasHeader(table);
        const Row headerRow = header ? tableRow(table, headings(table), edges, true) : Row();
        if (header)
            placeRow(headerRow, edges);
        int rowsOnPage = 0;
        for (qsizetype i = first; i < table.rows.size(); ++i) {
            const Row row = tableRow(table, table.rows.at(i), edges, false);
            // Rows stay whole; one taller than a page is left to run over its foot.
            if (rowsOnPage > 0 && !fits(row.height)) {
                newPage();
                rowsOnPage = 0;
                if (header)
                    placeRow(headerRow, edges);
            }
            placeRow(row, edges);
            ++rowsOnPage;
        }
    }

    // A paragraph right after a chart, such as a note on its figures, keeps to the chart's page.
    qreal followerHeight(const Block *next) const
    {
        const auto *paragraph = next ? std::get_if<Paragraph>(next) : nullptr;
        return paragraph ? kAfterTable * m_bodyLine + paragraphBox(*paragraph).height() : 0;
    }

    void placeChart(const ChartBlock &block, const Block *next)
    {
        m_afterHeading = false;
        const qreal minimum = minChartHeight();
        makeRoom(minimum);
        const qreal top = m_y;
        const qreal room = m_height - top;
        qreal height = room - followerHeight(next);
        if (height < minimum)
            height = room;
        const Table &table = block.table;
        const QList<qreal> fullEdges = columnEdges(table);
        const bool beside = !table.rows.isEmpty() && fullEdges.size() >= 2;
        const qreal chartWidth =
            beside ? m_width * std::clamp<qreal>(block.chartShare, 0.1, 0.9) : m_width;
        m_pages.back().charts.append({block.chart, QRectF(0, top, chartWidth, height)});
        m_y = top + height;
        m_gap = kAfterTable * m_bodyLine;
        if (!beside)
            return;

        // As many whole rows as fit beside the chart; the header only above at least one.
        const qreal left = chartWidth + kChartGapMm * m_dotsPerMm;
        const QList<qreal> edges = columnEdges(table, left, m_width - left);
        qreal used = hasHeader(table) ? tableRow(table, headings(table), edges, true).height : 0;
        qsizetype besideRows = 0;
        for (; besideRows < table.rows.size(); ++besideRows) {
            used += tableRow(table, table.rows.at(besideRows), edges, false).height;
            if (used > height + kFitSlack)
                break;
        }
        if (besideRows > 0) {
            m_y = top;
            if (hasHeader(table))
                placeRow(tableRow(table, headings(table), edges, true), edges);
            for (qsizetype i = 0; i < besideRows; ++i)
                placeRow(tableRow(table, table.rows.at(i), edges, false), edges);
            m_y = top + height;
        }
        if (besideRows < table.rows.size()) {
            newPage();
            placeRows(table, fullEdges, besideRows);
            m_gap = kAfterTable * m_bodyLine;
        }
    }

    bool pageIsEmpty() const
    {
        const DocumentRenderer::Page &page = m_pages.back();
        return m_y == 0 && page.texts.isEmpty() && page.rules.isEmpty() && page.charts.isEmpty()
               && page.barcodes.isEmpty() && page.frames.isEmpty();
    }

    // From millimetres on the paper to the device's pixels from its painter's origin.
    QRectF onDevice(const QRectF &mm) const
    {
        return QRectF((mm.x() - m_margins.left()) * m_dotsPerMm,
                      (mm.y() - m_margins.top()) * m_dotsPerMm, mm.width() * m_dotsPerMm,
                      mm.height() * m_dotsPerMm);
    }

    void placeSheet(const Sheet &sheet)
    {
        if (!pageIsEmpty())
            newPage();
        DocumentRenderer::Page &page = m_pages.back();
        for (const QRectF &frame : sheet.frames)
            page.frames.append(onDevice(frame));
        for (const SheetBarcode &barcode : sheet.barcodes)
            page.barcodes.append({barcode.barcode, onDevice(barcode.box)});
        for (const SheetText &text : sheet.texts) {
            if (text.text.isEmpty())
                continue;
            const QFont font = printFont(text.pointSize, text.bold);
            const QFontMetricsF metrics(font, m_device);
            const QRectF box = onDevice(text.box);
            const QString shown = metrics.elidedText(text.text, Qt::ElideRight, box.width());
            const qreal width = std::min(metrics.horizontalAdvance(shown), box.width());
            qreal x = box.left();
            if (text.alignment & Qt::AlignRight)
                x = box.right() - width;
            else if (text.alignment & Qt::AlignHCenter)
                x = box.left() + (box.width() - width) / 2;
            const qreal height = metrics.height();
            page.texts.append(
                {shown, font, QRectF(x, box.top() + (box.height() - height) / 2, width, height)});
        }
        // Whatever comes next starts a page of its own.
        m_y = m_height + 1;
    }

    const Document &m_document;
    QPaintDevice *m_device;
    const QMarginsF m_margins;
    const qreal m_dotsPerMm;
    const qreal m_width;
    const qreal m_height;
    const qreal m_bodyLine;
    QList<DocumentRenderer::Page> m_pages;
    qreal m_y = 0;
    qreal m_gap = 0;              // wanted above the next block, dropped at the top of a page
    bool m_afterHeading = false;  // the last thing placed was a heading
};

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

void paintPage(QPainter &painter, const DocumentRenderer::Page &page, qreal dotsPerMm)
{
    QPen pen(Qt::black);
    pen.setWidthF(kRuleMm * dotsPerMm);
    if (!page.frames.isEmpty()) {
        QPen framePen(Qt::gray);
        framePen.setWidthF(pen.widthF());
        painter.setPen(framePen);
        painter.setBrush(Qt::NoBrush);
        for (const QRectF &frame : page.frames)
            painter.drawRect(frame);
    }
    for (const DocumentRenderer::PlacedBarcode &barcode : page.barcodes)
        barcode.barcode.paint(painter, barcode.rect);
    painter.setPen(pen);
    for (const DocumentRenderer::PlacedChart &chart : page.charts)
        chart.chart.paint(painter, chart.rect, ChartStyle::print());
    for (const QLineF &rule : page.rules)
        painter.drawLine(rule);
    for (const DocumentRenderer::TextRun &run : page.texts) {
        painter.setFont(run.font);
        painter.drawText(run.rect,
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
                         run.text);
    }
}

}  // namespace

QList<DocumentRenderer::Page> DocumentRenderer::layOut(const Document &document,
                                                       QPagedPaintDevice *device, QString *error)
{
    if (!device->setPageLayout(document.pageLayout()) || device->width() <= 0
        || device->height() <= 0) {
        setError(error, tr("纸张或页边距不合适，无法排版。"));
        return {};
    }
    const QMarginsF margins = device->pageLayout().margins(QPageLayout::Millimeter);
    QList<Page> pages = Layouter(document, device, margins).run();
    if (!document.rollPaper || pages.size() != 1)
        return pages;
    qreal bottom = 0;
    for (const TextRun &run : pages.constFirst().texts)
        bottom = std::max(bottom, run.rect.bottom());
    for (const QLineF &rule : pages.constFirst().rules)
        bottom = std::max({bottom, rule.y1(), rule.y2()});
    for (const PlacedChart &chart : pages.constFirst().charts)
        bottom = std::max(bottom, chart.rect.bottom());
    const qreal dotsPerMm = device->logicalDpiY() / kMmPerInch;
    const QSizeF full = document.pageSize.size(QPageSize::Millimeter);
    const qreal height = std::min(full.height(), bottom / dotsPerMm + document.margins.top()
                                                     + document.margins.bottom() + kRollTailMm);
    Document cut = document;
    cut.pageSize = Document::paper(full.width(), height);
    cut.rollPaper = false;
    if (!device->setPageLayout(cut.pageLayout()) || device->height() <= 0)
        return pages;  // the full length is still set
    return Layouter(cut, device, device->pageLayout().margins(QPageLayout::Millimeter)).run();
}

bool DocumentRenderer::render(const Document &document, QPagedPaintDevice *device, QString *error,
                              int *pages, JobControl *job)
{
    if (job)
        job->report(tr("正在排版"), 0, 0);
    const QList<Page> laidOut = layOut(document, device, error);
    if (laidOut.isEmpty())
        return false;
    QPainter painter;
    if (!painter.begin(device)) {
        setError(error, tr("无法开始打印。"));
        return false;
    }
    for (qsizetype i = 0; i < laidOut.size(); ++i) {
        if (job) {
            if (job->cancelled()) {
                painter.end();
                setError(error, tr("已取消。"));
                return false;
            }
            job->report(tr("正在绘制页面"), i, laidOut.size());
        }
        if (i > 0 && !device->newPage()) {
            painter.end();
            setError(error, tr("无法开始新的一页。"));
            return false;
        }
        paintPage(painter, laidOut.at(i), device->logicalDpiX() / kMmPerInch);
    }
    if (!painter.end()) {
        setError(error, tr("打印未能完成。"));
        return false;
    }
    if (pages)
        *pages = int(laidOut.size());
    if (job)
        job->report(tr("正在绘制页面"), laidOut.size(), laidOut.size());
    return true;
}

QImage DocumentRenderer::firstPageImage(const Document &document, int dpi)
{
    // Laid out against a writer of the image's resolution, so the fonts measure alike.
    QBuffer discarded;
    discarded.open(QIODevice::WriteOnly);
    QPdfWriter writer(&discarded);
    writer.setResolution(dpi);
    const QList<Page> pages = layOut(document, &writer);
    const QPageLayout layout = writer.pageLayout();
    const QRect full = layout.fullRectPixels(dpi);
    QImage image(full.size(), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / kMmPerInch * 1000));
    image.setDotsPerMeterY(qRound(dpi / kMmPerInch * 1000));
    image.fill(Qt::white);
    if (pages.isEmpty())
        return image;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(layout.paintRectPixels(dpi).topLeft());
    paintPage(painter, pages.constFirst(), dpi / kMmPerInch);
    return image;
}

bool DocumentRenderer::writePdf(const Document &document, const QString &path, QString *error,
                                int *pages, JobControl *job)
{
    // Drawn in memory first, so a failure leaves no half-written file behind.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(document.title.isEmpty() ? QStringLiteral("Lendora") : document.title);
        writer.setCreator(QStringLiteral("Lendora"));
        if (!render(document, &writer, error, pages, job))
            return false;
    }
    if (job && job->cancelled()) {
        setError(error, tr("已取消。"));
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(buffer.data()) != buffer.data().size()
        || !file.commit()) {
        setError(
            error,
            tr("无法写入 PDF 文件 %1：%2").arg(QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
    return true;
}

}  // namespace lendora
