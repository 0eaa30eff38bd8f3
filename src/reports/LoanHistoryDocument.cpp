#include "reports/LoanHistoryDocument.h"

#include "base/DateText.h"
#include "data/Columns.h"

#include <QCoreApplication>

namespace lendora {

namespace {
const char *const kTitle = QT_TRANSLATE_NOOP("lendora::LoanHistoryDocument", "读者借阅历史");
const char *const kReader =
    QT_TRANSLATE_NOOP("lendora::LoanHistoryDocument", "读者编号:%1  读者姓名:%2");

QString tr(const char *text)
{
    return QCoreApplication::translate("lendora::LoanHistoryDocument", text);
}
}  // namespace

const QStringList &loanHistoryColumns()
{
    static const QStringList keys = {
        QStringLiteral("书籍编号"), QStringLiteral("书籍名称"), QStringLiteral("借书日期"),
        QStringLiteral("应还日期"), QStringLiteral("还书日期"), QStringLiteral("超出天数"),
        QStringLiteral("罚款"),
    };
    return keys;
}

QStringList loanHistoryCells(const LoanHistory::Entry &row)
{
    return {row.bookId,
            row.bookName,
            DateText::toText(row.lendDate),
            DateText::toText(row.dueDate),
            DateText::toText(row.returnDate),
            row.overdueDays,
            row.fine};
}

Document loanHistoryDocument(const QString &libraryName, const QString &readerId,
                             const QString &readerName, const QList<LoanHistory::Entry> &rows)
{
    Document document;
    document.title = tr(kTitle) + QLatin1Char(' ') + readerId;
    document.addHeading(libraryName, 1, Qt::AlignHCenter);
    document.addHeading(tr(kTitle), 2, Qt::AlignHCenter);
    document.addParagraph(tr(kReader).arg(readerId, readerName));

    const qreal widths[] = {0.9, 2.4, 1.2, 1.2, 1.2, 0.8, 0.8};
    QList<TableColumn> columns;
    for (qsizetype i = 0; i < loanHistoryColumns().size(); ++i) {
        const bool number = i >= 5;
        columns << TableColumn{Columns::label(loanHistoryColumns().at(i)),
                               number ? Qt::AlignRight : Qt::AlignLeft, widths[i]};
    }
    QList<QStringList> cells;
    for (const LoanHistory::Entry &row : rows)
        cells << loanHistoryCells(row);
    document.addTable(columns, cells);
    document.addParagraph(LoanHistory::totalsText(LoanHistory::totals(rows)), Qt::AlignLeft, true);
    return document;
}

}  // namespace lendora
