#include "Desk.h"
#include "TestMain.h"
#include "reports/Document.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace desk;
using lendora::Document;
using lendora::Heading;
using lendora::Paragraph;
using lendora::Table;

namespace {

// Every text of a laid-out document, in order, one space apart.
QString documentText(const Document &document)
{
    QStringList parts;
    for (const lendora::Block &block : document.blocks) {
        if (const auto *heading = std::get_if<Heading>(&block))
            parts << heading->text;
        else if (const auto *paragraph = std::get_if<Paragraph>(&block))
            parts << paragraph->text;
        else if (const auto *table = std::get_if<Table>(&block)) {
            for (const lendora::TableColumn &column : table->columns)
                parts << column.heading;
            for (const QStringList &row : table->rows)
                parts << row;
        }
    }
    parts.removeAll(QString());
    return parts.join(QLatin1Char(' '));
}

void writeSettings(TestApp &t, const QByteArray &lines)
{
    QFile file(QDir(t.appDir()).filePath("setting.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(lines);
}

// 001 holds B1001 since 11-20 and B1004 since 10-01 (37 days past on 12-07), and took B1002
// earlier today; five books at most, 0.1 yuan a day.
void seedDesk(TestApp &t)
{
    seedLibrary(t);
    setRules(t, 5, 0.1);
    addLoan(t, "001", "B1001", "2026-11-20");
    addLoan(t, "001", "B1004", "2026-10-01");
    addLoan(t, "001", "B1002", "2026-12-07");
    addLoan(t, "002", "B1006", "2026-12-07");
}

}  // namespace

class ReceiptTest : public QObject {
    Q_OBJECT

private slots:
    void followsTheTicks_data();
    void followsTheTicks();
    void reprint_data();
    void reprint();
};

void ReceiptTest::followsTheTicks_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("write");
    QTest::addColumn<QString>("book");
    QTest::addColumn<QString>("printed");  // the receipt's text, "" for none

    // A printer for each paper: receipts go to the receipt printer, never the A4 one.
    const QByteArray both = "LendReceipt=1\r\nReturnReceipt=1\r\nLibraryName=城东图书馆\r\n"
                            "ReceiptPrinter=Roll\r\nPagePrinter=Laser\r\n";
    QTest::newRow("lend, ticked") << both << "lend"
                                  << "B1003"
                                  << "城东图书馆 借书凭条 读者编号 001 读者姓名 张伟 借书日期 "
                                     "2026-12-07 书籍编号 书籍名称 应还日期 B1002 围城 2027-01-06 "
                                     "B1003 平凡的世界 2027-01-06 本日借出 2 册,还可借 1 册 "
                                     "请按期归还,逾期按日罚款。";
    QTest::newRow("lend, not ticked") << QByteArray("ReturnReceipt=1\r\n") << "lend"
                                      << "B1003"
                                      << "";
    QTest::newRow("lend, no settings file") << QByteArray() << "lend"
                                            << "B1003"
                                            << "";
    QTest::newRow("return with a fine")
        << both << "return"
        << "B1004"
        << "城东图书馆 罚款凭条 读者编号 001 读者姓名 张伟 书籍编号 B1004 书籍名称 三体 借书日期 "
           "2026-10-01 还书日期 2026-12-07 超出天数 37 天 每天罚款 0.1 元 罚款金额:3.7 元";
    QTest::newRow("return without a fine") << both << "return"
                                           << "B1001"
                                           << "";
    QTest::newRow("return, not ticked") << QByteArray("LendReceipt=1\r\n") << "return"
                                        << "B1004"
                                        << "";
}

void ReceiptTest::followsTheTicks()
{
    QFETCH(QByteArray, settings);
    QFETCH(QString, write);
    QFETCH(QString, book);
    QFETCH(QString, printed);
    TestApp t;
    seedDesk(t);
    if (!settings.isEmpty())
        writeSettings(t, settings);
    t.login();
    if (write == "lend") {
        scan(t, "txtReaderID", "001");
        scan(t, "txtBookID", book);
        t.click(kMain, "cmdLendBook");
        QCOMPARE(hints(t), QStringList{"借出完毕!"});
    } else {
        showTab(t, Return);
        scan(t, "txtReadIDReturn", "001");
        scan(t, "txtBookIDReturn", book);
        t.click(kMain, "cmdReturn");
        QCOMPARE(hints(t), QStringList{"归还完毕!"});
    }
    const QList<Document> &jobs = t.printer().documents;
    QCOMPARE(jobs.size(), printed.isEmpty() ? 0 : 1);
    if (!printed.isEmpty()) {
        QCOMPARE(documentText(jobs.at(0)), printed);
        QVERIFY(jobs.at(0).rollPaper);  // the default paper
        QCOMPARE(t.printer().papers, QList<lendora::PrinterKind>{lendora::PrinterKind::Receipt});
        QCOMPARE(t.printer().printers, QStringList{"Roll"});
    }
}

void ReceiptTest::reprint_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QStringList>("said");
    QTest::addColumn<QString>("printed");

    QTest::newRow("no reader typed") << "" << QStringList{"请先输入读者编号"} << "";
    QTest::newRow("no such reader") << "999" << QStringList{"没有该读者信息!"} << "";
    QTest::newRow("nothing lent today")
        << "003" << QStringList{"该读者今天没有借书,没有凭条可打印!"} << "";
    QTest::newRow("lent today") << "002" << QStringList()
                                << "图书馆 借书凭条 读者编号 002 读者姓名 李娜 借书日期 "
                                   "2026-12-07 书籍编号 书籍名称 应还日期 B1006 数学分析(上册) "
                                   "2027-01-06 本日借出 1 册,还可借 4 册 请按期归还,逾期按日罚款。";
}

void ReceiptTest::reprint()
{
    QFETCH(QString, reader);
    QFETCH(QStringList, said);
    QFETCH(QString, printed);
    TestApp t;
    seedDesk(t);
    t.login();
    // The lending tab's reader, typed but not looked up: the receipt reads the database.
    t.type(kMain, "txtReaderID", reader);
    t.prompter().clear();
    t.trigger("mnuReceipt");
    QCOMPARE(hints(t), said);
    QCOMPARE(t.printer().documents.size(), printed.isEmpty() ? 0 : 1);
    if (!printed.isEmpty()) {
        QCOMPARE(documentText(t.printer().documents.at(0)), printed);
        QCOMPARE(t.printer().printed.size(), 1);
        QVERIFY(QFile::exists(t.printer().printed.at(0)));
    }
}

LENDORA_TEST_CLASS(ReceiptTest)
#include "tst_receipts.moc"
