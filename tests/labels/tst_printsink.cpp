#include "PdfText.h"
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "app/QtPrintSink.h"
#include "base/KeyValueFile.h"
#include "gui/widgets/Texts.h"

#include <QDir>
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
    const QString settings = dir.filePath(settingsFileName());
    SetKeyValue(settings, QStringLiteral("ReceiptPrinter"), QStringLiteral("lendora-gone-roll"));
    SetKeyValue(settings, QStringLiteral("LabelPrinter"), QStringLiteral("lendora-gone-labels"));
    ScriptedPrompter prompter;
    int asked = 0;
    // The clerk picks a PDF file in the dialog the first time, and cancels it the second.
    const QString pdf = dir.filePath(QStringLiteral("picked.pdf"));
    QtPrintSink sink(
        prompter, [settings] { return settings; },
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
    const QString settings = dir.filePath(settingsFileName());
    ScriptedPrompter prompter;
    // A printer that cannot take the page: a PDF in a folder that is not there.
    QtPrintSink sink(
        prompter, [settings] { return settings; },
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

LENDORA_TEST_CLASS(PrintSinkTest)

#include "tst_printsink.moc"
