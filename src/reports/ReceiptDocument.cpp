#include "reports/ReceiptDocument.h"

#include "base/DateText.h"
#include "base/NumberText.h"

namespace lendora {

namespace {
constexpr qreal kRollWidthMm = 80;
constexpr qreal kRollLongestMm = 600;  // the most one receipt may take of the roll

// The paper, then the library's name and the receipt's title over it.
Document receiptHead(const QString &title, const QString &libraryName,
                     PaperSettings::ReceiptPaper paper)
{
    Document document;
    document.title = title;
    if (paper == PaperSettings::ReceiptPaper::A5) {
        document.pageSize = QPageSize(QPageSize::A5);
        document.margins = {12, 12, 12, 12};
        document.fontSize = 10.5;
    } else {
        document.pageSize = Document::paper(kRollWidthMm, kRollLongestMm);
        document.rollPaper = true;
        // Roll printers print about 72 mm of the 80.
        document.margins = {4, 3, 4, 3};
        document.fontSize = 9;
    }
    document.addHeading(libraryName, 2, Qt::AlignHCenter);
    document.addHeading(title, 3, Qt::AlignHCenter);
    return document;
}

// Label and value rows, without a header: narrow paper has no room for a wide table.
Document &addFacts(Document &document, const QList<QStringList> &rows)
{
    return document.addTable({{QString(), Qt::AlignLeft, 1}, {QString(), Qt::AlignLeft, 2.2}},
                             rows);
}
}  // namespace

Document ReceiptDocument::loan(const LoanReceipt &receipt, const QString &libraryName,
                               PaperSettings::ReceiptPaper paper)
{
    Document document = receiptHead(tr("借书凭条"), libraryName, paper);
    addFacts(document, {{tr("读者编号"), receipt.readerId},
                        {tr("读者姓名"), receipt.readerName},
                        {tr("借书日期"), DateText::toText(receipt.day)}});
    QList<QStringList> rows;
    for (const LoanReceipt::Book &book : receipt.books)
        rows << QStringList{book.id, book.name, DateText::toText(book.due)};
    document.addTable({{tr("书籍编号"), Qt::AlignLeft, 1.1},
                       {tr("书籍名称"), Qt::AlignLeft, 2},
                       {tr("应还日期"), Qt::AlignLeft, 1.3}},
                      rows);
    const QString remaining = receipt.remaining.problem == LoanLimit::Problem::None
                                  ? NumberText::fromInt(std::max(receipt.remaining.value, 0))
                                  : tr("未设定");
    document.addParagraph(tr("本日借出 %1 册,还可借 %2 册")
                              .arg(NumberText::fromInt(receipt.books.size()), remaining));
    document.addParagraph(tr("请按期归还,逾期按日罚款。"));
    return document;
}

Document ReceiptDocument::fine(const FineReceipt &receipt, const QString &libraryName,
                               PaperSettings::ReceiptPaper paper)
{
    Document document = receiptHead(tr("罚款凭条"), libraryName, paper);
    addFacts(document, {{tr("读者编号"), receipt.readerId},
                        {tr("读者姓名"), receipt.readerName},
                        {tr("书籍编号"), receipt.bookId},
                        {tr("书籍名称"), receipt.bookName},
                        {tr("借书日期"), receipt.lendDate},
                        {tr("还书日期"), receipt.returnDate},
                        {tr("超出天数"), tr("%1 天").arg(receipt.overdueDays)},
                        {tr("每天罚款"), tr("%1 元").arg(receipt.finePerDay)}});
    document.addParagraph(tr("罚款金额:%1 元").arg(receipt.fine), Qt::AlignLeft, true);
    return document;
}

}  // namespace lendora
