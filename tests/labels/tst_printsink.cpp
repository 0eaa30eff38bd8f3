#include "PdfText.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "app/QtPrintSink.h"
#include "base/DeskSettings.h"
#include "base/KeyValueFile.h"
#include "gui/widgets/Texts.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

using namespace lendora;
using lendora::testkit::ScriptedPrompter;

namespace {

Document note(const QString &text)
{
    Document document;
    document.title = QStringLiteral("note");
    document.addParagraph(text);
    return document;
}

}  // namespace

// The real print sink where no print system has the printer: the dialog takes over, and the
// clerk hears once which printer is missing.
class PrintSinkTest : public QObject {
    Q_OBJECT

private slots:
    void printerChosenPerPaper_data();
    void printerChosenPerPaper();
    void failedPrintSaid();
    // The dialog's "print to file" is drawn whole, then put in place under its name; a file
    // that cannot be written is named to the clerk and nothing is left behind.
    void printToFile_data();
    void printToFile();
};

void PrintSinkTest::printerChosenPerPaper_data()
{
    QTest::addColumn<int>("paper");
    QTest::addColumn<QStringList>("said");  // over two jobs
    const QString gone = QStringLiteral("找不到打印机 %1。\n请在接下来的打印对话框中选择打印机。");
    QTest::newRow("a receipt, its printer gone")
        << int(PrinterKind::Receipt) << QStringList{gone.arg("lendora-gone-roll")};
    QTest::newRow("a label, its printer gone")
        << int(PrinterKind::Label) << QStringList{gone.arg("lendora-gone-labels")};
    QTest::newRow("A4, none chosen: asked without a word")
        << int(PrinterKind::Page) << QStringList();
}

void PrintSinkTest::printerChosenPerPaper()
{
    QFETCH(int, paper);
    QFETCH(QStringList, said);
    QTemporaryDir dir;
    const QString settings = dir.filePath(DeskSettings::fileName());
    SetKeyValue(settings, QStringLiteral("ReceiptPrinter"), QStringLiteral("lendora-gone-roll"));
    SetKeyValue(settings, QStringLiteral("LabelPrinter"), QStringLiteral("lendora-gone-labels"));
    ScriptedPrompter prompter;
    int asked = 0;
    // The clerk picks a PDF file in the dialog the first time, and cancels it the second.
    const QString pdf = dir.filePath(QStringLiteral("picked.pdf"));
    QtPrintSink sink(
        prompter, [settings] { return DeskSettings(settings); },
        [&](QPrinter &printer) {
            if (++asked > 1)
                return false;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
    QVERIFY(sink.print(note(QStringLiteral("第一张")), PrinterKind(paper)));
    QVERIFY(!sink.print(note(QStringLiteral("第二张")), PrinterKind(paper)));
    QCOMPARE(asked, 2);
    QCOMPARE(prompter.texts(), said);
    if (!said.isEmpty())
        QCOMPARE(prompter.shown().first().prompt.title, hintTitle());
    QCOMPARE(testkit::pdfText(pdf), QStringLiteral("第一张"));
}

void PrintSinkTest::failedPrintSaid()
{
    QTemporaryDir dir;
    const QString settings = dir.filePath(DeskSettings::fileName());
    ScriptedPrompter prompter;
    // A printer that cannot take the page: a PDF in a folder that is not there.
    QtPrintSink sink(
        prompter, [settings] { return DeskSettings(settings); },
        [&](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(dir.filePath(QStringLiteral("no/such/folder/x.pdf")));
            return true;
        });
    QVERIFY(!sink.print(note(QStringLiteral("凭条")), PrinterKind::Receipt));
    QCOMPARE(prompter.texts().size(), 1);
    QVERIFY2(prompter.texts().first().startsWith(QStringLiteral("凭条没有打印出来:")),
             qPrintable(prompter.texts().first()));
}

void PrintSinkTest::printToFile_data()
{
    QTest::addColumn<QString>("name");       // under a fresh folder
    QTest::addColumn<QByteArray>("before");  // what the file held; empty: no file
    QTest::addColumn<bool>("written");
    QTest::newRow("a new file") << "day.pdf" << QByteArray() << true;
    QTest::newRow("over an old file") << "day.pdf" << QByteArray("old notes") << true;
    QTest::newRow("a folder that is not there") << "gone/day.pdf" << QByteArray() << false;
    QTest::newRow("a name that is a folder") << "folder" << QByteArray() << false;
}

void PrintSinkTest::printToFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, before);
    QFETCH(bool, written);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("folder"));
    const QString path = dir.filePath(name);
    if (!before.isEmpty()) {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(before);
    }
    const QStringList entriesBefore =
        QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);

    Document document;
    document.title = "今日汇总";
    document.addHeading("今日汇总").addParagraph("借出(含续借) 1 册,还书 0 册,罚款合计 0 元");
    ScriptedPrompter prompter;
    // The clerk picks "print to file" in the dialog.
    QtPrintSink sink(
        prompter, [&dir] { return DeskSettings::inFolder(dir.path()); },
        [&path](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            return true;
        });
    QCOMPARE(sink.print(document, PrinterKind::Page), written);

    // Nothing beside the file: no work file left over.
    QStringList entriesAfter = QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
    if (written) {
        QVERIFY(prompter.shown().isEmpty());
        QFile pdf(path);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF-"));
        QVERIFY(bytes.trimmed().endsWith("%%EOF"));
        entriesAfter.removeAll(name);
        QStringList expected = entriesBefore;
        expected.removeAll(name);
        QCOMPARE(entriesAfter, expected);
        return;
    }
    QCOMPARE(prompter.shown().size(), 1);
    const Prompt &said = prompter.shown().first().prompt;
    QVERIFY2(said.text.contains(QDir::toNativeSeparators(path)), qPrintable(said.text));
    QCOMPARE(said.title, hintTitle());
    QCOMPARE(said.icon, Icon::Error);
    QCOMPARE(entriesAfter, entriesBefore);
}

LENDORA_TEST_CLASS(PrintSinkTest)

#include "tst_printsink.moc"
