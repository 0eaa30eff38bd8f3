#include "PdfText.h"
#include "reports/DocumentRenderer.h"
#include "reports/OverdueNotices.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QtTest>

using namespace lendora;
using Entry = OverdueList::Entry;

namespace {

// A loan overdue `days` days on 2026-12-06, of a 30-day book.
Entry overdue(const QString &reader, const QString &name, const QString &book, int days,
              const QString &fine)
{
    Entry entry;
    entry.readerId = reader;
    entry.readerName = name;
    entry.department = QStringLiteral("中文系");
    entry.bookId = book;
    entry.bookName = QStringLiteral("书") + book;
    entry.dueDate = QDate(2026, 12, 6).addDays(-days);
    entry.lendDate = entry.dueDate.addDays(-30);
    entry.overdueDays = days;
    entry.fine = fine;
    return entry;
}

Entry unknown(const QString &reader, const QString &book)
{
    Entry entry = overdue(reader, QStringLiteral("赵强"), book, 0, QString());
    entry.problem = Fines::Problem::NoLoanPeriod;
    entry.dueDate = {};
    return entry;
}

struct Page {
    QString reader;  // what the page must show, each literally
    QString name;
    QString total;
    QStringList books;
};

}  // namespace

Q_DECLARE_METATYPE(QList<Entry>)
Q_DECLARE_METATYPE(QList<Page>)

class NoticesTest : public QObject {
    Q_OBJECT

private slots:
    void onePagePerReader_data();
    void onePagePerReader();
    void longTextStaysOnThePage();
    void nobodyOverdue();
};

void NoticesTest::onePagePerReader_data()
{
    QTest::addColumn<QString>("library");
    QTest::addColumn<QList<Entry>>("entries");
    QTest::addColumn<QList<Page>>("pages");

    QTest::newRow("two readers, by number, one with two books")
        << "城东图书馆"
        << QList<Entry>{overdue("003", "王芳", "B1004", 36, "3.6"),
                        overdue("002", "李娜", "B1005", 11, "1.1"),
                        overdue("002", "李娜", "B1003", 1, "0.1")}
        << QList<Page>{{"002", "李娜", "罚款合计 1.2 元", {"B1005", "B1003"}},
                       {"003", "王芳", "罚款合计 3.6 元", {"B1004"}}};
    // Summed exactly: in doubles 0.1 + 0.2 is 0.30000000000000004.
    QTest::newRow("fines summed without binary rounding")
        << "图书馆"
        << QList<Entry>{overdue("001", "张伟", "B1", 1, "0.1"),
                        overdue("001", "张伟", "B2", 2, "0.2")}
        << QList<Page>{{"001", "张伟", "罚款合计 0.3 元", {"B1", "B2"}}};
    QTest::newRow("a loan without figures is on no notice")
        << "图书馆"
        << QList<Entry>{overdue("004", "赵强", "B1006", 2, "0.2"), unknown("004", "B1007"),
                        unknown("005", "B1010")}
        << QList<Page>{{"004", "赵强", "罚款合计 0.2 元", {"B1006"}}};
    QTest::newRow("markup and quotes are text")
        << "<b>东区&amp;\"西区\"</b>"
        << QList<Entry>{overdue("<i>", "O'Brien & <b>Tom</b> \"小李\"", "B&1", 3, "0.3")}
        << QList<Page>{{"<i>", "O'Brien & <b>Tom</b> \"小李\"", "罚款合计 0.3 元", {"B&1"}}};
}

void NoticesTest::onePagePerReader()
{
    QFETCH(QString, library);
    QFETCH(QList<Entry>, entries);
    QFETCH(QList<Page>, pages);

    const Document document = OverdueNotices::build(entries, library, QDate(2026, 12, 6));
    QStringList readers;
    for (const Page &page : pages)
        readers << page.reader;
    QCOMPARE(OverdueNotices::readers(entries), readers);
    QCOMPARE(document.pageLayout().pageSize().id(), QPageSize::A4);
    QCOMPARE(document.pageLayout().orientation(), QPageLayout::Portrait);

    QTemporaryDir dir;
    const QString path = dir.filePath("notices.pdf");
    QString error;
    QVERIFY2(DocumentRenderer::writePdf(document, path, &error), qPrintable(error));
    const QStringList texts = testkit::pdfPages(path);
    QCOMPARE(texts.size(), pages.size());
    for (int i = 0; i < pages.size(); ++i) {
        const QString text = texts.at(i);
        const Page &page = pages.at(i);
        for (const QString &shown :
             {library, QStringLiteral("催还通知单"), "读者编号:" + page.reader,
              "读者姓名:" + page.name, QStringLiteral("所在部门:中文系"), page.total,
              QStringLiteral("截至 2026-12-06")})
            QVERIFY2(text.contains(shown), qPrintable(shown + " not on\n" + text));
        for (const QString &book : page.books)
            QVERIFY2(text.contains(book), qPrintable(book + " not on\n" + text));
        // Nobody else's books, and no loan without figures.
        for (const Entry &entry : entries) {
            if (entry.readerId != page.reader || entry.problem != Fines::Problem::None)
                QVERIFY2(!text.contains(entry.bookId), qPrintable(entry.bookId));
        }
    }
}

void NoticesTest::longTextStaysOnThePage()
{
    Entry entry = overdue("001", QStringLiteral("欧阳").repeated(60), "B1", 5, "0.5");
    entry.bookName = QStringLiteral("中华典籍").repeated(40);
    const Document document = OverdueNotices::build({entry}, "图书馆", QDate(2026, 12, 6));

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    const QList<DocumentRenderer::Page> laidOut = DocumentRenderer::layOut(document, &writer);
    QCOMPARE(laidOut.size(), 1);
    QString all;
    for (const DocumentRenderer::TextRun &run : laidOut.first().texts) {
        QVERIFY2(run.rect.left() >= -1 && run.rect.right() <= writer.width() + 1,
                 qPrintable(run.text));
        all += run.text;
    }
    // Wrapped, never cut: every character is placed.
    QCOMPARE(all.count(QStringLiteral("欧阳")), 60);
    QCOMPARE(all.count(QStringLiteral("中华典籍")), 40);
}

void NoticesTest::nobodyOverdue()
{
    // Only loans without figures: no reader to notify, and a file that says so.
    const QList<Entry> entries{unknown("004", "B1007")};
    QVERIFY(OverdueNotices::readers(entries).isEmpty());
    QTemporaryDir dir;
    const QString path = dir.filePath("notices.pdf");
    QVERIFY(DocumentRenderer::writePdf(
        OverdueNotices::build(entries, "城东图书馆", QDate(2026, 12, 6)), path));
    const QStringList pages = testkit::pdfPages(path);
    QCOMPARE(pages.size(), 1);
    QVERIFY2(pages.first().contains("截至 2026-12-06,没有逾期未还的图书。"),
             qPrintable(pages.first()));
    QVERIFY(!pages.first().contains("B1007"));
}

QTEST_MAIN(NoticesTest)
#include "tst_notices.moc"
