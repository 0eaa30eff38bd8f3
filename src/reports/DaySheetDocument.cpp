#include "reports/DaySheetDocument.h"

#include "base/DateText.h"
#include "data/Columns.h"

#include <QCoreApplication>

namespace lendora {

namespace {
const char *const kTitle = QT_TRANSLATE_NOOP("lendora::DaySheetDocument", "今日汇总");
const char *const kDay = QT_TRANSLATE_NOOP("lendora::DaySheetDocument", "日期:%1");

QString tr(const char *text)
{
    return QCoreApplication::translate("lendora::DaySheetDocument", text);
}
}  // namespace

const QStringList &daySheetColumns()
{
    static const QStringList keys = {
        QStringLiteral("类型"),     QStringLiteral("读者编号"), QStringLiteral("读者姓名"),
        QStringLiteral("书籍编号"), QStringLiteral("书籍名称"), QStringLiteral("借书日期"),
        QStringLiteral("超出天数"), QStringLiteral("罚款"),
    };
    return keys;
}

QStringList daySheetCells(const DaySheet::Entry &row)
{
    return {
        DaySheet::kindText(row.kind),   row.readerId,    row.readerName, row.bookId, row.bookName,
        DateText::toText(row.lendDate), row.overdueDays, row.fine};
}

Document daySheetDocument(const QString &libraryName, const QDate &day,
                          const QList<DaySheet::Entry> &rows)
{
    Document document;
    document.title = tr(kTitle) + QLatin1Char(' ') + DateText::toText(day);
    document.addHeading(libraryName, 1, Qt::AlignHCenter);
    document.addHeading(tr(kTitle), 2, Qt::AlignHCenter);
    document.addParagraph(tr(kDay).arg(DateText::toText(day)));

    // Names get the room; numbers and dates keep theirs, right-aligned where they are sums.
    const qreal widths[] = {0.7, 0.8, 1, 0.9, 2.2, 1.2, 0.8, 0.8};
    QList<TableColumn> columns;
    for (qsizetype i = 0; i < daySheetColumns().size(); ++i) {
        const bool number = i >= 6;
        columns << TableColumn{Columns::label(daySheetColumns().at(i)),
                               number ? Qt::AlignRight : Qt::AlignLeft, widths[i]};
    }
    QList<QStringList> cells;
    for (const DaySheet::Entry &row : rows)
        cells << daySheetCells(row);
    document.addTable(columns, cells);
    document.addParagraph(DaySheet::totalsText(DaySheet::totals(rows)), Qt::AlignLeft, true);
    document.addParagraph(DaySheet::renewalNote());
    return document;
}

}  // namespace lendora
