#include "TestMain.h"
#include "base/Csv.h"

#include <QRandomGenerator>
#include <QTest>

using lendora::Csv;

class CsvTest : public QObject {
    Q_OBJECT

private slots:
    void cellsAreWritten_data();
    void cellsAreWritten();
    void writtenTextsReadBackExactly();
    void unclosedQuoteIsRefused();
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

void CsvTest::writtenTextsReadBackExactly()
{
    // Texts drawn from the characters that matter to the format and to the guard.
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
        const QStringList header(columns, QStringLiteral("列"));
        const std::optional<QList<QStringList>> read = Csv::read(Csv::write(header, rows));
        QVERIFY(read);
        QCOMPARE(read->size(), rows.size() + 1);
        for (int r = 0; r < rows.size(); ++r) {
            QStringList back;
            for (const QString &cell : read->at(r + 1))
                back << Csv::unguard(cell);
            QCOMPARE(back, rows.at(r));
        }
    }
}

void CsvTest::unclosedQuoteIsRefused()
{
    QVERIFY(!Csv::read("a,\"b\r\nc\r\n"));
    QVERIFY(Csv::read("a,\"b\"\r\nc\r\n"));
}

LENDORA_TEST_CLASS(CsvTest)
#include "tst_csv.moc"
