#include "TestMain.h"
#include "base/Csv.h"
#include "base/SheetFile.h"

#include <QBuffer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

using lendora::Csv;
using lendora::SheetFile;
using Format = lendora::SheetFile::Format;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeSheet(const QString &path, Format format, const QList<QStringList> &rows)
{
    const std::unique_ptr<SheetFile> sheet = SheetFile::toFile(path, format);
    for (const QStringList &row : rows)
        sheet->addRow(row);
    return sheet->finish();
}

// One member of a zip file, through unzip.
QByteArray unzipped(const QString &zip, const QString &member)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), zip, member});
    if (!unzip.waitForFinished(60000) || unzip.exitCode() != 0)
        return {};
    return unzip.readAllStandardOutput();
}

const QList<QStringList> kRows = {
    {"书籍编号", "书籍名称", "书籍价格"},
    {"00123", "红楼梦, 上", "=1+1"},
    {"B2", "", "-4"},
};

}  // namespace

class SheetFileTest : public QObject {
    Q_OBJECT

private slots:
    void csvBytes_data();
    void csvBytes();
    void gb18030DecodesBack();
    void longListIsWrittenWhole();
    void xlsxCellsAreText();
    void failedWriteLeavesTheOldFile_data();
    void failedWriteLeavesTheOldFile();
    void unfinishedSheetLeavesNothing();
};

void SheetFileTest::csvBytes_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray lines = "书籍编号,书籍名称,书籍价格\r\n"
                             "00123,\"红楼梦, 上\",'=1+1\r\n"
                             "B2,,'-4\r\n";
    QTest::newRow("utf-8 with its mark") << int(Format::CsvUtf8) << "\xEF\xBB\xBF" + lines;
    // 红 is BA EC in GB18030 (and GB2312); no mark in front.
    QTest::newRow("gb18030 without a mark")
        << int(Format::CsvGb18030) << QByteArray("\xBA\xEC\r\n");
}

void SheetFileTest::csvBytes()
{
    QFETCH(int, format);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath("out.csv");
    const QList<QStringList> rows =
        Format(format) == Format::CsvUtf8 ? kRows : QList<QStringList>{{"红"}};
    QVERIFY(writeSheet(path, Format(format), rows));
    QCOMPARE(readAll(path), bytes);
    QVERIFY(!QFile::exists(path + ".part"));
}

void SheetFileTest::gb18030DecodesBack()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.csv");
    // Beyond GBK: a rare character of the supplementary planes, four bytes in GB18030.
    const QList<QStringList> rows = {{"读者姓名", "所在部门"}, {"王𠀀", "中文系"}};
    QVERIFY(writeSheet(path, Format::CsvGb18030, rows));
    const QByteArray bytes = readAll(path);
    QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString asUtf8 = utf8.decode(bytes);
    QVERIFY(utf8.hasError());  // really another encoding
    QStringDecoder gb("GB18030");
    const QString text = gb.decode(bytes);
    QVERIFY(!gb.hasError());
    QCOMPARE(text, "读者姓名,所在部门\r\n王𠀀,中文系\r\n");
}

void SheetFileTest::longListIsWrittenWhole()
{
    // Several chunks' worth: what is written in pieces equals the list written at once.
    QList<QStringList> rows;
    for (int i = 0; i < 40000; ++i)
        rows << QStringList{QString::number(i), QStringLiteral("书名 %1, \"卷\"").arg(i), "+1"};
    QBuffer device;
    device.open(QIODevice::WriteOnly);
    const std::unique_ptr<SheetFile> sheet = SheetFile::toDevice(device, Format::CsvUtf8);
    sheet->addRow({"a", "b", "c"});
    for (const QStringList &row : rows)
        sheet->addRow(row);
    QVERIFY(sheet->finish());
    QVERIFY(device.data().size() > (1 << 20));
    QCOMPARE(device.data(), Csv::write({"a", "b", "c"}, rows));
    QVERIFY(!SheetFile::toDevice(device, Format::Xlsx));
}

void SheetFileTest::xlsxCellsAreText()
{
    if (QStandardPaths::findExecutable("unzip").isEmpty())
        QSKIP("unzip is not installed (scripts/install-deps installs it)");
    QTemporaryDir dir;
    const QString path = dir.filePath("out.xlsx");
    QVERIFY(writeSheet(path, Format::Xlsx, kRows));
    QVERIFY(!QFile::exists(path + ".part"));
    const QString sheet = QString::fromUtf8(unzipped(path, "xl/worksheets/sheet1.xml"));
    QVERIFY(!sheet.isEmpty());
    // Each cell a text cell holding the text as it stands: zeros kept, no guard, no formula.
    const auto textCell = [](const QString &ref, const QString &text) {
        return QStringLiteral("<c r=\"%1\" s=\"2\" t=\"inlineStr\"><is><t>%2</t></is></c>")
            .arg(ref, text);
    };
    QVERIFY2(sheet.contains(textCell("A2", "00123")), qPrintable(sheet));
    QVERIFY(sheet.contains(textCell("B2", "红楼梦, 上")));
    QVERIFY(sheet.contains(textCell("C2", "=1+1")));
    QVERIFY(sheet.contains(textCell("C3", "-4")));
    QVERIFY(!sheet.contains("<f>"));
    QVERIFY(!sheet.contains("<v>"));
    QVERIFY(!sheet.contains("r=\"B3\""));  // an empty cell is left out
    QVERIFY(sheet.contains("<c r=\"A1\" s=\"1\" t=\"inlineStr\"><is><t>书籍编号</t>"));
}

void SheetFileTest::failedWriteLeavesTheOldFile_data()
{
    QTest::addColumn<int>("format");
    QTest::newRow("csv") << int(Format::CsvUtf8);
    QTest::newRow("xlsx") << int(Format::Xlsx);
}

void SheetFileTest::failedWriteLeavesTheOldFile()
{
    QFETCH(int, format);
    QTemporaryDir dir;
    // A read-only file stays as it was.
    const QString kept = dir.filePath("kept");
    {
        QFile file(kept);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("old");
    }
    QFile::setPermissions(kept, QFileDevice::ReadOwner);
    const std::unique_ptr<SheetFile> sheet = SheetFile::toFile(kept, Format(format));
    sheet->addRow({"x"});
    QVERIFY(!sheet->finish());
    QVERIFY(!sheet->error().isEmpty());
    QCOMPARE(readAll(kept), QByteArray("old"));
    QVERIFY(!QFile::exists(kept + ".part"));
    // A folder that does not exist gets nothing.
    const QString nowhere = dir.filePath("no/such/out");
    QVERIFY(!writeSheet(nowhere, Format(format), kRows));
    QVERIFY(!QFile::exists(nowhere));
}

void SheetFileTest::unfinishedSheetLeavesNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.xlsx");
    for (const Format format : {Format::CsvUtf8, Format::Xlsx}) {
        {
            const std::unique_ptr<SheetFile> sheet = SheetFile::toFile(path, format);
            sheet->addRow({"half"});
        }
        QVERIFY(!QFile::exists(path));
        QVERIFY(!QFile::exists(path + ".part"));
    }
}

LENDORA_TEST_CLASS(SheetFileTest)
#include "tst_sheetfile.moc"
