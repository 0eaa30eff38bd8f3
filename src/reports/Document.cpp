#include "reports/Document.h"

#include <QSizeF>

namespace lendora {

QPageSize Document::paper(qreal widthMm, qreal heightMm)
{
    // An exact match keeps a roll width from being rounded to a nearby standard size.
    return QPageSize(QSizeF(widthMm, heightMm), QPageSize::Millimeter, QString(),
                     QPageSize::ExactMatch);
}

QPageLayout Document::pageLayout() const
{
    return QPageLayout(pageSize, orientation, margins, QPageLayout::Millimeter);
}

Document &Document::addHeading(const QString &text, int level, Qt::Alignment alignment)
{
    blocks.append(Heading{text, level, alignment});
    return *this;
}

Document &Document::addParagraph(const QString &text, Qt::Alignment alignment, bool bold)
{
    blocks.append(Paragraph{text, alignment, bold});
    return *this;
}

Document &Document::addTable(const QList<TableColumn> &columns, const QList<QStringList> &rows)
{
    blocks.append(Table{columns, rows});
    return *this;
}

Document &Document::addChart(const Chart &chart, const Table &table, qreal chartShare)
{
    blocks.append(ChartBlock{chart, table, chartShare});
    return *this;
}

Document &Document::addPageBreak()
{
    blocks.append(PageBreak{});
    return *this;
}

Document &Document::addSheet(const Sheet &sheet)
{
    blocks.append(sheet);
    return *this;
}

}  // namespace lendora
