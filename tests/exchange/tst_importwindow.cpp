#include "TestApp.h"
#include "TestMain.h"
#include "base/SheetFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QStringEncoder>
#include <QTableView>
#include <QtTest>

using lendora::testkit::TestApp;

namespace {

QString writeFile(TestApp &t, const QString &name, const QByteArray &bytes)
{
    const QString path = t.appDir() + "/" + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QStringList rejectsShown(TestApp &t, const QString &window)
{
    QStringList lines;
    auto *list = t.control<QListWidget>(window, "lstRejects");
    for (int i = 0; list && i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

}  // namespace

class ImportWindowTest : public QObject {
    Q_OBJECT

private slots:
    void booksFromAFileOfTheOldDesk();
    void readersRefusedThenMappedAndImported();
    void importWithoutAFile();
    void booksFromAWorkbook();
};

// A GB18030 file with its own headings order: detected, previewed, one line refused until the
// clerk skips numbers held already.
void ImportWindowTest::booksFromAFileOfTheOldDesk()
{
    TestApp t;
    t.login();
    t.exec("insert into bookInfo (书籍编号, 书籍名称, 类别代码) values ('B0', '旧书', 'I')");
    QStringEncoder gb("GB18030");
    const QByteArray bytes = gb.encode(QString("书籍名称,书籍编号,类别代码,登记日期,是否借出\r\n"
                                               "红楼梦,B1,I,2026年12月8日,1\r\n"
                                               "旧书,B0,I,,0\r\n"
                                               "\"水浒, 传\",B2,K,2026/1/5,0\r\n"));
    t.files().answerOpen(writeFile(t, "books.csv", bytes));
    t.trigger("mnuImportBooks");
    const QString w = "FrmImportBooks";
    QVERIFY(t.window(w));
    t.click(w, "cmdChooseFile");
    QCOMPARE(t.control<QComboBox>(w, "cboEncoding")->currentText(), QString("GB18030"));
    QCOMPARE(t.control<QComboBox>(w, "cboColumn0")->currentText(), QString("书籍编号"));
    auto *preview = t.control<QTableView>(w, "dtgrdPreview");
    QCOMPARE(preview->model()->rowCount(), 3);
    QCOMPARE(preview->model()->index(2, 1).data().toString(), QString("水浒, 传"));
    QCOMPARE(rejectsShown(t, w), QStringList{"第 3 行 书籍编号: 数据库中已有编号“B0”"});

    t.click(w, "cmdImport");
    QCOMPARE(t.prompter().texts().last(),
             QString("没有导入任何数据。\n有 1 行不能导入,请改正后再导入:\n"
                     "第 3 行 书籍编号: 数据库中已有编号“B0”"));
    QCOMPARE(t.scalar("select count(*) from bookInfo").toInt(), 1);

    t.control<QCheckBox>(w, "chkSkipExisting")->setChecked(true);
    QVERIFY(rejectsShown(t, w).isEmpty());
    QCOMPARE(t.text(w, "lblSummary"), QString("共 3 行:可导入 2 行,跳过 1 行,不能导入 0 行"));
    t.click(w, "cmdImport");
    QCOMPARE(t.prompter().texts().last(),
             QString("导入完毕,共添加 2 本图书。\n另有 1 行的编号数据库中已有,已跳过。"));
    QCOMPARE(t.scalar("select 登记日期 || '/' || 是否借出 from bookInfo where 书籍编号='B1'"),
             QVariant("2026-12-08/0"));
    QCOMPARE(t.scalar("select 书籍名称 from bookInfo where 书籍编号='B0'"), QVariant("旧书"));

    // Read as UTF-8 on the clerk's word, the file is no text of that encoding.
    t.control<QComboBox>(w, "cboEncoding")->setCurrentIndex(0);
    QCOMPARE(rejectsShown(t, w).size(), 1);
    QVERIFY(rejectsShown(t, w).first().contains("编码无法识别"));
}

void ImportWindowTest::readersRefusedThenMappedAndImported()
{
    TestApp t;
    t.login();
    t.files().answerOpen(
        writeFile(t, "readers.csv", "编号,姓名,部门\r\n002,李雷,物理系\r\n0003,韩梅梅,化学系\r\n"));
    t.trigger("mnuImportReaders");
    const QString w = "FrmImportReaders";
    t.click(w, "cmdChooseFile");
    QCOMPARE(t.control<QComboBox>(w, "cboEncoding")->currentText(), QString("UTF-8"));
    QVERIFY(rejectsShown(t, w).first().contains("没有“读者编号”列"));

    // The clerk maps the columns by hand: number, name, department.
    t.control<QComboBox>(w, "cboColumn0")->setCurrentIndex(1);
    t.control<QComboBox>(w, "cboColumn1")->setCurrentIndex(2);
    t.control<QComboBox>(w, "cboColumn4")->setCurrentIndex(3);
    QCOMPARE(rejectsShown(t, w),
             QStringList{"第 3 行 读者编号: 长 4 字节,超过了 3 字节(一个汉字算两个字节)"});
    t.click(w, "cmdImport");
    QVERIFY(t.prompter().texts().last().startsWith("没有导入任何数据。"));
    QCOMPARE(t.scalar("select count(*) from readerInfo").toInt(), 0);

    t.files().answerOpen(
        writeFile(t, "readers2.csv", "编号,姓名,部门\r\n002,李雷,物理系\r\n003,韩梅梅,化学系\r\n"));
    t.click(w, "cmdChooseFile");
    // A new file is mapped by its headings again.
    t.control<QComboBox>(w, "cboColumn0")->setCurrentIndex(1);
    t.control<QComboBox>(w, "cboColumn1")->setCurrentIndex(2);
    t.control<QComboBox>(w, "cboColumn4")->setCurrentIndex(3);
    t.click(w, "cmdImport");
    QCOMPARE(t.prompter().texts().last(), QString("导入完毕,共添加 2 位读者。"));
    QCOMPARE(t.scalar("select 读者姓名 || 所在部门 from readerInfo where 读者编号='003'"),
             QVariant("韩梅梅化学系"));
}

void ImportWindowTest::importWithoutAFile()
{
    TestApp t;
    t.login();
    t.trigger("mnuImportBooks");
    t.files().answerOpen("");  // cancelled
    t.click("FrmImportBooks", "cmdChooseFile");
    t.click("FrmImportBooks", "cmdImport");
    QCOMPARE(t.prompter().texts(), QStringList{"请先选择要导入的文件。"});
}

// A workbook goes through the same mapping, checks and preview as a CSV file; it has no
// encoding to choose.
void ImportWindowTest::booksFromAWorkbook()
{
    TestApp t;
    t.login();
    const QString path = t.appDir() + "/books.xlsx";
    const auto sheet = lendora::SheetFile::toFile(path, lendora::SheetFile::Format::Xlsx);
    for (const QStringList &row : QList<QStringList>{{"书名", "书籍编号", "类别代码", "登记日期"},
                                                     {"红楼梦", "B1", "I", "2026-12-08"},
                                                     {"三国演义", "B2", "TP", ""}})
        sheet->addRow(row);
    QVERIFY(sheet->finish());
    t.exec("insert into bookType values ('TP', '自动化技术', 30)");
    t.files().answerOpen(path);
    t.trigger("mnuImportBooks");
    const QString w = "FrmImportBooks";
    t.click(w, "cmdChooseFile");
    QVERIFY(!t.control<QComboBox>(w, "cboEncoding")->isEnabled());
    QCOMPARE(t.control<QComboBox>(w, "cboColumn0")->currentText(), QString("书籍编号"));
    QCOMPARE(t.control<QComboBox>(w, "cboColumn1")->currentText(), QString("(不导入)"));
    auto *preview = t.control<QTableView>(w, "dtgrdPreview");
    QCOMPARE(preview->model()->rowCount(), 2);
    QCOMPARE(preview->model()->index(0, 7).data().toString(), QString("2026-12-08"));
    QCOMPARE(rejectsShown(t, w),
             QStringList{"第 3 行 类别代码: 类别代码“TP”不是一个字符,图书只能归入一个字符的类别"});

    // The clerk maps the title by hand and files the second book under K.
    t.control<QComboBox>(w, "cboColumn1")->setCurrentIndex(1);
    const auto fixed = lendora::SheetFile::toFile(path, lendora::SheetFile::Format::Xlsx);
    for (const QStringList &row : QList<QStringList>{{"书名", "书籍编号", "类别代码", "登记日期"},
                                                     {"红楼梦", "B1", "I", "2026-12-08"},
                                                     {"三国演义", "B2", "K", ""}})
        fixed->addRow(row);
    QVERIFY(fixed->finish());
    t.files().answerOpen(path);
    t.click(w, "cmdChooseFile");
    t.control<QComboBox>(w, "cboColumn1")->setCurrentIndex(1);
    QVERIFY(rejectsShown(t, w).isEmpty());
    t.click(w, "cmdImport");
    QCOMPARE(t.prompter().texts().last(), QString("导入完毕,共添加 2 本图书。"));
    QCOMPARE(t.scalar("select 书籍名称 || 类别代码 || 登记日期 from bookInfo where 书籍编号='B1'"),
             QVariant("红楼梦I2026-12-08"));

    // A CSV file chosen next has its encoding to choose again.
    t.files().answerOpen(writeFile(t, "books.csv", "书籍编号,类别代码\r\nB3,I\r\n"));
    t.click(w, "cmdChooseFile");
    QVERIFY(t.control<QComboBox>(w, "cboEncoding")->isEnabled());
}

LENDORA_TEST_CLASS(ImportWindowTest)
#include "tst_importwindow.moc"
