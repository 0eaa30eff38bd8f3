#include "LabelScan.h"
#include "TestApp.h"
#include "TestMain.h"
#include "base/DeskSettings.h"
#include "base/KeyValueFile.h"
#include "gui/widgets/Texts.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QtTest>

using namespace lendora;
using lendora::testkit::TestApp;

namespace {

const QString L = QStringLiteral("FrmBookLabels");
const QString C = QStringLiteral("FrmReaderCards");

void seedBooks(TestApp &t)
{
    const QList<QVariantList> books = {
        {"B1001", "红楼梦", "2026-03-02"},   {"B1002", "史记", "2026-03-02"},
        {"B1003", "论语译注", "2026-04-18"}, {"B1010", "天工开物", "2026-05-09"},
        {"B2001", "本草纲目", "2026-05-09"}, {"馆藏001", "永乐大典残卷", "2026-05-10"},
        {"B0999", "说文解字", "2026-01-01"},
    };
    for (const QVariantList &book : books)
        t.exec(
            "insert into bookInfo (书籍编号, 书籍名称, 类别代码, 登记日期) values (?, ?, 'I', ?)",
            book);
}

void seedReaders(TestApp &t)
{
    const QList<QVariantList> readers = {
        {"001", "张伟", "男", "", "计算机系"},
        {"002", "王芳", "女", "", "外语系"},
        {"甲3", "欧阳明月", "女", "", "高二(3)班"},
    };
    for (const QVariantList &reader : readers)
        t.exec("insert into readerInfo values (?, ?, ?, ?, ?)", reader);
}

// The numbers a document's barcodes carry, page by page, in order.
QStringList barcodeTexts(const Document &document)
{
    QStringList texts;
    for (const Block &block : document.blocks) {
        if (const auto *sheet = std::get_if<Sheet>(&block)) {
            for (const SheetBarcode &barcode : sheet->barcodes)
                texts << barcode.barcode.text;
        }
    }
    return texts;
}

QStringList texts(TestApp &t)
{
    return t.prompter().texts();
}

QString writeList(TestApp &t, const QByteArray &bytes)
{
    const QString path = QDir(t.appDir()).filePath(QStringLiteral("list.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

void openLabels(TestApp &t)
{
    t.login();
    t.trigger("mnuBookLabels");
    QVERIFY(t.window(L));
}

void chooseStock(TestApp &t, const QString &window, const QString &id)
{
    auto *list = t.control<QComboBox>(window, "cboStock");
    list->setCurrentIndex(list->findData(id));
    QCOMPARE(list->currentData().toString(), id);
}

}  // namespace

class LabelWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void booksChosen_data();
    void booksChosen();
    void refused_data();
    void refused();
    void pickedInTheBookList();
    void paperGoesToItsPrinter_data();
    void paperGoesToItsPrinter();
    void lastStockRemembered();
    void pdfScans();
    void cancelLeavesNoFile();
    void closingCancels();
    void previewNotesQrCodes();
    void cardOfTheReaderShown();
    void cardsChosen_data();
    void cardsChosen();
};

void LabelWindowsTest::booksChosen_data()
{
    QTest::addColumn<QString>("way");  // the option button
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QStringList>("printed");
    QTest::newRow("a range, as text")
        << "optRange"
        << "B1001"
        << "B2000" << QByteArray() << QStringList{"B1001", "B1002", "B1003", "B1010"};
    QTest::newRow("one number") << "optRange"
                                << "B1002"
                                << "B1002" << QByteArray() << QStringList{"B1002"};
    QTest::newRow("entered on days")
        << "optAdded"
        << "2026-05-09"
        << "2026-05-10" << QByteArray() << QStringList{"B1010", "B2001", "馆藏001"};
    QTest::newRow("a list, in its order") << "optList"
                                          << ""
                                          << ""
                                          << QByteArray("\xEF\xBB\xBF"
                                                        "B2001\r\n馆藏001\n\n  B0999  \nB2001\n")
                                          << QStringList{"B2001", "馆藏001", "B0999", "B2001"};
}

void LabelWindowsTest::booksChosen()
{
    QFETCH(QString, way);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QByteArray, list);
    QFETCH(QStringList, printed);
    TestApp t;
    seedBooks(t);
    openLabels(t);
    t.control<QRadioButton>(L, way)->click();
    if (way == QLatin1String("optRange")) {
        t.type(L, "txtFrom", from);
        t.type(L, "txtTo", to);
    } else if (way == QLatin1String("optAdded")) {
        t.control<QDateEdit>(L, "dtpFrom")->setDate(QDate::fromString(from, Qt::ISODate));
        t.control<QDateEdit>(L, "dtpTo")->setDate(QDate::fromString(to, Qt::ISODate));
    } else {
        t.files().answerOpen(writeList(t, list));
        t.click(L, "cmdBrowse");
    }
    t.click(L, "cmdPrint");
    QCOMPARE(texts(t), QStringList());
    QCOMPARE(t.printer().documents.size(), 1);
    QCOMPARE(barcodeTexts(t.printer().documents.first()), printed);
    QCOMPARE(t.progress().jobs().size(), 1);
    QCOMPARE(t.progress().jobs().first().outcome, Progress::Outcome::Finished);
}

void LabelWindowsTest::refused_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QByteArray>("list");  // "-": no file
    QTest::addColumn<QString>("message");
    QTest::newRow("no range") << "optRange"
                              << "B1001"
                              << "" << QByteArray() << "请输入起止书籍编号!";
    QTest::newRow("nothing in the range")
        << "optRange"
        << "C"
        << "D" << QByteArray() << "书籍编号从 C 到 D 之间没有图书。";
    QTest::newRow("days the wrong way round")
        << "optAdded"
        << "2026-05-10"
        << "2026-05-09" << QByteArray() << "起始日期不能晚于结束日期!";
    QTest::newRow("nothing entered then")
        << "optAdded"
        << "2025-01-01"
        << "2025-12-31" << QByteArray() << "2025-01-01 到 2025-12-31 之间没有登记的图书。";
    QTest::newRow("numbers not in the library")
        << "optList"
        << ""
        << "" << QByteArray("B1001\nX1\nB1002\nX2\nX1\n")
        << "这些书籍编号不在书库中:X1、X2\n没有打印任何标签。";
    QTest::newRow("an empty list")
        << "optList"
        << ""
        << "" << QByteArray("\r\n  \r\n") << "编号清单文件 %1 中没有编号。";
    QTest::newRow("no list chosen") << "optList"
                                    << ""
                                    << "" << QByteArray("-") << "请选择编号清单文件!";
}

void LabelWindowsTest::refused()
{
    QFETCH(QString, way);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QByteArray, list);
    QFETCH(QString, message);
    TestApp t;
    seedBooks(t);
    openLabels(t);
    t.control<QRadioButton>(L, way)->click();
    t.type(L, "txtFrom", from);
    t.type(L, "txtTo", to);
    t.control<QDateEdit>(L, "dtpFrom")->setDate(QDate::fromString(from, Qt::ISODate));
    t.control<QDateEdit>(L, "dtpTo")->setDate(QDate::fromString(to, Qt::ISODate));
    if (way == QLatin1String("optList") && list != "-") {
        const QString path = writeList(t, list);
        t.type(L, "txtListFile", QDir::toNativeSeparators(path));
        if (message.contains(QLatin1String("%1")))
            message = message.arg(QDir::toNativeSeparators(path));
    }
    const QString pdf = QDir(t.appDir()).filePath(QStringLiteral("labels.pdf"));
    t.files().answerSave(pdf);
    t.click(L, "cmdPdf");
    t.click(L, "cmdPrint");
    // Told once for each try, nothing made, nothing printed, no file.
    QCOMPARE(texts(t), (QStringList{message, message}));
    QCOMPARE(t.prompter().shown().first().prompt.title, hintTitle());
    QVERIFY(t.printer().documents.isEmpty());
    QVERIFY(t.progress().jobs().isEmpty());
    QVERIFY(!QFile::exists(pdf));
    QCOMPARE(t.files().pendingAnswers(), 1);  // never asked where to save
}

void LabelWindowsTest::pickedInTheBookList()
{
    TestApp t;
    seedBooks(t);
    t.login();
    t.trigger("mnuLendora");
    auto *grid = t.control<QTableView>("FrmLendora", "DataGrid1");
    QVERIFY(grid);
    // The clerk picks the rows of B1003 and B1001, in that order, with Ctrl held.
    const QAbstractItemModel *model = grid->model();
    QList<int> rows;
    for (const char *id : {"B1003", "B1001"}) {
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->index(row, 0).data().toString() == QLatin1String(id))
                rows << row;
        }
    }
    QCOMPARE(rows.size(), 2);
    grid->clearSelection();
    for (int row : rows)
        grid->selectionModel()->select(model->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    t.click("FrmLendora", "cmdLabels");
    QVERIFY(t.window(L));
    QVERIFY(t.control<QRadioButton>(L, "optPicked")->isChecked());
    QCOMPARE(t.text(L, "lblPicked"), QStringLiteral("2 本"));
    t.click(L, "cmdPrint");
    QCOMPARE(texts(t), QStringList());
    // In the book list's order.
    QCOMPARE(barcodeTexts(t.printer().documents.first()), (QStringList{"B1001", "B1003"}));
}

void LabelWindowsTest::paperGoesToItsPrinter_data()
{
    QTest::addColumn<QString>("stock");
    QTest::addColumn<int>("paper");
    QTest::addColumn<QString>("printer");
    QTest::newRow("A4 sheet") << "a4-4x10" << int(PrinterKind::Page) << "Laser";
    QTest::newRow("roll") << "roll-40x30" << int(PrinterKind::Label) << "Zebra";
}

void LabelWindowsTest::paperGoesToItsPrinter()
{
    QFETCH(QString, stock);
    QFETCH(int, paper);
    QFETCH(QString, printer);
    TestApp t;
    seedBooks(t);
    const QString settings = QDir(t.appDir()).filePath(DeskSettings::fileName());
    SetKeyValue(settings, QStringLiteral("LabelPrinter"), QStringLiteral("Zebra"));
    SetKeyValue(settings, QStringLiteral("PagePrinter"), QStringLiteral("Laser"));
    openLabels(t);
    t.type(L, "txtFrom", "B1001");
    t.type(L, "txtTo", "B1003");
    chooseStock(t, L, stock);
    t.click(L, "cmdPrint");
    QCOMPARE(t.printer().papers, (QList<PrinterKind>{PrinterKind(paper)}));
    QCOMPARE(t.printer().printers, (QStringList{printer}));
}

void LabelWindowsTest::lastStockRemembered()
{
    TestApp t;
    seedBooks(t);
    openLabels(t);
    // The first time: the first sheet.
    QCOMPARE(t.control<QComboBox>(L, "cboStock")->currentData().toString(), "a4-3x8");
    chooseStock(t, L, "custom");
    t.control<QDoubleSpinBox>(L, "spnPageWidth")->setValue(120);
    t.control<QDoubleSpinBox>(L, "spnPageHeight")->setValue(100);
    t.control<QSpinBox>(L, "spnRows")->setValue(3);
    t.control<QSpinBox>(L, "spnColumns")->setValue(2);
    t.control<QDoubleSpinBox>(L, "spnLabelWidth")->setValue(55);
    t.control<QDoubleSpinBox>(L, "spnLabelHeight")->setValue(30);
    t.control<QDoubleSpinBox>(L, "spnLeft")->setValue(4);
    t.control<QDoubleSpinBox>(L, "spnTop")->setValue(3);
    t.control<QDoubleSpinBox>(L, "spnGapX")->setValue(2);
    t.control<QDoubleSpinBox>(L, "spnGapY")->setValue(2);
    QCOMPARE(t.control<QSpinBox>(L, "spnSkip")->maximum(), 5);
    t.type(L, "txtFrom", "B1001");
    t.type(L, "txtTo", "B1001");
    // Only a stock that went on paper is remembered: a preview is not enough.
    t.click(L, "cmdPreview");
    const QString settings = QDir(t.appDir()).filePath(DeskSettings::fileName());
    QCOMPARE(GetKeyValue(settings, QStringLiteral("LabelStock")), QString());
    t.click(L, "cmdPrint");
    QCOMPARE(GetKeyValue(settings, QStringLiteral("LabelStock")),
             QStringLiteral("custom 120x100 3x2 55x30 4,3 2,2"));
    t.click(L, "cmdClose");
    t.trigger("mnuBookLabels");
    QCOMPARE(t.control<QComboBox>(L, "cboStock")->currentData().toString(), "custom");
    QCOMPARE(t.control<QDoubleSpinBox>(L, "spnPageWidth")->value(), 120.0);
    QCOMPARE(t.control<QSpinBox>(L, "spnColumns")->value(), 2);
    QCOMPARE(t.control<QDoubleSpinBox>(L, "spnGapY")->value(), 2.0);
    // A sheet that cannot be printed is said, never made.
    t.control<QSpinBox>(L, "spnColumns")->setValue(3);
    t.click(L, "cmdPrint");
    QCOMPARE(texts(t), QStringList{"3 列标签连同左边距和间距比纸张还宽。"});
    QCOMPARE(t.printer().documents.size(), 1);
}

void LabelWindowsTest::pdfScans()
{
    TestApp t;
    seedBooks(t);
    openLabels(t);
    t.control<QRadioButton>(L, "optAdded")->click();
    t.control<QDateEdit>(L, "dtpFrom")->setDate(QDate(2026, 1, 1));
    t.control<QDateEdit>(L, "dtpTo")->setDate(QDate(2026, 12, 31));
    chooseStock(t, L, "a4-2x7");
    t.control<QSpinBox>(L, "spnSkip")->setValue(3);
    const QString pdf = QDir(t.appDir()).filePath(QStringLiteral("标签.pdf"));
    t.files().answerSave(pdf);
    t.click(L, "cmdPdf");
    QCOMPARE(texts(t),
             QStringList{QStringLiteral("已保存到 %1。").arg(QDir::toNativeSeparators(pdf))});
    QString problem;
    const QStringList scanned =
        testkit::scanLabels(pdf, *LabelStock::find(LabelStock::labelStocks(), "a4-2x7"), &problem);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(scanned, (QStringList{"", "", "", "B0999", "B1001", "B1002", "B1003", "B1010", "B2001",
                                   "馆藏001"}));
    QVERIFY(t.printer().documents.isEmpty());
}

void LabelWindowsTest::cancelLeavesNoFile()
{
    TestApp t;
    seedBooks(t);
    openLabels(t);
    t.type(L, "txtFrom", "A");
    t.type(L, "txtTo", "Z");
    const QString pdf = QDir(t.appDir()).filePath(QStringLiteral("labels.pdf"));
    t.files().answerSave(pdf);
    t.progress().holdNextJob();
    t.click(L, "cmdPdf");
    // Through the labels, then cancelled while the pages are drawn.
    QStringList seen;
    while (t.progress().waitForReport()) {
        const JobControl::State at = t.progress().held();
        seen << at.what;
        if (at.what == QStringLiteral("正在绘制页面")) {
            t.progress().cancel();
            break;
        }
        t.progress().step();
    }
    QVERIFY(t.progress().waitForEnd());
    QVERIFY(seen.contains(QStringLiteral("正在生成图书条码")));
    QCOMPARE(seen.last(), QStringLiteral("正在绘制页面"));
    QCOMPARE(t.progress().jobs().first().outcome, Progress::Outcome::Cancelled);
    QVERIFY(!QFile::exists(pdf));
    QCOMPARE(QDir(t.appDir()).entryList({QStringLiteral("labels*")}), QStringList());
    QCOMPARE(texts(t), QStringList{"已取消,没有保存 PDF 文件。"});
}

void LabelWindowsTest::closingCancels()
{
    TestApp t;
    seedBooks(t);
    openLabels(t);
    t.type(L, "txtFrom", "A");
    t.type(L, "txtTo", "Z");
    const QString pdf = QDir(t.appDir()).filePath(QStringLiteral("labels.pdf"));
    t.files().answerSave(pdf);
    t.progress().holdNextJob();
    t.click(L, "cmdPdf");
    QVERIFY(t.progress().waitForReport());
    t.click(L, "cmdClose");
    QVERIFY(t.progress().waitForEnd());
    QCOMPARE(t.progress().jobs().first().outcome, Progress::Outcome::Cancelled);
    QVERIFY(!QFile::exists(pdf));
    // The clerk closed the window: nothing more is said.
    QCOMPARE(texts(t), QStringList());
}

void LabelWindowsTest::previewNotesQrCodes()
{
    TestApp t;
    seedBooks(t);
    openLabels(t);
    t.type(L, "txtFrom", "B2001");
    t.type(L, "txtTo", "馆藏999");
    chooseStock(t, L, "roll-50x30");
    QVERIFY(!t.control<QSpinBox>(L, "spnSkip")->isEnabled());
    t.click(L, "cmdPreview");
    QCOMPARE(texts(t), QStringList());
    QCOMPARE(t.text(L, "lblNote"),
             QStringLiteral("共 2 张,2 页。\n其中 1 个编号含有 ASCII 以外的字符(如汉字),"
                            "印成二维码(QR 码);其余印成 Code 128 条码。"));
    QCOMPARE(t.text(L, "lblPage"), QStringLiteral("第 1 页,共 2 页"));
    QVERIFY(!t.control<QLabel>(L, "imgPreview")->pixmap().isNull());
    t.click(L, "cmdNextPage");
    QCOMPARE(t.text(L, "lblPage"), QStringLiteral("第 2 页,共 2 页"));
    QVERIFY(!t.control<QPushButton>(L, "cmdNextPage")->isEnabled());
    // A change makes the preview out of date.
    t.type(L, "txtTo", "B2001");
    QCOMPARE(t.text(L, "lblNote"), QString());
    QVERIFY(t.printer().documents.isEmpty());
}

void LabelWindowsTest::cardOfTheReaderShown()
{
    TestApp t;
    seedReaders(t);
    SetKeyValue(QDir(t.appDir()).filePath(DeskSettings::fileName()), QStringLiteral("CardPrinter"),
                QStringLiteral("Cards"));
    t.login();
    t.trigger("meuReaderSort");
    const QString R = QStringLiteral("FrmReader");
    QVERIFY(!t.control<QPushButton>(R, "cmdPrintCard")->isEnabled());
    t.type(R, "txtReaderNo", "甲3");
    t.enter(R, "txtReaderNo");
    QVERIFY(t.control<QPushButton>(R, "cmdPrintCard")->isEnabled());
    t.click(R, "cmdPrintCard");
    QVERIFY(t.window(C));
    QVERIFY(t.control<QRadioButton>(C, "optReader")->isChecked());
    QCOMPARE(t.text(C, "txtReaderNo"), QStringLiteral("甲3"));
    chooseStock(t, C, "card");
    t.click(C, "cmdPrint");
    QCOMPARE(texts(t), QStringList());
    QCOMPARE(t.printer().papers, QList<PrinterKind>{PrinterKind::Card});
    QCOMPARE(t.printer().printers, QStringList{"Cards"});
    const Document &card = t.printer().documents.first();
    QCOMPARE(barcodeTexts(card), QStringList{"甲3"});
    QStringList shown;
    for (const SheetText &text : std::get<Sheet>(card.blocks.first()).texts)
        shown << text.text;
    QVERIFY(shown.contains(QStringLiteral("读者姓名:欧阳明月")));
    QVERIFY(shown.contains(QStringLiteral("所在部门:高二(3)班")));
    QVERIFY(shown.contains(QStringLiteral("图书馆")));  // the library's name as shipped
}

void LabelWindowsTest::cardsChosen_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QStringList>("printed");
    QTest::addColumn<QString>("message");
    QTest::newRow("a range") << "optRange"
                             << "0"
                             << "1" << QByteArray() << QStringList{"001", "002"} << "";
    QTest::newRow("a list") << "optList"
                            << ""
                            << "" << QByteArray("甲3\n001\n") << QStringList{"甲3", "001"} << "";
    QTest::newRow("a list naming nobody") << "optList"
                                          << ""
                                          << "" << QByteArray("001\n404\n") << QStringList()
                                          << "这些读者编号没有读者:404\n没有打印任何读者证。";
    QTest::newRow("nobody in the range")
        << "optRange"
        << "S"
        << "T" << QByteArray() << QStringList() << "读者编号从 S 到 T 之间没有读者。";
    QTest::newRow("no such reader")
        << "optReader"
        << "404"
        << "" << QByteArray() << QStringList() << "这些读者编号没有读者:404\n没有打印任何读者证。";
}

void LabelWindowsTest::cardsChosen()
{
    QFETCH(QString, way);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QByteArray, list);
    QFETCH(QStringList, printed);
    QFETCH(QString, message);
    TestApp t;
    seedReaders(t);
    t.login();
    t.trigger("mnuReaderCards");
    QVERIFY(t.window(C));
    // Ten to an A4 sheet unless the clerk chooses the card printer.
    QCOMPARE(t.control<QComboBox>(C, "cboStock")->currentData().toString(), "a4-2x5");
    t.control<QRadioButton>(C, way)->click();
    t.type(C, way == QLatin1String("optReader") ? "txtReaderNo" : "txtFrom", from);
    t.type(C, "txtTo", to);
    if (!list.isEmpty())
        t.type(C, "txtListFile", writeList(t, list));
    t.click(C, "cmdPrint");
    QCOMPARE(texts(t), message.isEmpty() ? QStringList() : QStringList{message});
    if (printed.isEmpty()) {
        QVERIFY(t.printer().documents.isEmpty());
        return;
    }
    QCOMPARE(t.printer().papers, QList<PrinterKind>{PrinterKind::Page});
    QCOMPARE(barcodeTexts(t.printer().documents.first()), printed);
}

LENDORA_TEST_CLASS(LabelWindowsTest)

#include "tst_labelwindows.moc"
