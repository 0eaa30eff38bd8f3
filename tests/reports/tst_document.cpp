#include "FakeFiles.h"
#include "FakePrinter.h"
#include "PdfText.h"
#include "reports/Document.h"
#include "reports/DocumentRenderer.h"
#include "reports/ReceiptDocument.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

using namespace lendora;
using lendora::testkit::FakeFiles;
using lendora::testkit::FakePrinter;
using Page = DocumentRenderer::Page;

Q_DECLARE_METATYPE(lendora::Document)

namespace {

constexpr qreal kSlack = 1;  // device pixels (1/1200 inch)

struct LaidOut {
    QList<Page> pages;
    QSizeF area;  // the printable area in device pixels
};

// Lays out as writePdf does, without drawing.
LaidOut layOut(const Document &document)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    LaidOut result;
    result.pages = DocumentRenderer::layOut(document, &writer);
    result.area = QSizeF(writer.width(), writer.height());
    return result;
}

QString pageText(const Page &page)
{
    QString text;
    for (const DocumentRenderer::TextRun &run : page.texts)
        text += run.text;
    return text;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Page objects of the file; Qt writes each as an uncompressed "/Type /Page" dictionary.
int pdfPageCount(const QByteArray &pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![A-Za-z])"));
    int count = 0;
    for (auto it = page.globalMatch(QString::fromLatin1(pdf)); it.hasNext(); it.next())
        ++count;
    return count;
}

Document notice(int readers)
{
    Document document;
    document.title = QStringLiteral("逾期催还通知");
    const QList<TableColumn> columns{{QStringLiteral("书名"), Qt::AlignLeft, 3},
                                     {QStringLiteral("应还日期"), Qt::AlignHCenter, 1},
                                     {QStringLiteral("逾期天数"), Qt::AlignRight, 1}};
    for (int r = 1; r <= readers; ++r) {
        if (r > 1)
            document.addPageBreak();
        document.addHeading(QStringLiteral("逾期图书催还通知"), 1, Qt::AlignHCenter)
            .addParagraph(QStringLiteral("借阅证号 %1 号读者：您借阅的下列图书已逾期。").arg(r))
            .addTable(
                columns,
                {{QStringLiteral("红楼梦"), QStringLiteral("2024-03-01"), QStringLiteral("12")},
                 {QStringLiteral("史记"), QStringLiteral("2024-03-05"), QStringLiteral("8")}})
            .addParagraph(QStringLiteral("城东图书馆 流通部"), Qt::AlignRight);
    }
    return document;
}

QString bookTitle(int row, int length)
{
    return QStringLiteral("《第%1册%2》").arg(row).arg(QStringLiteral("中华典籍").repeated(length));
}

Document loanList(const QPageSize &paper, int rows, int titleLength)
{
    Document document;
    document.pageSize = paper;
    document.margins = {4, 4, 4, 4};
    QList<QStringList> cells;
    for (int i = 1; i <= rows; ++i)
        cells.append({QString::number(i), bookTitle(i, titleLength), QStringLiteral("张三")});
    document.addTable({{QStringLiteral("序号"), Qt::AlignRight, 1},
                       {QStringLiteral("书名"), Qt::AlignLeft, 4},
                       {QStringLiteral("读者"), Qt::AlignLeft, 1.5}},
                      cells);
    return document;
}

Chart monthChart()
{
    Chart chart;
    ChartSeries loans{QStringLiteral("借出"), {}};
    for (int m = 1; m <= 12; ++m) {
        chart.categories.append({QStringLiteral("%1月").arg(m), {}});
        loans.values.append(10 + m);
    }
    chart.series = {loans};
    return chart;
}

// A page of paper with a chart and a table of numbered books, after filler lines.
Document chartPage(const QPageSize &paper, int fillerLines, int rows, const QString &note = {})
{
    Document document;
    document.pageSize = paper;
    document.margins = {10, 10, 10, 10};
    if (fillerLines > 0)
        document.addParagraph(QStringLiteral("填充\n").repeated(fillerLines).chopped(1));
    QList<QStringList> cells;
    for (int i = 1; i <= rows; ++i)
        cells.append({QStringLiteral("第%1册").arg(i), QString::number(i * 3)});
    document.addChart(monthChart(), Table{{{QStringLiteral("书名"), Qt::AlignLeft, 2},
                                           {QStringLiteral("次数"), Qt::AlignRight, 1}},
                                          cells});
    if (!note.isEmpty())
        document.addParagraph(note);
    return document;
}

// Tops and bottoms of the table rows on a page, from its horizontal rules.
QList<qreal> rowEdges(const Page &page)
{
    QList<qreal> edges;
    for (const QLineF &rule : page.rules) {
        if (rule.dy() == 0 && !edges.contains(rule.y1()))
            edges.append(rule.y1());
    }
    std::sort(edges.begin(), edges.end());
    return edges;
}

}  // namespace

class DocumentTest : public QObject {
    Q_OBJECT

private slots:
    void breaksMakePages_data();
    void breaksMakePages();
    void tableFlowsOverPages_data();
    void tableFlowsOverPages();
    void blocksStayTogether_data();
    void blocksStayTogether();
    void longParagraphContinues();
    void receiptWrapsLongTitle_data();
    void receiptWrapsLongTitle();
    void textLayerReadsBack();
    void receiptPaper_data();
    void receiptPaper();
    void tableColumns_data();
    void tableColumns();
    void chartBesideTable_data();
    void chartBesideTable();
    void writePdfReportsFailure();
    void fakePrinterWritesJobs_data();
    void fakePrinterWritesJobs();
    void fakePrinterWritesNothing_data();
    void fakePrinterWritesNothing();
    void fakeFilesAnswerInOrder();
    void fakeFilesFailUnanswered_data();
    void fakeFilesFailUnanswered();
};

void DocumentTest::breaksMakePages_data()
{
    QTest::addColumn<Document>("document");
    // Per page, a text found on that page alone; "" for a page left blank.
    QTest::addColumn<QStringList>("marks");
    const auto readers = [](int count) {
        QStringList marks;
        for (int r = 1; r <= count; ++r)
            marks.append(QStringLiteral("借阅证号 %1 号").arg(r));
        return marks;
    };
    const QString a = QStringLiteral("甲"), b = QStringLiteral("乙");
    QTest::newRow("one reader") << notice(1) << readers(1);
    QTest::newRow("three readers") << notice(3) << readers(3);
    QTest::newRow("twelve readers") << notice(12) << readers(12);
    QTest::newRow("nothing") << Document() << QStringList{QString()};
    QTest::newRow("break first") << Document().addPageBreak().addParagraph(a)
                                 << QStringList{QString(), a};
    QTest::newRow("break last") << Document().addParagraph(a).addPageBreak()
                                << QStringList{a, QString()};
    QTest::newRow("two breaks in a row")
        << Document().addParagraph(a).addPageBreak().addPageBreak().addParagraph(b)
        << QStringList{a, QString(), b};
}

void DocumentTest::breaksMakePages()
{
    QFETCH(Document, document);
    QFETCH(QStringList, marks);
    const QList<Page> pages = layOut(document).pages;
    QCOMPARE(pages.size(), marks.size());
    for (qsizetype i = 0; i < pages.size(); ++i) {
        const QString &mark = marks.at(i);
        if (mark.isEmpty()) {
            QVERIFY2(pages.at(i).texts.isEmpty(), qPrintable(pageText(pages.at(i))));
            continue;
        }
        for (qsizetype j = 0; j < pages.size(); ++j)
            QCOMPARE(pageText(pages.at(j)).contains(mark), i == j);
    }

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("notice.pdf"));
    int written = 0;
    QString error;
    QVERIFY2(DocumentRenderer::writePdf(document, path, &error, &written), qPrintable(error));
    QCOMPARE(written, marks.size());
    QCOMPARE(pdfPageCount(readAll(path)), marks.size());
}

void DocumentTest::tableFlowsOverPages_data()
{
    QTest::addColumn<Document>("document");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("titleLength");
    QTest::addColumn<bool>("severalPages");
    const QPageSize a4(QPageSize::A4), roll = Document::paper(80, 200);
    QTest::newRow("few rows on A4") << loanList(a4, 5, 1) << 5 << 1 << false;
    QTest::newRow("many rows on A4") << loanList(a4, 150, 1) << 150 << 1 << true;
    QTest::newRow("receipt roll") << loanList(roll, 40, 1) << 40 << 1 << true;
    QTest::newRow("wrapped titles on a roll") << loanList(roll, 25, 6) << 25 << 6 << true;
}

void DocumentTest::tableFlowsOverPages()
{
    QFETCH(Document, document);
    QFETCH(int, rows);
    QFETCH(int, titleLength);
    QFETCH(bool, severalPages);
    const LaidOut laid = layOut(document);
    const QList<Page> &pages = laid.pages;
    QCOMPARE(pages.size() > 1, severalPages);

    int previous = 0;
    for (int row = 1; row <= rows; ++row) {
        // A row split over two pages would leave its title whole on neither.
        const QString title = bookTitle(row, titleLength);
        QList<int> holders;
        for (int p = 0; p < pages.size(); ++p) {
            if (pageText(pages.at(p)).contains(title))
                holders.append(p);
        }
        QCOMPARE(holders.size(), 1);
        QVERIFY(holders.at(0) >= previous);
        previous = holders.at(0);
    }

    for (int p = 0; p < pages.size(); ++p) {
        const Page &page = pages.at(p);
        QVERIFY(page.texts.size() >= 3);
        QCOMPARE(page.texts.at(0).text, QStringLiteral("序号"));
        QCOMPARE(page.texts.at(1).text, QStringLiteral("书名"));
        QCOMPARE(page.texts.at(2).text, QStringLiteral("读者"));
        for (const DocumentRenderer::TextRun &run : page.texts) {
            QVERIFY2(run.rect.left() >= -kSlack && run.rect.right() <= laid.area.width() + kSlack,
                     qPrintable(run.text));
            QVERIFY2(run.rect.bottom() <= laid.area.height() + kSlack, qPrintable(run.text));
        }
        const QList<qreal> edges = rowEdges(page);
        QVERIFY(edges.size() >= 3);  // the header and at least one row
        QVERIFY(edges.back() <= laid.area.height() + kSlack);
        if (p + 1 < pages.size()) {
            // Full: the row that opens the next page would not have fitted below.
            const QList<qreal> next = rowEdges(pages.at(p + 1));
            QVERIFY(edges.back() + next.at(2) - next.at(1) > laid.area.height());
        }
    }
}

void DocumentTest::blocksStayTogether_data()
{
    QTest::addColumn<Document>("tail");
    QTest::addColumn<QString>("together");  // the tail's texts that must share one page
    const QString heading = QStringLiteral("借阅明细");
    const QString text =
        QStringLiteral("本凭条请妥善保管，还书时出示。逾期每册每日罚款一角，损坏或遗失照价赔偿。");
    const QList<TableColumn> columns{{QStringLiteral("书名"), Qt::AlignLeft, 3},
                                     {QStringLiteral("应还"), Qt::AlignRight, 2}};
    const QList<QStringList> rows{{QStringLiteral("三国演义"), QStringLiteral("2024-04-01")},
                                  {QStringLiteral("水浒传"), QStringLiteral("2024-04-02")}};
    QTest::newRow("paragraph") << Document().addParagraph(text) << text;
    QTest::newRow("heading and paragraph")
        << Document().addHeading(heading, 2).addParagraph(text) << heading + text.left(4);
    // Too long to join its heading on a fresh page: it starts below the heading instead.
    QTest::newRow("heading and a long paragraph")
        << Document().addHeading(heading, 2).addParagraph(text.repeated(6))
        << heading + text.left(4);
    QTest::newRow("heading and table") << Document().addHeading(heading, 2).addTable(columns, rows)
                                       << heading + QStringLiteral("书名应还三国演义2024-04-01");
    QTest::newRow("table header and first row")
        << Document().addTable(columns, rows) << QStringLiteral("书名应还三国演义2024-04-01");
}

void DocumentTest::blocksStayTogether()
{
    QFETCH(Document, tail);
    QFETCH(QString, together);
    // Millimetre by millimetre the foot moves up past the tail, across every spot that
    // could cut it.
    for (int height = 50; height <= 110; ++height) {
        Document receipt;
        receipt.pageSize = Document::paper(80, height);
        receipt.margins = {4, 4, 4, 4};
        for (int i = 1; i <= 4; ++i)
            receipt.addParagraph(QStringLiteral("填充第%1行").arg(i));
        receipt.blocks += tail.blocks;
        const LaidOut laid = layOut(receipt);
        int holders = 0;
        for (const Page &page : laid.pages) {
            holders += pageText(page).contains(together);
            for (const DocumentRenderer::TextRun &run : page.texts)
                QVERIFY2(run.rect.bottom() <= laid.area.height() + kSlack, qPrintable(run.text));
        }
        QVERIFY2(holders == 1, qPrintable(QStringLiteral("on paper %1 mm high").arg(height)));
    }
}

void DocumentTest::longParagraphContinues()
{
    const QString before = QStringLiteral("开放时间");
    const QString text = QStringLiteral("图书馆开放时间及借阅规则说明。").repeated(60);
    Document receipt;
    receipt.pageSize = Document::paper(80, 120);
    receipt.addParagraph(before).addParagraph(text);
    const LaidOut laid = layOut(receipt);
    QVERIFY(laid.pages.size() > 1);
    // Too long for any page, it starts where it is rather than leaving the page bare.
    QVERIFY(pageText(laid.pages.at(0)).startsWith(before + text.left(4)));
    QString all;
    for (const Page &page : laid.pages) {
        QVERIFY(!page.texts.isEmpty());
        QVERIFY(page.texts.back().rect.bottom() <= laid.area.height() + kSlack);
        all += pageText(page);
    }
    QCOMPARE(all, before + text);
}

void DocumentTest::receiptWrapsLongTitle_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addRow("left") << int(Qt::AlignLeft);
    QTest::addRow("centred") << int(Qt::AlignHCenter);
    QTest::addRow("right") << int(Qt::AlignRight);
}

void DocumentTest::receiptWrapsLongTitle()
{
    QFETCH(int, alignment);
    const QString title =
        QStringLiteral("城东区图书馆借书凭条（流通部第二服务台，周末及节假日照常开放）");
    Document receipt;
    receipt.pageSize = Document::paper(80, 200);
    receipt.margins = {4, 4, 4, 4};
    receipt.addHeading(title, 1, Qt::Alignment(alignment));
    const LaidOut laid = layOut(receipt);
    QCOMPARE(laid.pages.size(), 1);
    const QList<DocumentRenderer::TextRun> &runs = laid.pages.at(0).texts;
    QVERIFY2(runs.size() >= 2, "the title should wrap onto several lines");
    QCOMPARE(pageText(laid.pages.at(0)), title);

    const qreal width = laid.area.width();
    for (qsizetype i = 0; i < runs.size(); ++i) {
        const QRectF &r = runs.at(i).rect;
        QVERIFY2(r.left() >= -kSlack && r.right() <= width + kSlack, qPrintable(runs.at(i).text));
        if (i + 1 < runs.size())
            QVERIFY2(r.width() > width * 0.75, qPrintable(runs.at(i).text));
        if (i > 0)
            QVERIFY(r.top() >= runs.at(i - 1).rect.bottom() - kSlack);
        switch (alignment) {
        case Qt::AlignLeft:
            QVERIFY(qAbs(r.left()) <= kSlack);
            break;
        case Qt::AlignRight:
            QVERIFY(qAbs(r.right() - width) <= kSlack);
            break;
        default:
            QVERIFY(qAbs(r.left() - (width - r.right())) <= kSlack);
        }
    }
    QCOMPARE(QFontInfo(runs.at(0).font).family(), QStringLiteral("WenQuanYi Micro Hei"));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("receipt.pdf"));
    QVERIFY(DocumentRenderer::writePdf(receipt, path));
    const QString pdf = QString::fromLatin1(readAll(path));
    QVERIFY2(pdf.contains(QStringLiteral("WenQuanYi")), "the CJK face should be embedded");
    const QRegularExpressionMatch box =
        QRegularExpression(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]")).match(pdf);
    QVERIFY(box.hasMatch());
    QVERIFY(qAbs(box.captured(1).toDouble() - 80 / 25.4 * 72) < 1);
    QVERIFY(qAbs(box.captured(2).toDouble() - 200 / 25.4 * 72) < 1);
}

void DocumentTest::textLayerReadsBack()
{
    // Characters some CJK faces map to Kangxi radicals, and a Latin run after its first letter.
    const QString words = QStringLiteral("山日金老至 R0007 <书&\"名\">");
    Document document;
    document.addHeading(words);
    document.addTable({{QStringLiteral("编号")}, {QStringLiteral("书名")}},
                      {{QStringLiteral("B0012"), QStringLiteral("红楼梦(至正本)")}});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("text.pdf"));
    QVERIFY(DocumentRenderer::writePdf(document, path));
    const QString text = lendora::testkit::pdfText(path);
    QVERIFY2(text.contains(words), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("B0012 红楼梦(至正本)")), qPrintable(text));
}

void DocumentTest::receiptPaper_data()
{
    QTest::addColumn<int>("paper");
    QTest::addColumn<int>("books");
    QTest::addColumn<int>("pages");
    QTest::addColumn<qreal>("widthMm");
    QTest::addColumn<qreal>("minHeightMm");  // the page height found lies in [min, max]
    QTest::addColumn<qreal>("maxHeightMm");

    const int roll = int(PaperSettings::ReceiptPaper::Roll80mm);
    const int a5 = int(PaperSettings::ReceiptPaper::A5);
    QTest::newRow("roll, one book: cut short") << roll << 1 << 1 << 80.0 << 40.0 << 120.0;
    QTest::newRow("roll, 30 books: longer") << roll << 30 << 1 << 80.0 << 150.0 << 600.0;
    QTest::newRow("roll, 150 books: full pieces") << roll << 150 << 2 << 80.0 << 600.0 << 600.0;
    QTest::newRow("A5, one book") << a5 << 1 << 1 << 148.0 << 210.0 << 210.0;
    QTest::newRow("A5, 30 books: two pages") << a5 << 30 << 2 << 148.0 << 210.0 << 210.0;
}

void DocumentTest::receiptPaper()
{
    QFETCH(int, paper);
    QFETCH(int, books);
    QFETCH(int, pages);
    QFETCH(qreal, widthMm);
    QFETCH(qreal, minHeightMm);
    QFETCH(qreal, maxHeightMm);
    LoanReceipt receipt;
    receipt.readerId = QStringLiteral("R0007");
    receipt.readerName = QStringLiteral("欧阳\"小<明>&");
    receipt.day = QDate(2026, 12, 7);
    for (int i = 1; i <= books; ++i)
        receipt.books.append({QStringLiteral("B%1").arg(i, 4, 10, QLatin1Char('0')),
                              QStringLiteral("平凡的世界(第%1部)").arg(i), QDate(2027, 1, 6)});
    receipt.remaining.value = 3;
    const Document document = ReceiptDocument::loan(receipt, QStringLiteral("城东区图书馆"),
                                                    PaperSettings::ReceiptPaper(paper));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("receipt.pdf"));
    int written = 0;
    QVERIFY(DocumentRenderer::writePdf(document, path, nullptr, &written));
    QCOMPARE(written, pages);
    const QString pdf = QString::fromLatin1(readAll(path));
    QCOMPARE(pdfPageCount(readAll(path)), pages);
    const QRegularExpressionMatch box =
        QRegularExpression(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]")).match(pdf);
    QVERIFY(box.hasMatch());
    const qreal mm = 72 / 25.4;
    QVERIFY2(qAbs(box.captured(1).toDouble() / mm - widthMm) < 1, qPrintable(box.captured(1)));
    const qreal height = box.captured(2).toDouble() / mm;
    QVERIFY2(height >= minHeightMm - 1 && height <= maxHeightMm + 1,
             qPrintable(QString::number(height)));

    const QString text = lendora::testkit::pdfText(path);
    for (const QString &expected :
         {QStringLiteral("城东区图书馆"), QStringLiteral("借书凭条"), QStringLiteral("R0007"),
          receipt.readerName, QStringLiteral("B0001"), QStringLiteral("2027-01-06"),
          QStringLiteral("本日借出 %1 册,还可借 3 册").arg(books)})
        QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" in ") + text));
}

void DocumentTest::tableColumns_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<qreal>("firstWidth");
    QTest::addColumn<qreal>("secondWidth");
    QTest::addColumn<qreal>("split");  // where the second column starts, of the width
    QTest::addRow("left, even") << int(Qt::AlignLeft) << 1.0 << 1.0 << 0.5;
    QTest::addRow("right, a quarter") << int(Qt::AlignRight) << 1.0 << 3.0 << 0.25;
    QTest::addRow("centred, wide first") << int(Qt::AlignHCenter) << 4.0 << 1.0 << 0.8;
    QTest::addRow("no width counts as one") << int(Qt::AlignRight) << 0.0 << 3.0 << 0.25;
}

void DocumentTest::tableColumns()
{
    QFETCH(int, alignment);
    QFETCH(qreal, firstWidth);
    QFETCH(qreal, secondWidth);
    QFETCH(qreal, split);
    const QStringList amounts{QStringLiteral("1.5"), QStringLiteral("120.00"), QStringLiteral("3")};
    QList<QStringList> rows;
    for (const QString &amount : amounts)
        rows.append({QStringLiteral("罚款"), amount});
    Document document;
    document.addTable({{QStringLiteral("项目"), Qt::AlignLeft, firstWidth},
                       {QStringLiteral("金额"), Qt::Alignment(alignment), secondWidth}},
                      rows);
    const LaidOut laid = layOut(document);
    QCOMPARE(laid.pages.size(), 1);
    const qreal width = laid.area.width();
    const qreal edge = width * split;

    QList<qreal> verticals;
    for (const QLineF &rule : laid.pages.at(0).rules) {
        if (rule.dx() == 0 && !verticals.contains(rule.x1()))
            verticals.append(rule.x1());
    }
    std::sort(verticals.begin(), verticals.end());
    QCOMPARE(verticals.size(), 3);
    QVERIFY(qAbs(verticals.at(0)) <= kSlack);
    QVERIFY(qAbs(verticals.at(1) - edge) <= kSlack);
    QVERIFY(qAbs(verticals.at(2) - width) <= kSlack);

    QList<QRectF> cells;
    for (const DocumentRenderer::TextRun &run : laid.pages.at(0).texts) {
        if (amounts.contains(run.text))
            cells.append(run.rect);
    }
    QCOMPARE(cells.size(), amounts.size());
    for (const QRectF &cell : cells) {
        QVERIFY(cell.left() > edge && cell.right() < width);
        if (alignment == Qt::AlignLeft)
            QVERIFY(qAbs(cell.left() - cells.at(0).left()) <= kSlack);
        else if (alignment == Qt::AlignRight)
            QVERIFY(qAbs(cell.right() - cells.at(0).right()) <= kSlack);
        else
            QVERIFY(qAbs(cell.center().x() - (edge + width) / 2) <= kSlack);
    }
}

void DocumentTest::chartBesideTable_data()
{
    QTest::addColumn<Document>("document");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("chartPage");
    QTest::addColumn<bool>("goesOn");   // pages of the table after the chart's
    QTest::addColumn<QString>("note");  // below the chart on its page, when there is one
    const QPageSize a4(QPageSize::A4), low = Document::paper(210, 150);
    const QString note = QStringLiteral("共 40 册图书从未借出。");
    QTest::newRow("short table beside") << chartPage(a4, 2, 5) << 5 << 0 << false << QString();
    QTest::newRow("long table goes on") << chartPage(a4, 2, 150) << 150 << 0 << true << QString();
    QTest::newRow("no rows: full width") << chartPage(a4, 2, 0) << 0 << 0 << false << QString();
    QTest::newRow("note kept below") << chartPage(a4, 2, 5, note) << 5 << 0 << false << note;
    QTest::newRow("room enough") << chartPage(low, 8, 3) << 3 << 0 << false << QString();
    QTest::newRow("too little room") << chartPage(low, 20, 3) << 3 << 1 << false << QString();
}

void DocumentTest::chartBesideTable()
{
    QFETCH(Document, document);
    QFETCH(int, rows);
    QFETCH(int, chartPage);
    QFETCH(bool, goesOn);
    QFETCH(QString, note);
    const LaidOut laid = layOut(document);
    const int pages = int(laid.pages.size());
    QCOMPARE(pages > chartPage + 1, goesOn);
    QVERIFY(pages > chartPage);
    const qreal width = laid.area.width(), height = laid.area.height();
    const qreal minimum = 60 / 25.4 * 1200;  // device pixels of the writer

    for (int p = 0; p < pages; ++p)
        QCOMPARE(laid.pages.at(p).charts.size(), p == chartPage ? 1 : 0);
    const Page &page = laid.pages.at(chartPage);
    const DocumentRenderer::PlacedChart &placed = page.charts.at(0);
    const QRectF chart = placed.rect;
    QCOMPARE(placed.chart, monthChart());
    QCOMPARE(chart.left(), 0.0);
    QVERIFY(chart.height() >= minimum - kSlack);
    if (note.isEmpty())
        QVERIFY(qAbs(chart.bottom() - height) <= kSlack);
    else
        QVERIFY(chart.bottom() < height - kSlack);
    if (chartPage > 0)
        QCOMPARE(chart.top(), 0.0);
    QVERIFY(qAbs(chart.width() - width * (rows > 0 ? 0.58 : 1)) <= kSlack);

    for (const DocumentRenderer::TextRun &run : page.texts)
        QVERIFY2(!run.rect.intersects(chart), qPrintable(run.text));
    if (rows > 0) {
        // Beside it, starting at its top.
        const QList<qreal> edges = rowEdges(page);
        QVERIFY(qAbs(edges.front() - chart.top()) <= kSlack);
        QVERIFY(edges.back() <= chart.bottom() + kSlack);
        for (const QLineF &rule : page.rules)
            QVERIFY(std::min(rule.x1(), rule.x2()) > chart.right());
    } else {
        QVERIFY(page.rules.isEmpty());
    }

    for (int p = chartPage + 1; p < pages; ++p) {
        // Going on at full width under its header again.
        const Page &next = laid.pages.at(p);
        QVERIFY(next.texts.size() >= 2);
        QCOMPARE(next.texts.at(0).text, QStringLiteral("书名"));
        const QLineF top = next.rules.at(0);
        QVERIFY(qAbs(top.x1()) <= kSlack && qAbs(top.x2() - width) <= kSlack);
    }
    QStringList texts;
    for (const Page &each : laid.pages) {
        for (const DocumentRenderer::TextRun &run : each.texts)
            texts << run.text;
    }
    for (int row = 1; row <= rows; ++row)
        QCOMPARE(texts.count(QStringLiteral("第%1册").arg(row)), 1);
    if (!note.isEmpty()) {
        const DocumentRenderer::TextRun &last = page.texts.back();
        QCOMPARE(last.text, note);
        QVERIFY(last.rect.top() >= chart.bottom() && last.rect.bottom() <= height + kSlack);
    }
}

void DocumentTest::writePdfReportsFailure()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing/notice.pdf"));
    QString error;
    QVERIFY(!DocumentRenderer::writePdf(notice(1), path, &error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    QVERIFY(!QFile::exists(path));
}

void DocumentTest::fakePrinterWritesJobs_data()
{
    QTest::addColumn<QStringList>("jobs");      // "" to the printer, else a file in the folder
    QTest::addColumn<QStringList>("existing");  // files there before
    QTest::addColumn<QStringList>("expected");
    const QString first = QStringLiteral("printed/001.pdf"),
                  second = QStringLiteral("printed/002.pdf");
    QTest::newRow("to the printer")
        << QStringList{QString(), QString()} << QStringList() << QStringList{first, second};
    QTest::newRow("to a file") << QStringList{QStringLiteral("a.pdf")} << QStringList()
                               << QStringList{QStringLiteral("a.pdf")};
    QTest::newRow("mixed") << QStringList{QString(), QStringLiteral("a.pdf"), QString()}
                           << QStringList() << QStringList{first, QStringLiteral("a.pdf"), second};
    QTest::newRow("after an earlier run")
        << QStringList{QString()} << QStringList{first} << QStringList{second};
}

void DocumentTest::fakePrinterWritesJobs()
{
    QFETCH(QStringList, jobs);
    QFETCH(QStringList, existing);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    const QDir app(dir.path());
    for (const QString &name : existing) {
        QVERIFY(app.mkpath(QFileInfo(app.filePath(name)).path()));
        QFile old(app.filePath(name));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("earlier");
    }

    FakePrinter printer(dir.path());
    QList<Document> sent;
    for (qsizetype i = 0; i < jobs.size(); ++i) {
        sent.append(notice(int(i) + 1));  // job n has n pages
        const QString pdfPath = jobs.at(i).isEmpty() ? QString() : app.filePath(jobs.at(i));
        QVERIFY(printer.print(sent.back(), pdfPath));
    }
    QStringList paths;
    for (const QString &name : expected)
        paths.append(app.filePath(name));
    QCOMPARE(printer.printed, paths);
    QCOMPARE(printer.documents, sent);
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QByteArray pdf = readAll(paths.at(i));
        QVERIFY2(pdf.startsWith("%PDF-"), qPrintable(paths.at(i)));
        QCOMPARE(pdfPageCount(pdf), int(i) + 1);
    }
    for (const QString &name : existing)
        QCOMPARE(readAll(app.filePath(name)), QByteArray("earlier"));
}

void DocumentTest::fakePrinterWritesNothing_data()
{
    QTest::addColumn<bool>("succeed");
    QTest::addColumn<QString>("pdfPath");
    QTest::newRow("cancelled at the printer") << false << QString();
    QTest::newRow("cancelled, to a file") << false << QStringLiteral("a.pdf");
    QTest::newRow("folder missing") << true << QStringLiteral("missing/a.pdf");
}

void DocumentTest::fakePrinterWritesNothing()
{
    QFETCH(bool, succeed);
    QFETCH(QString, pdfPath);
    QTemporaryDir dir;
    FakePrinter printer(dir.path());
    printer.succeed = succeed;
    QVERIFY(!printer.print(notice(1), pdfPath.isEmpty() ? QString() : dir.filePath(pdfPath)));
    QVERIFY(printer.printed.isEmpty());
    QVERIFY(printer.documents.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void DocumentTest::fakeFilesAnswerInOrder()
{
    FakeFiles files;
    files.answerOpen(QStringLiteral("/in/readers.csv"));
    files.answerSave(QStringLiteral("/out/notice.pdf"));
    files.answerOpen(QString());
    files.answerSave(QStringLiteral("/out/day.pdf"));
    const QString filter = QStringLiteral("*.csv");
    QCOMPARE(files.openFileName(QStringLiteral("导入读者"), filter),
             QStringLiteral("/in/readers.csv"));
    QCOMPARE(files.openFileName(QStringLiteral("导入图书"), filter), QString());
    QCOMPARE(files.saveFileName(QStringLiteral("保存催还通知"), QStringLiteral("n.pdf"), filter),
             QStringLiteral("/out/notice.pdf"));
    QCOMPARE(files.pendingAnswers(), 1);
    QCOMPARE(files.saveFileName(QStringLiteral("保存日报"), QStringLiteral("d.pdf"), filter),
             QStringLiteral("/out/day.pdf"));
    QCOMPARE(files.asked,
             (QStringList{QStringLiteral("导入读者"), QStringLiteral("导入图书"),
                          QStringLiteral("保存催还通知"), QStringLiteral("保存日报")}));
    QCOMPARE(files.pendingAnswers(), 0);
}

void DocumentTest::fakeFilesFailUnanswered_data()
{
    QTest::addColumn<bool>("save");
    QTest::newRow("open") << false;
    QTest::newRow("save") << true;
}

void DocumentTest::fakeFilesFailUnanswered()
{
    QFETCH(bool, save);
    FakeFiles files;
    // An answer queued for the other kind of dialog does not count.
    if (save)
        files.answerOpen(QStringLiteral("/in/readers.csv"));
    else
        files.answerSave(QStringLiteral("/out/notice.pdf"));
    const QString caption = QStringLiteral("导出读者");
    // The fake's own failure is the expected one; without it the check below passes
    // unexpectedly and the test fails.
    QEXPECT_FAIL("", "no answer queued", Continue);
    const QString answer = save ? files.saveFileName(caption, QString(), QString())
                                : files.openFileName(caption, QString());
    QCOMPARE(answer, QString());
    QCOMPARE(files.asked, QStringList{caption});
    QCOMPARE(files.pendingAnswers(), 1);
}

int runChartTest(int argc, char *argv[]);
int runStatisticsTest(int argc, char *argv[]);

// One executable for the documents, the charts they carry and the printouts made of them.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    DocumentTest documents;
    const int failed = QTest::qExec(&documents, argc, argv);
    return failed + runChartTest(argc, argv) + runStatisticsTest(argc, argv);
}
#include "tst_document.moc"
