#include "CliRun.h"
#include "LabelScan.h"
#include "PdfText.h"
#include "TestApp.h"
#include "TestMain.h"
#include "core/settings/LabelStock.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using lendora::LabelStock;
using lendora::testkit::TestApp;

namespace {

// Books entered on three days, numbers whose text order is not their number order, and two
// Chinese ones; three readers.
void seed(TestApp &t)
{
    t.db();
    const QList<QVariantList> books = {
        {"B10", "天工开物", "2026-05-09"},   {"B2", "史记", "2026-03-02"},
        {"B1", "红楼梦", "2026-03-02"},      {"馆藏2", "永乐大典残卷", "2026-05-10"},
        {"馆藏1", "本草纲目", "2026-05-09"}, {"C1", "说文解字", "2026-06-01"},
    };
    for (const QVariantList &book : books)
        t.exec(
            "insert into bookInfo (书籍编号, 书籍名称, 类别代码, 登记日期) values (?, ?, 'I', ?)",
            book);
    t.exec("insert into readerInfo values ('001', '张伟', '男', '', '计算机系')");
    t.exec("insert into readerInfo values ('002', '王芳', '女', '', '外语系')");
    t.exec("insert into readerInfo values ('甲3', '欧阳明月', '女', '', '高二(3)班')");
}

QString writeList(const QString &folder, const QByteArray &bytes)
{
    const QString path = QDir(folder).filePath(QStringLiteral("list.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

// What the tool said on stderr, line by line (not what Qt itself may say there).
QStringList said(const Result &result)
{
    QStringList lines;
    for (const QString &line : result.err.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("lendora-cli: ")))
            lines << line;
    }
    return lines;
}

LabelStock stockOf(const QString &id)
{
    const std::optional<LabelStock> label = LabelStock::find(LabelStock::labelStocks(), id);
    return label ? *label : *LabelStock::find(LabelStock::cardStocks(), id);
}

}  // namespace

// lendora-cli labels and cards: what is chosen, in what order, on which stock, and every
// barcode of the PDF read back by a scanner.
class CliLabelsTest : public QObject {
    Q_OBJECT

private slots:
    void written_data();
    void written();
    void refused_data();
    void refused();
    void noLibrary();
};

void CliLabelsTest::written_data()
{
    QTest::addColumn<QStringList>("arguments");  // "LIST" stands for the list file
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QString>("stock");
    QTest::addColumn<QStringList>("scanned");
    QTest::newRow("a range, as text, a4-3x8 by default")
        << QStringList{"labels", "--from", "B1", "--to", "B2"} << QByteArray() << "a4-3x8"
        << QStringList{"B1", "B10", "B2"};
    QTest::newRow("entered on days, a4-4x10, half a sheet used")
        << QStringList{"labels", "--added", "2026-05-09:2026-05-10", "--stock", "a4-4x10",
                       "--skip", "37"}
        << QByteArray() << "a4-4x10"
        << (QStringList(37) << "B10"
                            << "馆藏1"
                            << "馆藏2");
    QTest::newRow("entered on one day, a4-2x7")
        << QStringList{"labels", "--added=2026-03-02", "--stock=a4-2x7"} << QByteArray() << "a4-2x7"
        << QStringList{"B1", "B2"};
    QTest::newRow("a list in its order, roll-50x30")
        << QStringList{"labels", "--list", "LIST", "--stock", "roll-50x30"}
        << QByteArray("馆藏2\r\nC1\r\nB1\r\n") << "roll-50x30" << QStringList{"馆藏2", "C1", "B1"};
    QTest::newRow("roll-40x30") << QStringList{"labels", "--from",  "C",         "--to",
                                               "C9",     "--stock", "roll-40x30"}
                                << QByteArray() << "roll-40x30" << QStringList{"C1"};
    QTest::newRow("cards, ten to an A4 sheet by default")
        << QStringList{"cards", "--from", "0", "--to", "甲9"} << QByteArray() << "a4-2x5"
        << QStringList{"001", "002", "甲3"};
    QTest::newRow("cards for a card printer, from a list")
        << QStringList{"cards", "--list", "LIST", "--stock", "card"} << QByteArray("甲3\n001\n")
        << "card" << QStringList{"甲3", "001"};
}

void CliLabelsTest::written()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, list);
    QFETCH(QString, stock);
    QFETCH(QStringList, scanned);
    TestApp t;
    seed(t);
    QTemporaryDir out;
    arguments.replaceInStrings(QStringLiteral("LIST"), writeList(out.path(), list));
    const QString pdf = out.filePath(QStringLiteral("条码.pdf"));
    const Result result = cli(t.appDir(), arguments + QStringList{"--pdf", pdf});
    QCOMPARE(said(result), QStringList());
    QCOMPARE(result.status, 0);
    QVERIFY(result.out.startsWith("已写入 "));
    QString problem;
    QCOMPARE(lendora::testkit::scanLabels(pdf, stockOf(stock), &problem), scanned);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void CliLabelsTest::refused_data()
{
    QTest::addColumn<QStringList>("arguments");  // "LIST": the list file; --pdf is added
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("first");  // the first line said on stderr
    QTest::newRow("a number not in the library, named")
        << QStringList{"labels", "--list", "LIST"} << QByteArray("B1\nX9\nB2\n") << 1
        << "lendora-cli: 书库中没有这个书籍编号: X9";
    QTest::newRow("a reader not in the library")
        << QStringList{"cards", "--list", "LIST"} << QByteArray("404\n") << 1
        << "lendora-cli: 没有这个读者编号: 404";
    QTest::newRow("nothing in the range")
        << QStringList{"labels", "--from", "X", "--to", "Y"} << QByteArray() << 1
        << "lendora-cli: 选择的范围内没有图书,没有写入文件。";
    QTest::newRow("an empty list") << QStringList{"labels", "--list", "LIST"} << QByteArray("\n")
                                   << 1 << "lendora-cli: 编号清单文件 %1 中没有编号。";
    QTest::newRow("no way of choosing")
        << QStringList{"labels"} << QByteArray() << 2
        << "lendora-cli: 请给出 --from 和 --to、--added 或 --list 中的一种";
    QTest::newRow("two ways of choosing")
        << QStringList{"labels", "--added", "2026-03-02", "--list", "LIST"} << QByteArray("B1\n")
        << 2 << "lendora-cli: 请给出 --from 和 --to、--added 或 --list 中的一种";
    QTest::newRow("--from alone") << QStringList{"labels", "--from", "B1"} << QByteArray() << 2
                                  << "lendora-cli: --from 和 --to 要一起给出";
    QTest::newRow("cards by days") << QStringList{"cards", "--added", "2026-03-02"} << QByteArray()
                                   << 2 << "lendora-cli: 未知的选项: --added";
    QTest::newRow("a day that is not one")
        << QStringList{"labels", "--added", "2026-02-30"} << QByteArray() << 2
        << "lendora-cli: 日期无效: 2026-02-30(应为 yyyy-MM-dd 或 yyyy-MM-dd:yyyy-MM-dd)";
    QTest::newRow("days the wrong way round")
        << QStringList{"labels", "--added", "2026-05-10:2026-05-09"} << QByteArray() << 2
        << "lendora-cli: 日期无效: 2026-05-10:2026-05-09(应为 yyyy-MM-dd 或 yyyy-MM-dd:yyyy-MM-dd)";
    QTest::newRow("an unknown stock")
        << QStringList{"labels", "--from", "B1", "--to", "B2", "--stock", "a4-2x5"} << QByteArray()
        << 2
        << "lendora-cli: 未知的规格: a4-2x5(可用: a4-3x8|a4-4x10|a4-2x7|roll-50x30|roll-40x30)";
    QTest::newRow("a whole sheet skipped")
        << QStringList{"labels", "--from", "B1", "--to", "B2", "--skip", "24"} << QByteArray() << 2
        << "lendora-cli: --skip 应为 0 到 23 之间的整数: 24";
    QTest::newRow("a roll skipped")
        << QStringList{"labels",  "--from",     "B1",     "--to", "B2",
                       "--stock", "roll-40x30", "--skip", "1"}
        << QByteArray() << 2 << "lendora-cli: --skip 应为 0 到 0 之间的整数: 1";
}

void CliLabelsTest::refused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, list);
    QFETCH(int, status);
    QFETCH(QString, first);
    TestApp t;
    seed(t);
    QTemporaryDir out;
    const QString listPath = writeList(out.path(), list);
    arguments.replaceInStrings(QStringLiteral("LIST"), listPath);
    const QString pdf = out.filePath(QStringLiteral("labels.pdf"));
    const Result result = cli(t.appDir(), arguments + QStringList{"--pdf", pdf});
    QCOMPARE(result.status, status);
    QVERIFY2(!said(result).isEmpty(), qPrintable(result.err));
    QCOMPARE(said(result).first(), first.contains(QLatin1String("%1"))
                                       ? first.arg(QDir::toNativeSeparators(listPath))
                                       : first);
    QVERIFY(result.out.isEmpty());
    // Nothing under the name, nor beside it.
    QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList{"list.txt"});
}

void CliLabelsTest::noLibrary()
{
    QTemporaryDir empty;
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("labels.pdf"));
    const Result result = cli(empty.path(), {"labels", "--from", "B1", "--to", "B2", "--pdf", pdf});
    QCOMPARE(result.status, 3);
    QVERIFY(!QFile::exists(pdf));
}

LENDORA_TEST_CLASS(CliLabelsTest)
#include "tst_clilabels.moc"
