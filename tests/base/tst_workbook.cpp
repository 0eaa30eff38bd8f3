// The first sheet of an .xlsx workbook read as a clerk sees it in the spreadsheet: workbooks
// written by libxlsxwriter, and by hand as LibreOffice and Excel write theirs (custom date
// formats, the 1904 date system, shared strings with rich runs and escapes), zipped by libzip.
#include "TestMain.h"
#include "base/Workbook.h"

#include <QDate>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>
#include <xlsxwriter.h>
#include <zip.h>

using lendora::Csv;
using lendora::Workbook;

namespace {

using Parts = QMap<QString, QByteArray>;

const QByteArray kMain = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                         "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                         "relationships\"";
const QByteArray kRelType = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

// The parts zipped by libzip into a workbook's bytes.
QByteArray zipped(const Parts &parts)
{
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath("book.xlsx"));
    int error = 0;
    zip_t *archive = zip_open(path.constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        return {};
    for (auto part = parts.begin(); part != parts.end(); ++part) {
        zip_source_t *source =
            zip_source_buffer(archive, part.value().constData(), part.value().size(), 0);
        if (!source
            || zip_file_add(archive, part.key().toUtf8().constData(), source, ZIP_FL_ENC_UTF_8)
                   < 0) {
            zip_source_free(source);
            zip_discard(archive);
            return {};
        }
    }
    if (zip_close(archive) != 0) {
        zip_discard(archive);
        return {};
    }
    QFile file(QString::fromLocal8Bit(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A workbook as LibreOffice writes one: its data on the sheet listed first, which is not the
// first file; a custom date format "yyyy\-mm\-dd" (style 1), the built-in date 14 (style 2),
// "0.00" (style 3) and the built-in time 20 (style 4).
Parts libreOfficeBook(const QByteArray &sheetData, const QByteArray &workbookPr = {})
{
    Parts parts;
    parts["_rels/.rels"] = "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                           "relationships\"><Relationship Id=\"rId1\" Type=\""
                           + kRelType + "officeDocument\" Target=\"xl/workbook.xml\"/>"
                           + "</Relationships>";
    parts["xl/workbook.xml"] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><workbook " + kMain + ">"
                               + workbookPr
                               + "<sheets><sheet name=\"图书\" sheetId=\"2\" r:id=\"rId3\"/>"
                                 "<sheet name=\"旧表\" sheetId=\"1\" r:id=\"rId2\"/></sheets>"
                                 "</workbook>";
    parts["xl/_rels/workbook.xml.rels"] =
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\""
        + kRelType + "styles\" Target=\"styles.xml\"/><Relationship Id=\"rId2\" Type=\"" + kRelType
        + "worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId3\" Type=\""
        + kRelType
        + "worksheet\" Target=\"worksheets/sheet2.xml\"/><Relationship Id=\"rId4\" Type=\""
        + kRelType + "sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>";
    parts["xl/styles.xml"] = "<styleSheet " + kMain
                             + "><numFmts count=\"2\"><numFmt numFmtId=\"164\" "
                               "formatCode=\"yyyy\\-mm\\-dd\"/><numFmt numFmtId=\"165\" "
                               "formatCode=\"0.00\"/></numFmts><cellStyleXfs count=\"1\">"
                               "<xf numFmtId=\"14\"/></cellStyleXfs><cellXfs count=\"5\">"
                               "<xf numFmtId=\"0\"/><xf numFmtId=\"164\"/><xf numFmtId=\"14\"/>"
                               "<xf numFmtId=\"165\"/><xf numFmtId=\"20\"/></cellXfs></styleSheet>";
    parts["xl/sharedStrings.xml"] =
        "<sst " + kMain
        + " count=\"6\" uniqueCount=\"6\"><si><t>书籍编号</t></si><si><t> 书籍名称 </t></si>"
          "<si><t>登记日期</t></si><si><t>书籍价格</t></si>"
          "<si><r><t>红楼</t></r><r><rPr><b/></rPr><t>梦</t></r>"
          "<rPh sb=\"0\" eb=\"1\"><t>hong</t></rPh></si>"
          "<si><t xml:space=\"preserve\">a_x000D__x000A_b _x005F_x0041_</t></si></sst>";
    parts["xl/worksheets/sheet1.xml"] = "<worksheet " + kMain
                                        + "><sheetData><row r=\"1\"><c r=\"A1\" t=\"inlineStr\">"
                                          "<is><t>旧表</t></is></c></row></sheetData></worksheet>";
    parts["xl/worksheets/sheet2.xml"] =
        "<worksheet " + kMain + "><sheetData>" + sheetData + "</sheetData></worksheet>";
    return parts;
}

const QByteArray kHeaderRow = "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c>"
                              "<c r=\"B1\" t=\"s\"><v>1</v></c><c r=\"C1\" t=\"s\"><v>2</v></c>"
                              "<c r=\"D1\" t=\"s\"><v>3</v></c></row>";

// Each row as its number, ":", then its cells joined by "|".
QStringList rowsOf(const Csv::Table &table)
{
    QStringList rows;
    for (const Csv::Row &row : table.rows)
        rows << QString::number(row.line) + ":" + row.cells.join('|');
    return rows;
}

}  // namespace

class WorkbookTest : public QObject {
    Q_OBJECT

private slots:
    void dateFormats_data();
    void dateFormats();
    void serials_data();
    void serials();
    void numbers_data();
    void numbers();
    void escapes_data();
    void escapes();
    void sheetAsTheSpreadsheetShowsIt_data();
    void sheetAsTheSpreadsheetShowsIt();
    void damagedWorkbooks_data();
    void damagedWorkbooks();
    void writtenByLibxlsxwriter();
};

void WorkbookTest::dateFormats_data()
{
    QTest::addColumn<int>("builtIn");  // -1: the code decides
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("date");
    QTest::newRow("14 m/d/yyyy") << 14 << "" << true;
    QTest::newRow("22 date and time") << 22 << "" << true;
    QTest::newRow("31 Chinese year month day") << 31 << "" << true;
    QTest::newRow("57 Chinese year month") << 57 << "" << true;
    QTest::newRow("0 General") << 0 << "" << false;
    QTest::newRow("20 h:mm") << 20 << "" << false;
    QTest::newRow("49 text") << 49 << "" << false;
    QTest::newRow("LibreOffice ISO") << -1 << "yyyy\\-mm\\-dd" << true;
    QTest::newRow("Chinese") << -1 << "yyyy\"年\"m\"月\"d\"日\";@" << true;
    QTest::newRow("with a locale") << -1 << "[$-804]yyyy/m/d" << true;
    QTest::newRow("month and year") << -1 << "mmm-yy" << true;
    QTest::newRow("date and time") << -1 << "yyyy-mm-dd hh:mm:ss" << true;
    QTest::newRow("minutes and seconds") << -1 << "mm:ss" << false;
    QTest::newRow("time with AM/PM") << -1 << "h:mm AM/PM" << false;
    QTest::newRow("money in quotes") << -1 << "#,##0.00\"元 days\"" << false;
    QTest::newRow("escaped letters") << -1 << "0\\d\\a\\y" << false;
    QTest::newRow("red negatives") << -1 << "0.00_);[Red](0.00)" << false;
    QTest::newRow("general") << -1 << "General" << false;
}

void WorkbookTest::dateFormats()
{
    QFETCH(int, builtIn);
    QFETCH(QString, code);
    QFETCH(bool, date);
    QCOMPARE(Workbook::isDateFormat(builtIn, code), date);
}

void WorkbookTest::serials_data()
{
    QTest::addColumn<double>("serial");
    QTest::addColumn<bool>("system1904");
    QTest::addColumn<QDate>("day");
    QTest::newRow("1900: 2026-12-08") << 46364.0 << false << QDate(2026, 12, 8);
    QTest::newRow("1900: a time of day is dropped") << 45000.75 << false << QDate(2023, 3, 15);
    QTest::newRow("1900: the first day") << 1.0 << false << QDate(1900, 1, 1);
    QTest::newRow("1900: before the day that never was") << 59.0 << false << QDate(1900, 2, 28);
    QTest::newRow("1900: 29 February 1900 never was") << 60.0 << false << QDate();
    QTest::newRow("1900: after it") << 61.0 << false << QDate(1900, 3, 1);
    QTest::newRow("1900: zero") << 0.0 << false << QDate();
    QTest::newRow("1904: zero is its first day") << 0.0 << true << QDate(1904, 1, 1);
    QTest::newRow("1904: the same serial, four years on") << 46364.0 << true << QDate(2030, 12, 9);
    QTest::newRow("negative") << -1.0 << false << QDate();
    QTest::newRow("past 9999") << 3e6 << false << QDate();
}

void WorkbookTest::serials()
{
    QFETCH(double, serial);
    QFETCH(bool, system1904);
    QFETCH(QDate, day);
    QCOMPARE(Workbook::dateOf(serial, system1904), day);
}

void WorkbookTest::numbers_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("whole") << 123.0 << "123";
    QTest::newRow("half") << 12.5 << "12.5";
    QTest::newRow("price") << 59.7 << "59.7";
    QTest::newRow("float noise") << 0.1 + 0.2 << "0.3";
    QTest::newRow("phone") << 13800000000.0 << "13800000000";
    QTest::newRow("negative") << -4.0 << "-4";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("large") << 1e20 << "1E+20";
    QTest::newRow("small") << 1.5e-7 << "1.5E-07";
}

void WorkbookTest::numbers()
{
    QFETCH(double, value);
    QFETCH(QString, shown);
    QCOMPARE(Workbook::numberText(value), shown);
}

void WorkbookTest::escapes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("unescaped");
    QTest::newRow("none") << "红楼梦"
                          << "红楼梦";
    QTest::newRow("carriage return") << "a_x000D_b"
                                     << "a\rb";
    QTest::newRow("lower-case hex") << "_x001f_"
                                    << "\x1f";
    QTest::newRow("an escaped underscore") << "_x005F_x000D_"
                                           << "_x000D_";
    QTest::newRow("not hex") << "_xZZZZ_"
                             << "_xZZZZ_";
    QTest::newRow("too short") << "_x00D_"
                               << "_x00D_";
    QTest::newRow("at the end") << "ab_x0041"
                                << "ab_x0041";
}

void WorkbookTest::escapes()
{
    QFETCH(QString, text);
    QFETCH(QString, unescaped);
    QCOMPARE(Workbook::unescape(text), unescaped);
}

void WorkbookTest::sheetAsTheSpreadsheetShowsIt_data()
{
    QTest::addColumn<QByteArray>("workbookPr");
    QTest::addColumn<QByteArray>("rows");  // after the header row
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("strings, numbers and dates")
        << QByteArray()
        << QByteArray("<row r=\"2\"><c r=\"A2\"><v>123</v></c><c r=\"B2\" t=\"s\"><v>4</v></c>"
                      "<c r=\"C2\" s=\"1\"><v>46364</v></c><c r=\"D2\" s=\"3\"><v>12.5</v></c>"
                      "</row>"
                      "<row r=\"4\"><c r=\"A4\" t=\"inlineStr\"><is><r><t>B</t></r><r><t>4</t>"
                      "</r></is></c><c r=\"B4\" t=\"s\"><v>5</v></c><c r=\"C4\" s=\"2\">"
                      "<v>45000.75</v></c><c r=\"D4\"><v>0.30000000000000004</v></c></row>")
        << QStringList{"2:123|红楼梦|2026-12-08|12.5", "4:B4|a\r\nb _x0041_|2023-03-15|0.3"};
    QTest::newRow("cells without references, formulas, booleans, times, errors")
        << QByteArray()
        << QByteArray("<row><c t=\"str\"><f>\"B\"&amp;5</f><v>B5</v></c><c t=\"b\"><v>1</v></c>"
                      "<c s=\"4\"><v>0.5</v></c><c t=\"e\"><v>#N/A</v></c></row>")
        << QStringList{"2:B5|TRUE|0.5|#N/A"};
    QTest::newRow("empty rows and cells are no content")
        << QByteArray()
        << QByteArray("<row r=\"2\"><c r=\"A2\" s=\"1\"/><c r=\"B2\" t=\"inlineStr\"><is><t>"
                      "</t></is></c></row><row r=\"3\"/><row r=\"5\"><c r=\"C5\"><v>7</v></c>"
                      "</row>")
        << QStringList{"5:||7"};
    QTest::newRow("past the header one cell is kept")
        << QByteArray()
        << QByteArray("<row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is><t>B7</t></is></c>"
                      "<c r=\"F2\"><v>1</v></c><c r=\"XFD2\"><v>2</v></c></row>")
        << QStringList{"2:B7||||2"};
    QTest::newRow("the 1904 date system")
        << QByteArray("<workbookPr date1904=\"1\"/>")
        << QByteArray("<row r=\"2\"><c r=\"C2\" s=\"1\"><v>46364</v></c></row>"
                      "<row r=\"3\"><c r=\"C3\" s=\"2\"><v>0</v></c></row>")
        << QStringList{"2:||2030-12-09", "3:||1904-01-01"};
    QTest::newRow("a serial that is no day stays a number")
        << QByteArray() << QByteArray("<row r=\"2\"><c r=\"C2\" s=\"1\"><v>60</v></c></row>")
        << QStringList{"2:||60"};
}

void WorkbookTest::sheetAsTheSpreadsheetShowsIt()
{
    QFETCH(QByteArray, workbookPr);
    QFETCH(QByteArray, rows);
    QFETCH(QStringList, expected);
    const QByteArray bytes = zipped(libreOfficeBook(kHeaderRow + rows, workbookPr));
    QVERIFY(Workbook::looksLikeOne(bytes));
    const Csv::Table table = Workbook::firstSheet(bytes);
    QVERIFY(table.ok());
    QVERIFY(table.workbook);
    QCOMPARE(table.header, QStringList({"书籍编号", "书籍名称", "登记日期", "书籍价格"}));
    QCOMPARE(rowsOf(table), expected);
}

void WorkbookTest::damagedWorkbooks_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("problem");
    const int bad = int(Csv::Problem::BadWorkbook);
    const QByteArray good = zipped(libreOfficeBook(kHeaderRow));
    QTest::newRow("cut in half") << good.left(good.size() / 2) << bad;
    QTest::newRow("no zip at all") << QByteArray("PK\x03\x04 not really") << bad;
    Parts noBook = libreOfficeBook(kHeaderRow);
    noBook.remove("xl/workbook.xml");
    QTest::newRow("a zip without a workbook") << zipped(noBook) << bad;
    QTest::newRow("broken sheet XML")
        << zipped(libreOfficeBook(kHeaderRow + "<row r=\"2\"><c><v>1</c>")) << bad;
    QTest::newRow("a shared string that is not there")
        << zipped(libreOfficeBook(kHeaderRow + "<row r=\"2\"><c t=\"s\"><v>99</v></c></row>"))
        << bad;
    QTest::newRow("rows out of order")
        << zipped(libreOfficeBook(kHeaderRow + "<row r=\"1\"><c><v>1</v></c></row>")) << bad;
    QTest::newRow("a cell reference past the last column")
        << zipped(libreOfficeBook(kHeaderRow + "<row r=\"2\"><c r=\"XFE2\"><v>1</v></c></row>"))
        << bad;
    QTest::newRow("an empty sheet") << zipped(libreOfficeBook({})) << int(Csv::Problem::Empty);
}

void WorkbookTest::damagedWorkbooks()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, problem);
    QVERIFY(!bytes.isEmpty());
    const Csv::Table table = Workbook::firstSheet(bytes);
    QCOMPARE(int(table.problem), problem);
    QVERIFY(table.workbook);
}

// Numbers and dates as a spreadsheet program stores them, written by libxlsxwriter: a date
// cell carries a built-in or a custom date format; a number cell shows as typed.
void WorkbookTest::writtenByLibxlsxwriter()
{
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath("book.xlsx"));
    lxw_workbook *book = workbook_new(path.constData());
    QVERIFY(book);
    lxw_worksheet *sheet = workbook_add_worksheet(book, "图书");
    workbook_add_worksheet(book, "另一页");
    lxw_format *iso = workbook_add_format(book);
    format_set_num_format(iso, "yyyy\\-mm\\-dd");
    lxw_format *builtIn = workbook_add_format(book);
    format_set_num_format_index(builtIn, 14);
    lxw_format *money = workbook_add_format(book);
    format_set_num_format(money, "0.00");
    const char *headings[] = {"书籍编号", "书籍名称", "登记日期", "书籍价格"};
    for (int c = 0; c < 4; ++c)
        worksheet_write_string(sheet, 0, lxw_col_t(c), headings[c], nullptr);
    lxw_datetime day = {2026, 12, 8, 0, 0, 0};
    worksheet_write_number(sheet, 1, 0, 123, nullptr);
    // Written as it stands, "_x0041_" is an escape to every reader of workbooks: "A".
    worksheet_write_string(sheet, 1, 1, "_x0041_ 红楼梦\r\n", nullptr);
    worksheet_write_datetime(sheet, 1, 2, &day, iso);
    worksheet_write_number(sheet, 1, 3, 59.7, money);
    day = {2024, 2, 29, 13, 30, 0};
    worksheet_write_string(sheet, 3, 0, "B3", nullptr);
    worksheet_write_datetime(sheet, 3, 2, &day, builtIn);
    worksheet_write_formula_num(sheet, 3, 3, "=1/4", nullptr, 0.25);
    QCOMPARE(workbook_close(book), LXW_NO_ERROR);

    QFile file(QString::fromLocal8Bit(path));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const Csv::Table table = Workbook::firstSheet(file.readAll());
    QVERIFY(table.ok());
    QCOMPARE(table.header, QStringList({"书籍编号", "书籍名称", "登记日期", "书籍价格"}));
    QCOMPARE(rowsOf(table),
             QStringList({"2:123|A 红楼梦\r\n|2026-12-08|59.7", "4:B3||2024-02-29|0.25"}));
}

LENDORA_TEST_CLASS(WorkbookTest)
#include "tst_workbook.moc"
