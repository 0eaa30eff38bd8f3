#include "TestMain.h"
#include "base/Csv.h"

#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTest>

using lendora::Csv;
using lendora::TextFile;

class CsvTest : public QObject {
    Q_OBJECT

private slots:
    void cellsAreWritten_data();
    void cellsAreWritten();
    void writtenTextsReadBackExactly();
    void reading_data();
    void reading();
    void encodingCanBeChosen();
    void longLine();
};

void CsvTest::cellsAreWritten_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("line");  // the row's line as written
    QTest::newRow("plain") << "红楼梦" << QByteArray("红楼梦\r\n");
    QTest::newRow("leading zeros stay text") << "00123" << QByteArray("00123\r\n");
    QTest::newRow("comma") << "a,b" << QByteArray("\"a,b\"\r\n");
    QTest::newRow("quote") << "O\"Brien" << QByteArray("\"O\"\"Brien\"\r\n");
    QTest::newRow("line break") << "a\r\nb" << QByteArray("\"a\r\nb\"\r\n");
    QTest::newRow("formula") << "=1+1" << QByteArray("'=1+1\r\n");
    QTest::newRow("plus") << "+86" << QByteArray("'+86\r\n");
    QTest::newRow("minus") << "-4" << QByteArray("'-4\r\n");
    QTest::newRow("at") << "@SUM(A1)" << QByteArray("'@SUM(A1)\r\n");
    QTest::newRow("tab") << "\tx" << QByteArray("'\tx\r\n");
    QTest::newRow("carriage return") << "\rx" << QByteArray("\"'\rx\"\r\n");
    QTest::newRow("apostrophe") << "'x" << QByteArray("''x\r\n");
    QTest::newRow("equals later") << "a=b" << QByteArray("a=b\r\n");
    QTest::newRow("empty") << "" << QByteArray("\r\n");
}

void CsvTest::cellsAreWritten()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, line);
    const QByteArray file = Csv::write({"书籍名称"}, {{text}});
    QCOMPARE(file, QByteArray("\xEF\xBB\xBF") + QByteArray("书籍名称\r\n") + line);
}

// Random texts from the characters that matter to the format and to the guard, written and
// read back; the same file in GB18030 without a byte order mark reads back the same too.
void CsvTest::writtenTextsReadBackExactly()
{
    const QString alphabet = QStringLiteral("ab,\"\r\n\t=+-@' 红楼") + QString::fromUtf8("😀");
    QRandomGenerator random(20261208);
    for (int round = 0; round < 300; ++round) {
        QList<QStringList> rows;
        const int columns = 1 + random.bounded(4);
        for (int r = random.bounded(1, 5); r > 0; --r) {
            QStringList row;
            for (int c = 0; c < columns; ++c) {
                QString text;
                for (int n = random.bounded(0, 8); n > 0; --n) {
                    const int at = random.bounded(int(alphabet.size()));
                    // The emoji is two code units: keep the pair whole.
                    if (alphabet.at(at).isLowSurrogate())
                        text += alphabet.mid(at - 1, 2);
                    else if (alphabet.at(at).isHighSurrogate())
                        text += alphabet.mid(at, 2);
                    else
                        text += alphabet.at(at);
                }
                row << text;
            }
            rows << row;
        }
        // A last row of empty cells only would be a blank line: keep one cell filled.
        if (rows.last().join(QString()).isEmpty())
            rows.last()[0] = QStringLiteral("x");
        const QStringList header(columns, QStringLiteral("列"));
        const QByteArray written = Csv::write(header, rows);
        QStringEncoder gb("GB18030");
        const QByteArray asGb = gb.encode(QString::fromUtf8(written.mid(3)));
        for (const auto &[bytes, encoding] :
             {std::pair{written, std::optional<TextFile::Encoding>()},
              std::pair{asGb, std::optional(TextFile::Encoding::Gb18030)}}) {
            const Csv::Table read = Csv::read(bytes, encoding);
            QVERIFY(read.ok());
            QCOMPARE(read.header, header);
            QCOMPARE(read.rows.size(), rows.size());
            for (int r = 0; r < rows.size(); ++r)
                QCOMPARE(read.rows.at(r).cells, rows.at(r));
        }
    }
}

void CsvTest::reading_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("problem");  // Csv::Problem
    QTest::addColumn<int>("problemLine");
    QTest::addColumn<QStringList>("header");
    // Each row as its line number, ":", then its cells joined by "|".
    QTest::addColumn<QStringList>("rows");
    const int none = int(Csv::Problem::None);
    const QByteArray gbk("\xca\xe9\xbc\xae\xb1\xe0\xba\xc5\r\nB1\r\n");  // 书籍编号 in GBK
    QTest::newRow("UTF-8 with BOM, CR LF")
        << QByteArray("\xEF\xBB\xBF书籍编号,书籍名称\r\nB1,红楼梦\r\n") << none << 0
        << QStringList{"书籍编号", "书籍名称"} << QStringList{"2:B1|红楼梦"};
    QTest::newRow("UTF-8 without BOM, LF")
        << QByteArray("书籍编号\nB1\nB2") << none << 0 << QStringList{"书籍编号"}
        << QStringList{"2:B1", "3:B2"};
    QTest::newRow("GB18030 without BOM")
        << gbk << none << 0 << QStringList{"书籍编号"} << QStringList{"2:B1"};
    QTest::newRow("headings trimmed, cells not")
        << QByteArray(" 书籍编号 ,\t书籍名称\r\n B1 ,x\r\n") << none << 0
        << QStringList{"书籍编号", "书籍名称"} << QStringList{"2: B1 |x"};
    QTest::newRow("line breaks inside quotes count as lines")
        << QByteArray("a,b\r\n\"x\r\ny\",\"1\n2\r3\"\r\nz,w\r\n") << none << 0
        << QStringList{"a", "b"} << QStringList{"2:x\r\ny|1\n2\r3", "6:z|w"};
    QTest::newRow("empty trailing columns and blank trailing lines")
        << QByteArray("a,b,,\r\n1,,,\r\n\r\n\r\n") << none << 0 << QStringList{"a", "b", "", ""}
        << QStringList{"2:1|||"};
    QTest::newRow("the export's apostrophe taken off")
        << QByteArray("a\r\n''x\r\n\"'=1,2\"\r\n'+86\r\n'-4\r\n'@x\r\n'\tx\r\n\"'\rx\"\r\n''\r\n")
        << none << 0 << QStringList{"a"}
        << QStringList{"2:'x", "3:=1,2", "4:+86", "5:-4", "6:@x", "7:\tx", "8:\rx", "10:'"};
    // An apostrophe the export's guard would not have written is the file's own text.
    QTest::newRow("another file's apostrophe kept")
        << QByteArray("a\r\n'单引号\r\n'007\r\n'\r\n' x\r\n'a'\r\n") << none << 0
        << QStringList{"a"} << QStringList{"2:'单引号", "3:'007", "4:'", "5:' x", "6:'a'"};
    QTest::newRow("a second byte order mark is text")
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF"
                      "a\r\nb\r\n")
        << none << 0 << QStringList{QString(QChar(0xFEFF)) + "a"} << QStringList{"2:b"};
    QTest::newRow("doubled quotes") << QByteArray("a\r\n\"O\"\"Brien\"\r\n") << none << 0
                                    << QStringList{"a"} << QStringList{"2:O\"Brien"};
    QTest::newRow("unclosed quote names its line")
        << QByteArray("a,b\r\n\"x\r\ny\",1\r\n2,\"open\r\nmore\r\n")
        << int(Csv::Problem::UnclosedQuote) << 4 << QStringList() << QStringList();
    QTest::newRow("empty file") << QByteArray() << int(Csv::Problem::Empty) << 0 << QStringList()
                                << QStringList();
    QTest::newRow("blank lines only") << QByteArray("\r\n\n\r\n") << int(Csv::Problem::Empty) << 0
                                      << QStringList() << QStringList();
    QTest::newRow("blanks only") << QByteArray(" \f\r\n") << int(Csv::Problem::Empty) << 0
                                 << QStringList() << QStringList();
    QTest::newRow("byte order mark only") << QByteArray("\xEF\xBB\xBF") << int(Csv::Problem::Empty)
                                          << 0 << QStringList() << QStringList();
    QTest::newRow("neither UTF-8 nor GB18030")
        << QByteArray("a,b\r\n\xff\xfe\x80,1\r\n") << int(Csv::Problem::UnknownEncoding) << 0
        << QStringList() << QStringList();
    QTest::newRow("binary") << QByteArray("PK\x03\x04\x00\x00\x08\x00", 8)
                            << int(Csv::Problem::NotText) << 0 << QStringList() << QStringList();
}

void CsvTest::reading()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, problem);
    QFETCH(int, problemLine);
    QFETCH(QStringList, header);
    QFETCH(QStringList, rows);
    const Csv::Table table = Csv::read(bytes);
    QCOMPARE(int(table.problem), problem);
    QCOMPARE(table.problemLine, problemLine);
    if (problem != int(Csv::Problem::None))
        return;
    QCOMPARE(table.header, header);
    QStringList got;
    for (const Csv::Row &row : table.rows)
        got << QString::number(row.line) + ":" + row.cells.join('|');
    QCOMPARE(got, rows);
}

void CsvTest::encodingCanBeChosen()
{
    // 书籍编号 in GB18030 is no UTF-8; read as UTF-8 on request it is refused, not garbled.
    const QByteArray gbk("\xca\xe9\xbc\xae\xb1\xe0\xba\xc5\r\nB1\r\n");
    QCOMPARE(Csv::detect(gbk), std::optional(TextFile::Encoding::Gb18030));
    QCOMPARE(int(Csv::read(gbk, TextFile::Encoding::Utf8).problem),
             int(Csv::Problem::UnknownEncoding));
    // ASCII is both: UTF-8 is preferred.
    QCOMPARE(Csv::detect("a,b\r\n"), std::optional(TextFile::Encoding::Utf8));
}

void CsvTest::longLine()
{
    // 10 MB on one line: read in one pass, one cell.
    const QByteArray bytes = "a\r\n" + QByteArray(10 * 1024 * 1024, 'x');
    const Csv::Table table = Csv::read(bytes);
    QVERIFY(table.ok());
    QCOMPARE(table.rows.size(), 1);
    QCOMPARE(table.rows.first().cells.first().size(), 10 * 1024 * 1024);
}

LENDORA_TEST_CLASS(CsvTest)
#include "tst_csv.moc"
