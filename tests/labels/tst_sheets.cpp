#include "LabelScan.h"
#include "TestMain.h"
#include "base/JobControl.h"
#include "core/settings/LabelStock.h"
#include "reports/Barcode.h"
#include "reports/DocumentRenderer.h"
#include "reports/LabelSheet.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QtTest>

using namespace lendora;

Q_DECLARE_METATYPE(lendora::LabelStock)

namespace {

const QString kLibrary = QStringLiteral("岚枢市第一中学图书馆");

LabelStock stockNamed(const QString &id)
{
    if (id == QLatin1String("custom 3x2"))
        return LabelStock::custom({120, 100}, 3, 2, {55, 30}, {4, 3}, {2, 2});
    if (const std::optional<LabelStock> stock = LabelStock::find(LabelStock::labelStocks(), id))
        return *stock;
    return *LabelStock::find(LabelStock::cardStocks(), id);
}

// Numbers as a library has them: plain, with a class mark, long, and Chinese.
QStringList numbers(int count)
{
    const QStringList kinds = {QStringLiteral("B%1"),       QStringLiteral("TP312-%1"),
                               QStringLiteral("2026000%1"), QStringLiteral("馆藏%1"),
                               QStringLiteral("I247.5/%1"), QStringLiteral("善本·甲%1")};
    QStringList all;
    for (int i = 0; i < count; ++i)
        all << kinds.at(i % kinds.size()).arg(1000 + i);
    return all;
}

QList<LabelBook> booksOf(const QStringList &ids)
{
    QList<LabelBook> books;
    for (const QString &id : ids)
        books << LabelBook{id, QStringLiteral("《%1》的一本书名相当长的图书,标签上放不下").arg(id)};
    return books;
}

QList<CardReader> readersOf(const QStringList &numbers)
{
    QList<CardReader> readers;
    for (const QString &number : numbers)
        readers << CardReader{number, QStringLiteral("欧阳明月"), QStringLiteral("高二(3)班")};
    return readers;
}

}  // namespace

class SheetsTest : public QObject {
    Q_OBJECT

private slots:
    void everyStockScans_data();
    void everyStockScans();
    void nothingLeavesItsLabel_data();
    void nothingLeavesItsLabel();
    void stocksFitTheirPaper();
    void customStockProblems_data();
    void customStockProblems();
    void stockText_data();
    void stockText();
    void symbology_data();
    void symbology();
    void cancelledSheetsStop();
};

void SheetsTest::everyStockScans_data()
{
    QTest::addColumn<QString>("stock");
    QTest::addColumn<bool>("cards");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("skip");
    QTest::addColumn<int>("pages");
    QTest::newRow("a4-3x8, over a page") << "a4-3x8" << false << 27 << 0 << 2;
    QTest::newRow("a4-4x10, half used") << "a4-4x10" << false << 12 << 33 << 2;
    QTest::newRow("a4-2x7") << "a4-2x7" << false << 9 << 2 << 1;
    QTest::newRow("roll-50x30") << "roll-50x30" << false << 6 << 0 << 6;
    QTest::newRow("roll-40x30") << "roll-40x30" << false << 6 << 0 << 6;
    QTest::newRow("custom 3x2") << "custom 3x2" << false << 7 << 1 << 2;
    QTest::newRow("card") << "card" << true << 6 << 0 << 6;
    QTest::newRow("a4-2x5 cards") << "a4-2x5" << true << 12 << 0 << 2;
}

void SheetsTest::everyStockScans()
{
    QFETCH(QString, stock);
    QFETCH(bool, cards);
    QFETCH(int, count);
    QFETCH(int, skip);
    QFETCH(int, pages);
    const LabelStock paper = stockNamed(stock);
    const QStringList asked = numbers(count);
    QString error;
    const std::optional<Document> document =
        cards ? LabelSheet::readerCards(readersOf(asked), kLibrary, paper, nullptr, &error)
              : LabelSheet::bookLabels(booksOf(asked), kLibrary, paper, skip, nullptr, &error);
    QVERIFY2(document, qPrintable(error));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("labels.pdf"));
    int written = 0;
    QVERIFY2(DocumentRenderer::writePdf(*document, pdf, &error, &written), qPrintable(error));
    QCOMPARE(written, pages);

    QString problem;
    const QStringList scanned = testkit::scanLabels(pdf, paper, &problem);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QStringList expected(skip);  // the places skipped stay empty
    expected << asked;
    QCOMPARE(scanned, expected);
}

void SheetsTest::nothingLeavesItsLabel_data()
{
    everyStockScans_data();
}

// Every text and barcode stays inside its own label, and no text lies over a barcode, on
// every stock, with long titles and names.
void SheetsTest::nothingLeavesItsLabel()
{
    QFETCH(QString, stock);
    QFETCH(bool, cards);
    QFETCH(int, count);
    QFETCH(int, skip);
    const LabelStock paper = stockNamed(stock);
    const QStringList asked = numbers(count);
    QString error;
    const std::optional<Document> document =
        cards ? LabelSheet::readerCards(readersOf(asked), kLibrary, paper, nullptr, &error)
              : LabelSheet::bookLabels(booksOf(asked), kLibrary, paper, skip, nullptr, &error);
    QVERIFY(document);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    const QList<DocumentRenderer::Page> laidOut = DocumentRenderer::layOut(*document, &writer);
    QCOMPARE(laidOut.size(), document->blocks.size());
    const qreal dotsPerMm = writer.logicalDpiX() / 25.4;
    const qreal slack = 0.05 * dotsPerMm;
    int placed = 0;
    for (const DocumentRenderer::Page &page : laidOut) {
        QList<QRectF> cells;
        for (int i = 0; i < paper.perPage(); ++i) {
            const QRectF mm = paper.cell(i);
            cells << QRectF(mm.x() * dotsPerMm, mm.y() * dotsPerMm, mm.width() * dotsPerMm,
                            mm.height() * dotsPerMm)
                         .adjusted(-slack, -slack, slack, slack);
        }
        const auto cellOf = [&cells](const QRectF &rect) {
            for (qsizetype i = 0; i < cells.size(); ++i) {
                if (cells.at(i).contains(rect))
                    return i;
            }
            return qsizetype(-1);
        };
        for (const DocumentRenderer::PlacedBarcode &barcode : page.barcodes) {
            QVERIFY2(cellOf(barcode.rect) >= 0, qPrintable(barcode.barcode.text));
            ++placed;
        }
        for (const DocumentRenderer::TextRun &run : page.texts) {
            QVERIFY2(cellOf(run.rect) >= 0, qPrintable(run.text));
            for (const DocumentRenderer::PlacedBarcode &barcode : page.barcodes)
                QVERIFY2(!run.rect.intersects(barcode.rect), qPrintable(run.text));
        }
    }
    QCOMPARE(placed, count);
}

void SheetsTest::stocksFitTheirPaper()
{
    for (const LabelStock &stock : LabelStock::labelStocks() + LabelStock::cardStocks()) {
        QVERIFY2(stock.problem().isEmpty(), qPrintable(stock.id));
        // Neighbours never overlap.
        for (int i = 0; i + 1 < stock.perPage(); ++i) {
            const QRectF a = stock.cell(i);
            const QRectF b = stock.cell(i + 1);
            QVERIFY2(a.intersected(b).isEmpty() || a.intersected(b).width() < 1e-9,
                     qPrintable(stock.id));
        }
    }
    // The sheets of the label makers, as sold.
    QCOMPARE(LabelStock::find(LabelStock::labelStocks(), "a4-3x8")->perPage(), 24);
    QCOMPARE(LabelStock::find(LabelStock::labelStocks(), "a4-4x10")->perPage(), 40);
    QCOMPARE(LabelStock::find(LabelStock::labelStocks(), "a4-2x7")->perPage(), 14);
    QCOMPARE(LabelStock::find(LabelStock::cardStocks(), "a4-2x5")->perPage(), 10);
}

void SheetsTest::customStockProblems_data()
{
    QTest::addColumn<LabelStock>("stock");
    QTest::addColumn<QString>("problem");
    QTest::newRow("fits exactly") << LabelStock::custom({210, 297}, 8, 3, {70, 37}, {0, 0.5},
                                                        {0, 0})
                                  << "";
    QTest::newRow("a column too many")
        << LabelStock::custom({210, 297}, 8, 4, {70, 37}, {0, 0}, {0, 0})
        << "4 列标签连同左边距和间距比纸张还宽。";
    QTest::newRow("gaps push it over")
        << LabelStock::custom({210, 297}, 8, 3, {70, 37}, {0, 0}, {0, 1})
        << "8 行标签连同上边距和间距比纸张还高。";
    QTest::newRow("no rows") << LabelStock::custom({210, 297}, 0, 3, {70, 37}, {0, 0}, {0, 0})
                             << "纸张和标签的尺寸必须大于 0,行数和列数至少为 1。";
    QTest::newRow("no label width") << LabelStock::custom({210, 297}, 1, 1, {0, 37}, {0, 0}, {0, 0})
                                    << "纸张和标签的尺寸必须大于 0,行数和列数至少为 1。";
}

void SheetsTest::customStockProblems()
{
    QFETCH(LabelStock, stock);
    QFETCH(QString, problem);
    QCOMPARE(stock.problem(), problem);
}

void SheetsTest::stockText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("a sheet") << "a4-2x7" << true;
    QTest::newRow("a roll") << "roll-40x30" << true;
    QTest::newRow("custom") << "custom 120x100 3x2 55x30 4,3 2,2" << true;
    QTest::newRow("custom that does not fit") << "custom 120x100 3x3 55x30 4,3 2,2" << false;
    QTest::newRow("a card stock is not a label stock") << "a4-2x5" << false;
    QTest::newRow("unknown") << "a5-1x1" << false;
    QTest::newRow("custom cut short") << "custom 120x100 3x2" << false;
    QTest::newRow("custom, half a row") << "custom 120x100 2.5x2 55x30 4,3 2,2" << false;
    QTest::newRow("empty") << "" << false;
}

void SheetsTest::stockText()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    const std::optional<LabelStock> stock = LabelStock::fromText(text);
    QCOMPARE(stock.has_value(), valid);
    if (stock)
        QCOMPARE(stock->toText(), text);
}

void SheetsTest::symbology_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("qr");
    QTest::newRow("digits") << "0012345" << false;
    QTest::newRow("class mark") << "I247.5/12 A" << false;
    QTest::newRow("Chinese") << "馆藏001" << true;
    QTest::newRow("full-width digit") << "B１" << true;
    QTest::newRow("accented") << "Café" << true;
}

void SheetsTest::symbology()
{
    QFETCH(QString, number);
    QFETCH(bool, qr);
    const std::optional<Barcode> barcode = Barcode::make(number);
    QVERIFY(barcode);
    QCOMPARE(barcode->kind == Barcode::Kind::QrCode, qr);
    QVERIFY(!barcode->bars.isEmpty());
}

void SheetsTest::cancelledSheetsStop()
{
    JobControl job;
    int reports = 0;
    job.setWatcher([&](const JobControl::State &) {
        if (++reports == 3)
            job.cancel();
    });
    QString error;
    const std::optional<Document> document = LabelSheet::bookLabels(
        booksOf(numbers(50)), kLibrary, LabelStock::labelStocks().constFirst(), 0, &job, &error);
    QVERIFY(!document);
    QVERIFY(error.isEmpty());
    QCOMPARE(reports, 3);
}

LENDORA_TEST_CLASS(SheetsTest)

#include "tst_sheets.moc"
